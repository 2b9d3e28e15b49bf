#include "report/ReportTable.h"

#include <vector>

#include "dsp/ChannelFilters.h"
#include "model/Choices.h"
#include "model/LockState.h"
#include "model/NameField.h"
#include "model/ParameterCatalog.h"
#include "model/ParameterImage.h"
#include "model/Scales.h"
#include "model/ValueScales.h"

namespace orvane {

namespace {

enum class Kind {
  Name,
  Value,  // the entry's value on its scale or in its list
  Mix,
  HighPassFamily,
  HighPassFrequency,
  HighPassSlope,
  LowPassFamily,
  LowPassFrequency,
  LowPassSlope,
  EqType,
  EqGain,
  EqFrequency,
  EqWidth,
};

// A row: its name, what it shows, and the catalog entry it shows on each
// side (none where the side leaves the cell empty); the entry's lock hides
// the value.
struct RowRule {
  BiText name;
  Kind kind;
  std::string_view inputPath;
  std::string_view outputPath;
  int group;
};

constexpr std::array<RowRule, 9> kChannelRows{{
    {{"Name", "通道名"}, Kind::Name, "<ch>.name", "<ch>.name", 0},
    {{"Mute", "静音"}, Kind::Value, "<ch>.mute", "<ch>.mute", 0},
    {{"Gain", "增益"}, Kind::Value, "<ch>.gain", "<ch>.gain", 0},
    {{"NoiseGate", "噪声门"}, Kind::Value, "<ch>.gate", {}, 0},
    {{"Polarity", "相位"}, Kind::Value, "<ch>.polarity", "<ch>.polarity", 0},
    {{"Delay", "延时"}, Kind::Value, "<ch>.delay", "<ch>.delay", 0},
    {{"Allvolume", "总静音"}, Kind::Value, "master.in.level", "master.out.level", 0},
    {{"All_Feedback", "总防啸叫"}, Kind::Value, "master.antifeedback", {}, 0},
    {{"Feedback", "防啸叫"}, Kind::Value, "<ch>.feedback", {}, 0},
}};
constexpr int kFirstMixRow = 9;
constexpr int kFirstEqRow = 35;
constexpr std::array<RowRule, 18> kProcessingRows{{
    {{"Threshold", "自动增益 阈值"}, Kind::Value, "<ch>.agc.threshold", {}, 2},
    {{"AGC_Target Level", "自动增益 目标电平"}, Kind::Value, "<ch>.agc.target", {}, 2},
    {{"AGC_Response time", "自动增益 相应时间"}, Kind::Value, "<ch>.agc.response", {}, 2},
    {{"AGC_Release time", "自动增益 释放时间"}, Kind::Value, "<ch>.agc.release", {}, 2},
    {{"AGC_Ratio", "自动增益 比率"}, Kind::Value, "<ch>.agc.ratio", {}, 2},
    {{"Comp_Level", "压缩 电平"}, Kind::Value, "<ch>.comp.level", "<ch>.comp.level", 3},
    {{"Comp_A", "压缩 相应时间"}, Kind::Value, "<ch>.comp.attack", "<ch>.comp.attack", 3},
    {{"Comp_R", "压缩 释放时间"}, Kind::Value, "<ch>.comp.release", "<ch>.comp.release", 3},
    {{"Comp_ratio", "压缩比"}, Kind::Value, "<ch>.comp.ratio", "<ch>.comp.ratio", 3},
    {{"Threshold", "压限电平"}, Kind::Value, {}, "<ch>.lim.threshold", 3},
    {{"Attack", "相应时间"}, Kind::Value, {}, "<ch>.lim.attack", 3},
    {{"Release", "释放时间"}, Kind::Value, {}, "<ch>.lim.release", 3},
    {{"XMode_Lo", "高通类型"}, Kind::HighPassFamily, {}, "<ch>.xover.lo.family", 4},
    {{"XFQCY_Lo", "高通频率"}, Kind::HighPassFrequency, "<ch>.xover.lo.freq", "<ch>.xover.lo.freq", 4},
    {{"XSLope_Lo", "高通斜率"}, Kind::HighPassSlope, "<ch>.xover.lo.slope", "<ch>.xover.lo.slope", 4},
    {{"XMode_Hi", "低通类型"}, Kind::LowPassFamily, {}, "<ch>.xover.hi.family", 4},
    {{"XFQCY_Hi", "低通频率"}, Kind::LowPassFrequency, "<ch>.xover.hi.freq", "<ch>.xover.hi.freq", 4},
    {{"XSLope_Hi", "低通斜率"}, Kind::LowPassSlope, "<ch>.xover.hi.slope", "<ch>.xover.hi.slope", 4},
}};
constexpr std::array<Kind, 4> kEqKinds{Kind::EqType, Kind::EqGain, Kind::EqFrequency, Kind::EqWidth};
constexpr std::array<std::string_view, 4> kEqPaths{"<ch>.eq.<band>.type", "<ch>.eq.<band>.gain",
                                                   "<ch>.eq.<band>.freq", "<ch>.eq.<band>.bw"};
constexpr std::array<BiText, 4> kEqSuffixes{
    {{" Type", " 类型"}, {" Gain", " 增益"}, {" FQCY", " 频率"}, {" Q", " 斜率"}}};

constexpr BiText kLock{"Lock", "锁定"};

std::string text(const BiText& t) {
  return std::string(t.current());
}

// The row's description; EQ and matrix rows are made up from their number.
RowRule ruleOf(int row) {
  if (row < kFirstMixRow) return kChannelRows.at(static_cast<std::size_t>(row));
  if (row < kFirstMixRow + kChannels) return {{}, Kind::Mix, "matrix.<A-H>.<1-8>", {}, 1};
  if (row < kFirstEqRow) return kProcessingRows.at(static_cast<std::size_t>(row - kFirstMixRow - kChannels));
  const int band = (row - kFirstEqRow) / 4;
  const auto kind = static_cast<std::size_t>((row - kFirstEqRow) % 4);
  // The inputs have no ninth band: its cells stay empty, locked or not.
  const std::string_view inputPath = band < bandCount(Side::Input) ? kEqPaths.at(kind) : std::string_view();
  return {{}, kEqKinds.at(kind), inputPath, kEqPaths.at(kind), 5 + band};
}

std::string rowName(int row) {
  if (row >= kFirstMixRow && row < kFirstMixRow + kChannels) {
    const std::string n = std::to_string(row - kFirstMixRow + 1);
    return Language::isEnglish() ? "Out" + n + "_MG" : "Out" + n + "_分频";
  }
  if (row >= kFirstEqRow) {
    const int band = (row - kFirstEqRow) / 4 + 1;
    const std::string title = Language::isEnglish() ? "EQ" : "均衡";
    return title + std::to_string(band) +
           text(kEqSuffixes.at(static_cast<std::size_t>((row - kFirstEqRow) % 4)));
  }
  return text(ruleOf(row).name);
}

// What one channel's column needs to fill its cells.
class ChannelValues {
 public:
  ChannelValues(const ParameterImage& image, ChannelFilters& filters, Side side, int channel)
      : image_(image), set_(filters.channel(side, channel)), side_(side), channel_(channel) {}

  std::string cell(Kind kind, const CatalogEntry& entry, int row) const;

 private:
  int field(Field f) const { return image_.field(side_, channel_, f); }
  std::string value(const CatalogEntry& entry) const;
  std::string eqCell(Kind kind, int row) const;

  const ParameterImage& image_;
  CKTVEQ& set_;
  Side side_;
  int channel_;
};

std::string ChannelValues::cell(Kind kind, const CatalogEntry& entry, int row) const {
  switch (kind) {
    case Kind::Name:
      return image_.read([&](const ImageData& d) {
        return NameField::FieldToText(d.edited.block(side_, channel_), kNameBytes);
      });
    case Kind::Value:
      return value(entry);
    case Kind::Mix: {
      const int code = field(InputField::mix(row - kFirstMixRow));
      return code == 0 ? std::string(Choices::kSwitch.reportedText(0))
                       : ValueScales::LevelText(Scales::kMixLevel, code);
    }
    case Kind::HighPassFamily:
      return set_.highPass().FamilyText();
    case Kind::HighPassFrequency:
      return set_.highPass().FrequencyText();
    case Kind::HighPassSlope:
      return set_.highPass().CrossoverSlopeText();
    case Kind::LowPassFamily:
      return set_.lowPass().FamilyText();
    case Kind::LowPassFrequency:
      return set_.lowPass().FrequencyText();
    case Kind::LowPassSlope:
      return set_.lowPass().CrossoverSlopeText();
    default:
      return eqCell(kind, row);
  }
}

// A switch's code other than 0 reads as on, as the device takes it; a
// level list shows nothing for a code it does not hold.
std::string ChannelValues::value(const CatalogEntry& entry) const {
  const int code = field(entry.field(side_, 0));
  const ParameterValue& value = entry.value;
  if (value.scale != nullptr) return ValueScales::LevelText(*value.scale, code);
  const bool onOff = value.choices->find(1) != nullptr;
  return std::string(value.choices->reportedText(onOff && code != 0 ? 1 : code));
}

// A band the channel does not have (band 9 of an input) stays empty.
std::string ChannelValues::eqCell(Kind kind, int row) const {
  const int band = (row - kFirstEqRow) / 4;
  if (band >= set_.bandCount()) return {};
  const CFilter& element = set_.element(band);
  switch (kind) {
    case Kind::EqType:
      return element.KindText();
    case Kind::EqGain:
      return element.GainText();
    case Kind::EqFrequency:
      return element.FrequencyText();
    default:
      return element.kind() == FilterKind::Peaking ? element.BandwidthText() : element.ShelfSlopeText();
  }
}

}  // namespace

const CatalogEntry* ReportTable::entryOf(int row, Side side) {
  const RowRule rule = ruleOf(row);
  const std::string_view path = side == Side::Input ? rule.inputPath : rule.outputPath;
  return path.empty() ? nullptr : ParameterCatalog::entry(path, side);
}

ReportTable ReportTable::build(const ParameterImage& image, ChannelFilters& filters) {
  ReportTable table;
  const LockState locks = image.read([](const ImageData& d) { return d.locks; });
  for (int row = 0; row < kRows; ++row) table.cells_[static_cast<std::size_t>(row)][0] = rowName(row);
  for (int column = 1; column < kColumns; ++column) {
    const Side side = column <= kChannels ? Side::Input : Side::Output;
    const ChannelValues values(image, filters, side, (column - 1) % kChannels);
    for (int row = 0; row < kRows; ++row) {
      const RowRule rule = ruleOf(row);
      const CatalogEntry* entry = entryOf(row, side);
      if (entry == nullptr) continue;
      std::string& cell = table.cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
      cell = locks.isLocked(entry->lock(side)) ? text(kLock) : values.cell(rule.kind, *entry, row);
    }
  }
  return table;
}

std::string_view ReportTable::caption(int column) {
  static const std::array<std::string, kColumns> captions = [] {
    std::array<std::string, kColumns> c{};
    c[0] = "Type";
    for (int n = 0; n < kChannels; ++n) {
      c[static_cast<std::size_t>(1 + n)] = std::string("CH_") + static_cast<char>('A' + n);
      c[static_cast<std::size_t>(1 + kChannels + n)] = "CH_" + std::to_string(n + 1);
    }
    return c;
  }();
  return captions.at(static_cast<std::size_t>(column));
}

const std::string& ReportTable::cell(int row, int column) const {
  return cells_.at(static_cast<std::size_t>(row)).at(static_cast<std::size_t>(column));
}

int ReportTable::group(int row) {
  return ruleOf(row).group;
}

}  // namespace orvane
