#include "dsp/RewFilterImport.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

#include "dsp/CFilter.h"
#include "dsp/FreqGrid.h"
#include "model/Language.h"
#include "model/ParameterImage.h"
#include "model/QTable.h"
#include "model/Scales.h"
#include "model/ValueScales.h"

namespace orvane::RewFilterImport {

namespace {

constexpr BiText kUnknownType{"line {}: unknown filter type '{}'", "第 {} 行：未知的滤波器类型 '{}'"};
constexpr BiText kNoState{"line {}: ON or OFF expected", "第 {} 行：应为 ON 或 OFF"};
constexpr BiText kNoType{"line {}: no filter type", "第 {} 行：缺少滤波器类型"};
constexpr BiText kBadFrequency{"line {}: no valid frequency", "第 {} 行：频率无效"};
constexpr BiText kBadGain{"line {}: no valid gain", "第 {} 行：增益无效"};
constexpr BiText kBadQ{"line {}: no valid Q", "第 {} 行：Q 值无效"};
constexpr BiText kNoFilters{"the file holds no REW filter lines", "文件中没有 REW 滤波器行"};
constexpr BiText kNotImported{"The filters were not imported:", "滤波器未导入："};
constexpr BiText kTooMany{"The file holds {} filters but the channel has {} bands; {}",
                          "文件有 {} 个滤波器，但该通道只有 {} 个频段；{}"};
constexpr BiText kOneLeftOver{"the filter on line {} does not fit", "第 {} 行的滤波器放不下"};
constexpr BiText kSomeLeftOver{"the filters on lines {} do not fit", "第 {} 行的滤波器放不下"};
constexpr BiText kListSeparator{", ", "、"};

// The `Slope` codes of a shelf band, by position, in dB per octave.
constexpr std::array<double, 2> kShelfSlopesDb{6, 12};
// A second-order shelf's slope in dB per octave at shelf slope S = 1.
constexpr double kSlopeDbPerS = 12;
constexpr double kKilo = 1000;
// Gains far beyond any band's range, kept off the integer limits.
constexpr double kGainLimitDb = 1000;
// How much of an unknown type word a message repeats.
constexpr std::size_t kQuotedLetters = 16;

// `pattern` in the current language with each "{}" replaced by the next of
// `parts`.
std::string fill(const BiText& pattern, std::initializer_list<std::string> parts) {
  std::string text;
  std::string_view rest = pattern.current();
  for (const std::string& part : parts) {
    const std::size_t at = rest.find("{}");
    if (at == std::string_view::npos) break;
    text.append(rest.substr(0, at)).append(part);
    rest.remove_prefix(at + 2);
  }
  return text.append(rest);
}

std::string problem(const BiText& pattern, int line, std::string word = {}) {
  return fill(pattern, {std::to_string(line), std::move(word)});
}

bool sameWord(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           const auto lower = [](char c) {
             return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
           };
           return lower(x) == lower(y);
         });
}

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

// The words of one line, with a cursor.
class Words {
 public:
  explicit Words(std::string_view line) {
    std::size_t at = 0;
    while (at < line.size()) {
      const std::size_t start = line.find_first_not_of(" \t\r", at);
      if (start == std::string_view::npos) break;
      const std::size_t end = std::min(line.find_first_of(" \t\r", start), line.size());
      words_.push_back(line.substr(start, end - start));
      at = end;
    }
  }
  bool done() const { return next_ >= words_.size(); }
  std::string_view peek() const { return done() ? std::string_view() : words_[next_]; }
  std::string_view take() { return done() ? std::string_view() : words_[next_++]; }
  // Takes the next word if it is `word`.
  bool skip(std::string_view word) {
    if (done() || !sameWord(peek(), word)) return false;
    ++next_;
    return true;
  }

 private:
  std::vector<std::string_view> words_;
  std::size_t next_ = 0;
};

// A number followed by an optional unit glued to it: "63.0", "-4.5", "+3",
// "1,000", "1.00kHz", "6dB".
struct Figure {
  double value;
  std::string_view unit;
};

// Commas are thousands separators when three digits follow ("1,000"),
// decimal commas otherwise ("63,5"), and always in kilohertz ("1,25 kHz").
std::optional<double> readDigits(std::string_view digits, bool commaIsDecimal) {
  std::string plain;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (digits[i] != ',') {
      plain += digits[i];
      continue;
    }
    const std::string_view rest = digits.substr(i + 1);
    const bool thousands = !commaIsDecimal && rest.size() >= 3 &&
                           std::all_of(rest.begin(), rest.begin() + 3, isDigit) &&
                           (rest.size() == 3 || !isDigit(rest[3]));
    if (!thousands) plain += '.';
  }
  if (!plain.empty() && plain.front() == '+') plain.erase(0, 1);
  double value = 0;
  const char* end = plain.data() + plain.size();
  const auto [stop, error] = std::from_chars(plain.data(), end, value, std::chars_format::fixed);
  if (error != std::errc() || stop != end || !std::isfinite(value)) return std::nullopt;
  return value;
}

// Reads a number and its unit, glued or as the next word when that is one
// of `units`.
std::optional<Figure> readFigure(Words& words, std::initializer_list<std::string_view> units) {
  const std::string_view word = words.take();
  const std::size_t glued = word.find_first_not_of("+-0123456789.,");
  const std::string_view digits = word.substr(0, glued);
  std::string_view unit = glued == std::string_view::npos ? std::string_view() : word.substr(glued);
  if (unit.empty()) {
    for (std::string_view known : units) {
      if (words.skip(known)) unit = known;
    }
  }
  const std::optional<double> value = readDigits(digits, sameWord(unit, "kHz"));
  if (!value) return std::nullopt;
  return Figure{*value, unit};
}

std::optional<FilterType> typeOf(std::string_view word) {
  for (std::string_view name : {"PK", "PEQ"}) {
    if (sameWord(word, name)) return FilterType::Peaking;
  }
  for (std::string_view name : {"LS", "LSC", "LSQ"}) {
    if (sameWord(word, name)) return FilterType::LowShelf;
  }
  for (std::string_view name : {"HS", "HSC", "HSQ"}) {
    if (sameWord(word, name)) return FilterType::HighShelf;
  }
  return std::nullopt;
}

// "Filter 12:" (or "Filter 12 :") opens a filter line; the header's
// "Filter Settings file" does not.
bool opensFilterLine(Words& words) {
  if (!words.skip("Filter")) return false;
  std::string_view number = words.peek();
  if (!number.empty() && number.back() == ':') number.remove_suffix(1);
  if (number.empty() || !std::all_of(number.begin(), number.end(), isDigit)) return false;
  words.take();
  words.skip(":");
  return true;
}

// Parses the words after "Filter N:" into `out`; returns a problem, or an
// empty text for a filter taken or skipped.
std::string parseFilter(Words& words, int line, std::vector<Filter>& out) {
  if (words.skip("OFF")) return {};
  if (!words.skip("ON")) return problem(kNoState, line);
  if (words.done()) return problem(kNoType, line);
  if (words.skip("None")) return {};
  const std::string typeWord(words.take());
  const std::optional<FilterType> type = typeOf(typeWord);
  if (!type) return problem(kUnknownType, line, typeWord.substr(0, kQuotedLetters));

  Filter filter{line, *type, 0, 0, std::nullopt, std::nullopt};
  std::optional<double> frequency, gain;
  bool badQ = false;
  // "LS 6dB", "LSC 12 dB": a slope between the type and the frequency.
  if (!words.done() && isDigit(words.peek().front())) {
    if (const auto slope = readFigure(words, {"dB", "dB/oct"}); slope && slope->value > 0)
      filter.slopeDb = slope->value;
  }
  while (!words.done()) {
    if (words.skip("Fc")) {
      if (const auto f = readFigure(words, {"Hz", "kHz"}); f && f->value > 0)
        frequency = sameWord(f->unit, "kHz") ? f->value * kKilo : f->value;
    } else if (words.skip("Gain")) {
      if (const auto g = readFigure(words, {"dB"})) gain = g->value;
    } else if (words.skip("Q")) {
      const auto q = readFigure(words, {});
      badQ = !q || q->value <= 0;
      if (!badQ) filter.q = q->value;
    } else {
      words.take();  // a field this import has no use for
    }
  }
  if (!frequency) return problem(kBadFrequency, line);
  if (!gain) return problem(kBadGain, line);
  if (badQ || (*type == FilterType::Peaking && !filter.q)) return problem(kBadQ, line);
  filter.frequency = *frequency;
  filter.gainDb = *gain;
  out.push_back(filter);
  return {};
}

// --- into a band ---------------------------------------------------------------

FilterKind kindOf(FilterType type) {
  switch (type) {
    case FilterType::LowShelf:
      return FilterKind::LowShelf;
    case FilterType::HighShelf:
      return FilterKind::HighShelf;
    case FilterType::Peaking:
      break;
  }
  return FilterKind::Peaking;
}

// The whole-hertz grid frequency nearest to `hz`, as the editor's frequency
// fields step, within the range of the band type.
int bandFrequency(double hz, FilterType type) {
  const int grid = static_cast<int>(FreqGrid[static_cast<std::size_t>(NearestFreqIndex(hz))]);
  const int low = type == FilterType::HighShelf ? CFilter::kShelfBoundaryHz : Scales::kFrequency.minimum;
  const int high = type == FilterType::LowShelf ? CFilter::kShelfBoundaryHz : Scales::kFrequency.maximum;
  return std::clamp(grid, low, high);
}

int gainCode(double gainDb) {
  const double limited = std::clamp(gainDb, -kGainLimitDb, kGainLimitDb);
  const int code = static_cast<int>(std::lround(limited * 10)) + CFilter::kFlatGainCode;
  return ValueScales::ClampCode(Scales::kEqGain, code);
}

// The code whose Q is nearest to `q`: between the one the Q reaches and
// the next narrower one.
int bandwidthCode(double q) {
  const int reached = QTable::QToBandwidthCode(q);
  if (reached == 0) return 0;
  const bool narrower = std::abs(QTable::QOf(reached - 1) - q) < std::abs(QTable::QOf(reached) - q);
  return narrower ? reached - 1 : reached;
}

// A shelf's Q as its slope in dB per octave: the shelf slope S that gives
// this Q at this gain, S = 1 being a second-order shelf's 12 dB/oct.
double slopeOfShelfQ(double q, double gainDb) {
  const double a = std::pow(10.0, gainDb / 40);
  const double inverseS = (1 / (q * q) - 2) / (a + 1 / a) + 1;
  return inverseS > 0 ? kSlopeDbPerS / inverseS : kShelfSlopesDb.back();
}

int shelfSlopeCode(const Filter& filter) {
  std::optional<double> slope = filter.slopeDb;
  if (!slope && filter.q) slope = slopeOfShelfQ(*filter.q, filter.gainDb);
  if (!slope) return EqBand{}.Slope;
  const auto nearest =
      std::min_element(kShelfSlopesDb.begin(), kShelfSlopesDb.end(),
                       [&](double x, double y) { return std::abs(x - *slope) < std::abs(y - *slope); });
  return static_cast<int>(nearest - kShelfSlopesDb.begin());
}

// The band as the EQ page leaves it after the same edits: type, frequency,
// gain and the bandwidth or the slope; the other field keeps its value.
EqBand bandOf(const Filter& filter, EqBand band) {
  band.Type = static_cast<int>(kindOf(filter.type));
  band.FQCY = bandFrequency(filter.frequency, filter.type);
  band.Gain = gainCode(filter.gainDb);
  if (filter.type == FilterType::Peaking)
    band.Q = bandwidthCode(*filter.q);
  else
    band.Slope = shelfSlopeCode(filter);
  return band;
}

std::string refusal(const Parsed& parsed, int bands) {
  std::string text;
  if (!parsed.problems.empty()) {
    text = std::string(kNotImported.current());
    for (const std::string& problem : parsed.problems) text += "\n" + problem;
    return text;
  }
  const int count = static_cast<int>(parsed.filters.size());
  if (count <= bands) return text;
  std::string lines;
  for (int i = bands; i < count; ++i) {
    if (i > bands) lines += kListSeparator.current();
    lines += std::to_string(parsed.filters[static_cast<std::size_t>(i)].line);
  }
  const std::string leftOver = fill(count - bands == 1 ? kOneLeftOver : kSomeLeftOver, {lines});
  return fill(kTooMany, {std::to_string(count), std::to_string(bands), leftOver});
}

}  // namespace

Parsed parse(std::string_view text) {
  Parsed parsed;
  int line = 0;
  bool anyFilterLine = false;
  std::size_t at = 0;
  while (at <= text.size()) {
    const std::size_t end = std::min(text.find('\n', at), text.size());
    ++line;
    Words words(text.substr(at, end - at));
    at = end + 1;
    if (!opensFilterLine(words)) continue;
    anyFilterLine = true;
    if (std::string fault = parseFilter(words, line, parsed.filters); !fault.empty())
      parsed.problems.push_back(std::move(fault));
  }
  if (!anyFilterLine) parsed.problems.push_back(std::string(kNoFilters.current()));
  return parsed;
}

std::string apply(ParameterImage& image, Side side, int channel, const Parsed& parsed) {
  const int bands = bandCount(side);
  if (std::string reason = refusal(parsed, bands); !reason.empty()) return reason;
  image.modify([&](ImageData& data) {
    const auto block = data.edited.block(side, channel);
    for (int band = 0; band < bands; ++band) {
      EqBand record = EqBand::read(block, side, band);
      if (band < static_cast<int>(parsed.filters.size()))
        record = bandOf(parsed.filters[static_cast<std::size_t>(band)], record);
      else
        record.Gain = CFilter::kFlatGainCode;
      record.write(block, side, band);
    }
  });
  return {};
}

}  // namespace orvane::RewFilterImport
