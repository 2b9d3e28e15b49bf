#include "control/ParameterPath.h"

#include <algorithm>
#include <optional>

#include "control/PathValue.h"
#include "dsp/CFilter.h"
#include "link/LinkGroups.h"
#include "link/MasterSection.h"
#include "model/CrossLimits.h"
#include "model/Crosspoints.h"
#include "model/NameField.h"
#include "model/StartupProgram.h"
#include "model/ValueScales.h"
#include "platform/ParseNumber.h"

namespace orvane::control {

namespace {

constexpr std::size_t kHelpColumn = 46;
// What a channel is called before its letter or number in a label.
constexpr BiText kChannelWord[2]{{"Input ", "输入"}, {"Output ", "输出"}};

std::vector<std::string_view> split(std::string_view text) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  for (std::size_t dot = text.find('.'); dot != std::string_view::npos; dot = text.find('.', start)) {
    parts.push_back(text.substr(start, dot - start));
    start = dot + 1;
  }
  parts.push_back(text.substr(start));
  return parts;
}

// A placeholder token of a pattern: "<A-H>" (inputs) or "<1-8>".
struct Placeholder {
  char first;
  char last;

  bool letters() const { return first == 'A'; }
  int count() const { return last - first + 1; }
  std::string token(int value) const {
    return letters() ? std::string(1, static_cast<char>(first + value)) : std::to_string(value + 1);
  }
  std::optional<int> read(std::string_view token) const {
    if (!letters()) {
      const std::optional<int> number = parseNumber(token, 1, count());
      return number ? std::optional<int>(*number - 1) : std::nullopt;
    }
    if (token.size() != 1) return std::nullopt;
    const char letter =
        token[0] >= 'a' && token[0] <= 'z' ? static_cast<char>(token[0] - 'a' + 'A') : token[0];
    if (letter < first || letter > last) return std::nullopt;
    return letter - first;
  }
};

std::optional<Placeholder> placeholderOf(std::string_view token) {
  if (token.size() != 5 || token[0] != '<' || token[2] != '-' || token[4] != '>') return std::nullopt;
  return Placeholder{token[1], token[3]};
}

// What a placeholder stands for, to name it in a message.
std::string_view placeholderNoun(const std::vector<std::string_view>& pattern, std::size_t at) {
  const std::string_view before = at > 0 ? pattern[at - 1] : std::string_view();
  if (before == "in" || before == "out") return "channel";
  if (before == "eq") return "band";
  if (placeholderOf(before)) return "output";
  return placeholderOf(pattern[at])->letters() ? "input" : "output";
}

// Channel stores of one side, crosspoints, master section, set-up block
// and start-up program each change only values of their own scope.
int scopeOf(Store store) {
  switch (store) {
    case Store::Channel:
    case Store::Name:
    case Store::Group:
      return 0;
    case Store::Matrix:
      return 1;
    case Store::MasterLevel:
    case Store::MasterMute:
    case Store::AntiFeedback:
      return 2;
    case Store::Setup:
      return 3;
    case Store::Startup:
      return 4;
  }
  return 0;
}

// A shelf keeps its frequency on its side of the boundary.
int shelfFrequency(int kind, int hz) {
  if (kind == static_cast<int>(FilterKind::LowShelf)) return std::min(hz, CFilter::kShelfBoundaryHz);
  if (kind == static_cast<int>(FilterKind::HighShelf)) return std::max(hz, CFilter::kShelfBoundaryHz);
  return hz;
}

const std::vector<ParameterPath>& everyPath() {
  static const std::vector<ParameterPath> paths = ParameterPath::all();
  return paths;
}

// Runs `use` with the code `value` stands for, or returns the message.
template <class Use>
std::string withCode(const ParameterValue& form, std::string_view value, int current, Use&& use) {
  const std::variant<int, std::string> read = readValue(form, value, current);
  if (const auto* message = std::get_if<std::string>(&read)) return *message;
  use(std::get<int>(read));
  return {};
}

}  // namespace

ParameterPath::ParameterPath(const CatalogFamily& family, int channel, int index)
    : family_(&family), side_(family.side), channel_(channel), index_(index) {
  const std::vector<std::string_view> tokens = split(family.pattern);
  int values[2] = {channel, index};
  int used = 0;
  for (std::string_view token : tokens) {
    if (!name_.empty()) name_ += '.';
    const std::optional<Placeholder> placeholder = placeholderOf(token);
    name_ += placeholder ? placeholder->token(values[used++]) : std::string(token);
  }
}

std::variant<ParameterPath, std::string> ParameterPath::parse(std::string_view text) {
  const std::vector<std::string_view> parts = split(text);
  if (text.empty()) return std::string("empty parameter path");
  std::size_t bestMatched = 0;
  const CatalogFamily* best = nullptr;
  for (const CatalogFamily& family : ParameterCatalog::families()) {
    const std::vector<std::string_view> tokens = split(family.pattern);
    int values[2] = {0, 0};
    int used = 0;
    std::size_t matched = 0;
    for (; matched < tokens.size() && matched < parts.size(); ++matched) {
      const std::optional<Placeholder> placeholder = placeholderOf(tokens[matched]);
      if (!placeholder) {
        if (!sameWord(tokens[matched], parts[matched])) break;
        continue;
      }
      const std::optional<int> value = placeholder->read(parts[matched]);
      if (!value) break;
      values[used++] = *value;
    }
    if (matched == tokens.size() && matched == parts.size())
      return ParameterPath(family, values[0], values[1]);
    if (!best || matched > bestMatched) {
      best = &family;
      bestMatched = matched;
    }
  }
  if (bestMatched >= parts.size()) return "incomplete parameter path " + quoted(text);
  const std::vector<std::string_view> tokens = split(best->pattern);
  const std::string_view noun = bestMatched < tokens.size() && placeholderOf(tokens[bestMatched])
                                    ? placeholderNoun(tokens, bestMatched)
                                    : "parameter";
  return "unknown " + std::string(noun) + " " + quoted(parts[bestMatched]) + " in " + quoted(text);
}

Delivery ParameterPath::delivery() const {
  switch (family_->entry->store) {
    case Store::Setup:
      return Delivery::SetupBlock;
    case Store::Startup:
      return Delivery::StartupProgram;
    default:
      return Delivery::Rows;
  }
}

int ParameterPath::lock() const {
  return family_->entry->lock(side_);
}

int ParameterPath::code(const ParameterImage& image) const {
  const CatalogEntry& row = *family_->entry;
  switch (row.store) {
    case Store::Channel:
      return image.field(side_, channel_, row.field(side_, index_));
    case Store::Group:
      return image.field(side_, channel_, CommonField::LinkGroup) - LinkGroups::firstGroupByte(side_);
    case Store::Matrix:
      return image.field(Side::Input, channel_, InputField::mix(index_));
    case Store::MasterLevel:
      return MasterSection::levelOf(image, side_);
    case Store::MasterMute:
      return MasterSection::levelOf(image, side_) == 0 ? 1 : 0;
    case Store::AntiFeedback:
      return MasterSection::antiFeedbackOf(image) ? 1 : 0;
    case Store::Setup:
      return image.read(
          [&](const ImageData& d) { return row.setup.get(SetupSettings(d.system.setup), channel_); });
    case Store::Startup:
      return image.read([](const ImageData& d) { return StartupProgram(d.system.startupProgram).index(); });
    case Store::Name:
      break;
  }
  return 0;
}

std::string ParameterPath::text(const ParameterImage& image) const {
  if (family_->entry->store == Store::Name) {
    return image.read([this](const ImageData& d) {
      return NameField::FieldToText(d.edited.block(side_, channel_).first(kNameBytes), kNameBytes);
    });
  }
  return valueText(family_->entry->value, code(image));
}

bool ParameterPath::sameScope(const ParameterPath& other) const {
  const Store mine = family_->entry->store;
  const Store theirs = other.family_->entry->store;
  if (scopeOf(mine) != scopeOf(theirs)) return false;
  if (scopeOf(mine) == scopeOf(Store::Channel)) return side_ == other.side_;
  return mine != Store::Matrix || name_ == other.name_;
}

// Every value the change can reach is read before and after it, so the
// outcome lists exactly what changed, on the channel and on its group.
SetOutcome ParameterPath::set(ParameterImage& image, LinkGroups* links, std::string_view value,
                              bool followLinks) const {
  SetOutcome outcome;
  outcome.delivery = delivery();
  std::vector<const ParameterPath*> watched;
  std::vector<std::string> before;
  for (const ParameterPath& path : everyPath()) {
    if (!sameScope(path)) continue;
    watched.push_back(&path);
    before.push_back(path.text(image));
  }
  const std::string error = apply(image, links, value, followLinks);
  if (!error.empty()) {
    outcome.error = name_ + ": " + error;
    return outcome;
  }
  for (std::size_t i = 0; i < watched.size(); ++i)
    if (watched[i]->text(image) != before[i]) outcome.changed.push_back(watched[i]->name());
  return outcome;
}

std::string ParameterPath::apply(ParameterImage& image, LinkGroups* links, std::string_view value,
                                 bool followLinks) const {
  switch (family_->entry->store) {
    case Store::Channel:
      return applyChannel(image, links, value, followLinks);
    case Store::Setup:
    case Store::Startup:
      return applySetup(image, value);
    default:
      return applyOther(image, links, value);
  }
}

int ParameterPath::limited(const ParameterImage& image, Field field, int code) const {
  const CatalogEntry& row = *family_->entry;
  if (row.limit == Limit::Corner) {
    const bool highPass = field == crossoverFields(side_).XFQCY_Lo;
    code = CrossLimits::crossoverCorner(image.crossover(side_, channel_), highPass, code);
  } else if (row.limit == Limit::ShelfFrequency) {
    code = shelfFrequency(image.band(side_, channel_, index_).Type, code);
  }
  const ParameterValue& form = row.value;
  if (form.form != ParameterValue::Form::Number && form.form != ParameterValue::Form::Ratio) return code;
  // A damaged neighbour cannot push the code out of the field's range.
  code = std::clamp(CrossLimits::dynamics(image, side_, channel_, field, code), form.scale->storedMinimum(),
                    form.scale->storedMaximum());
  return form.form == ParameterValue::Form::Ratio ? ValueScales::SnapRatio(code) : code;
}

std::string ParameterPath::applyChannel(ParameterImage& image, LinkGroups* links, std::string_view value,
                                        bool followLinks) const {
  const CatalogEntry& row = *family_->entry;
  const Field field = row.field(side_, index_);
  const bool follow = row.follows && followLinks && links;
  return withCode(row.value, value, image.field(side_, channel_, field), [&](int read) {
    if (row.limit == Limit::BandKind) {
      // Every member takes the kind as the page's kind list gives it: a
      // shelf moves that member's frequency to its side of 2000 Hz.
      std::vector<int> channels{channel_};
      if (follow) std::ranges::copy(links->othersInGroup(side_, channel_), std::back_inserter(channels));
      for (int channel : channels) {
        EqBand band = image.band(side_, channel, index_);
        band.Type = read;
        band.FQCY = shelfFrequency(read, band.FQCY);
        image.setBand(side_, channel, index_, band);
      }
      return;
    }
    image.setField(side_, channel_, field, limited(image, field, read));
    if (follow) links->follow(side_, channel_, std::span<const Field>(&field, 1));
  });
}

std::string ParameterPath::applyOther(ParameterImage& image, LinkGroups* links,
                                      std::string_view value) const {
  const ParameterValue& form = family_->entry->value;
  const int current = code(image);
  switch (family_->entry->store) {
    case Store::Name: {
      const std::size_t bytes = NameField::FieldBytes(value);
      if (bytes > kNameBytes)
        return quoted(value) + " takes " + std::to_string(bytes) + " bytes; a channel name holds " +
               std::to_string(kNameBytes);
      const std::vector<std::uint8_t> field = NameField::TextToField(value, kNameBytes);
      image.modify([&](ImageData& d) { std::ranges::copy(field, d.edited.block(side_, channel_).begin()); });
      return {};
    }
    case Store::Group:
      if (!links) return "link groups are not available";
      return withCode(form, value, current, [&](int group) { links->join(side_, group, channel_); });
    case Store::Matrix:
      if (sameWord(value, "on") || sameWord(value, "off")) {
        Crosspoints::setOn(image, channel_, index_, sameWord(value, "on"));
        return {};
      }
      return withCode(form, value, current,
                      [&](int level) { Crosspoints::setLevel(image, channel_, index_, level); });
    case Store::MasterLevel:
      return withCode(form, value, current,
                      [&](int level) { MasterSection::storeLevel(image, side_, level); });
    case Store::MasterMute: {
      bool unknown = false;
      const std::string error = withCode(
          form, value, current, [&](int on) { unknown = !MasterSection::storeMute(image, side_, on != 0); });
      if (!unknown) return error;
      return "the level to restore is not known: set " + name_.substr(0, name_.rfind('.')) +
             ".level to a level first";
    }
    case Store::AntiFeedback:
      return withCode(form, value, current,
                      [&](int on) { MasterSection::storeAntiFeedback(image, on != 0); });
    default:
      return {};
  }
}

std::string ParameterPath::applySetup(ParameterImage& image, std::string_view value) const {
  const CatalogEntry& row = *family_->entry;
  bool refused = false;
  const std::string error = withCode(row.value, value, code(image), [&](int read) {
    refused = image.modify([&](ImageData& d) {
      if (row.store == Store::Startup) {
        StartupProgram program(d.system.startupProgram);
        if (program.select(read)) d.system.startupProgram = program.stored();
        return false;
      }
      SetupSettings settings(d.system.setup);
      if (row.setup.set(settings, channel_, read)) {
        d.system.setup = settings.pack();
        return false;
      }
      return row.setup.get(settings, channel_) != read;
    });
  });
  if (!error.empty()) return error;
  if (refused && !row.refusal.empty()) return quoted(value) + " is refused: " + std::string(row.refusal);
  return {};
}

std::vector<std::string> ParameterPath::families() {
  std::vector<std::string> lines;
  for (const CatalogFamily& family : ParameterCatalog::families()) {
    std::string line = family.pattern;
    line.resize(std::max(line.size() + 2, kHelpColumn), ' ');
    const CatalogEntry& row = *family.entry;
    line += row.example.empty() ? valueExample(row.value) : std::string(row.example);
    lines.push_back(std::move(line));
  }
  return lines;
}

const CatalogEntry& ParameterPath::entry() const {
  return *family_->entry;
}

std::string ParameterPath::label() const {
  const bool english = Language::isEnglish();
  const BiText label = ParameterCatalog::label(entry());
  // The placeholders as the label names them: a channel pattern's first is
  // the whole channel.
  std::vector<std::string> values;
  int used = 0;
  const int numbers[2] = {channel_, index_};
  for (std::string_view token : split(family_->pattern))
    if (const std::optional<Placeholder> placeholder = placeholderOf(token))
      values.push_back(placeholder->token(numbers[used++]));
  if (entry().pattern.starts_with("<ch>") && !values.empty())
    values[0] = std::string(kChannelWord[side_ == Side::Input ? 0 : 1].pick(english)) + values[0];
  std::string text(label.pick(english));
  for (std::size_t at = text.find('%'); at != std::string::npos && at + 1 < text.size();
       at = text.find('%', at)) {
    const auto which = static_cast<std::size_t>(text[at + 1] - '1');
    const std::string value = which < values.size() ? values[which] : std::string();
    text.replace(at, 2, value);
    at += value.size();
  }
  return text;
}

std::vector<ParameterPath> ParameterPath::all() {
  std::vector<ParameterPath> paths;
  for (const CatalogFamily& family : ParameterCatalog::families()) {
    std::vector<int> counts;
    for (std::string_view token : split(family.pattern))
      if (const std::optional<Placeholder> placeholder = placeholderOf(token))
        counts.push_back(placeholder->count());
    counts.resize(2, 1);
    for (int first = 0; first < counts[0]; ++first)
      for (int second = 0; second < counts[1]; ++second)
        paths.push_back(ParameterPath(family, first, second));
  }
  return paths;
}

}  // namespace orvane::control
