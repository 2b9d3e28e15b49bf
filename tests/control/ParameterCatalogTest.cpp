// The catalog against everything built from it: the paths of orvanectl and
// the server read and take their own range ends and off codes, the lists
// their words, the report's rows show catalog entries under their locks,
// and each lock guards the functions it names.

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "control/ParameterPath.h"
#include "control/PathValue.h"
#include "dsp/ChannelFilters.h"
#include "model/LockState.h"
#include "model/ParameterCatalog.h"
#include "model/ParameterImage.h"
#include "report/ReportTable.h"

namespace orvane::control {
namespace {

std::string readBack(const ParameterValue& value, std::string_view text, int current) {
  const auto read = readValue(value, text, current);
  if (const auto* message = std::get_if<std::string>(&read)) return "refused: " + *message;
  return valueText(value, std::get<int>(read));
}

TEST(ParameterCatalog, EveryPathReadsAndTakesItsRangeEndsOffCodeAndWords) {
  for (const CatalogFamily& family : ParameterCatalog::families()) {
    const ParameterValue& value = family.entry->value;
    SCOPED_TRACE(family.pattern);
    std::vector<int> codes;
    if (value.form == ParameterValue::Form::Choice) {
      for (const Choice& choice : value.choices->entries()) {
        codes.push_back(choice.code);
        EXPECT_EQ(std::get<int>(readValue(value, choice.word, -1)), choice.code);
      }
      for (const ChoiceAlias& alias : value.choices->aliases())
        EXPECT_EQ(std::get<int>(readValue(value, alias.word, -1)), alias.code) << alias.word;
      EXPECT_NE(readBack(value, "no such word", codes.front()).find("refused"), std::string::npos);
    } else if (value.scale != nullptr) {
      const ParameterScale& scale = *value.scale;
      codes = {scale.storedMinimum(), scale.storedMaximum()};
      if (scale.offCode()) {
        EXPECT_EQ(valueText(value, *scale.offCode()), "OFF");
      }
      // A figure far outside the range is refused with the range, never
      // clamped to an end.
      const std::string far = readBack(value, "99999999", codes.front());
      EXPECT_TRUE(far.starts_with("refused: '99999999' is outside")) << far;
    }
    for (const int code : codes) {
      const std::string text = valueText(value, code);
      EXPECT_EQ(readBack(value, text, code == codes.front() ? codes.back() : codes.front()), text);
    }
  }
}

// Every concrete path parses to itself, is guarded by its function's lock
// and reads a value from a fresh image,
// as both the command line and the server's API and live stream list them.
TEST(ParameterCatalog, EveryConcretePathParsesToItselfAndReads) {
  const ParameterImage image;
  std::set<std::string> names;
  for (const ParameterPath& path : ParameterPath::all()) {
    const auto parsed = ParameterPath::parse(path.name());
    ASSERT_TRUE(std::holds_alternative<ParameterPath>(parsed)) << path.name();
    EXPECT_EQ(std::get<ParameterPath>(parsed).name(), path.name());
    EXPECT_TRUE(names.insert(path.name()).second) << "twice: " << path.name();
    // The path's own lock is the one its function is refused by.
    EXPECT_EQ(path.lock(), ParameterCatalog::lockOf(path.name()).value_or(-1)) << path.name();
    if (!path.name().ends_with(".name")) {
      EXPECT_FALSE(path.text(image).empty()) << path.name();
    }
  }
}

// With every lock set the report shows "Lock" exactly in the cells of the
// entries it maps its rows to; without locks those cells hold values.
TEST(ParameterCatalog, ReportRowsShowCatalogEntriesUnderTheirLocks) {
  ParameterImage image;
  ChannelFilters filters(image);
  image.modify([](ImageData& d) {
    for (int flag = 0; flag < static_cast<int>(LockState::kFlagCount); ++flag) d.locks.setLocked(flag, true);
  });
  const ReportTable locked = ReportTable::build(image, filters);
  for (int row = 0; row < ReportTable::kRows; ++row) {
    bool shown = false;
    for (int column = 1; column < ReportTable::kColumns; ++column) {
      const Side side = column <= kChannels ? Side::Input : Side::Output;
      const CatalogEntry* entry = ReportTable::entryOf(row, side);
      shown = shown || entry != nullptr;
      EXPECT_EQ(locked.cell(row, column), entry ? "锁定" : "") << "row " << row << " column " << column;
    }
    EXPECT_TRUE(shown) << "row " << row << " maps to no entry";
  }
}

// The function a path belongs to: the side and its word for a channel
// ("in.eq"), the section for the master ("master.in"), else the first word.
std::string functionOf(const std::string& pattern) {
  std::vector<std::string> words(1);
  for (const char c : pattern) {
    if (c == '.') {
      words.emplace_back();
    } else {
      words.back().push_back(c);
    }
  }
  if (words[0] == "in" || words[0] == "out") return words[0] + "." + words[2];
  if (words[0] == "master") return words[0] + "." + words[1];
  return words[0];
}

// Each function lock guards the paths of the function it names, and nothing
// else.
TEST(ParameterCatalog, EachLockGuardsTheFunctionsItNames) {
  using namespace LockFlag;
  const std::map<int, std::set<std::string>> guarded = {
      {InputLabel, {"in.name"}},
      {OutputLabel, {"out.name"}},
      {InputMute, {"in.mute"}},
      {OutputMute, {"out.mute"}},
      {InputDelay, {"in.delay"}},
      {OutputDelay, {"out.delay"}},
      {InputGain, {"in.gain"}},
      {OutputGain, {"out.gain"}},
      {InputPolarity, {"in.polarity"}},
      {OutputPolarity, {"out.polarity"}},
      {InputLink, {"in.link"}},
      {OutputLink, {"out.link"}},
      {NoiseGate, {"in.gate"}},
      {InputFeedback, {"in.feedback"}},
      {InputEq, {"in.eq"}},
      {OutputEq, {"out.eq"}},
      {InputCrossover, {"in.xover"}},
      {OutputCrossover, {"out.xover"}},
      {InputDynamics, {"in.agc", "in.comp"}},
      {OutputDynamics, {"out.comp", "out.lim"}},
      {Matrix, {"matrix"}},
      {InputMainVolume, {"master.in"}},
      {OutputMainVolume, {"master.out"}},
      {MainFeedback, {"master.antifeedback"}},
      {Settings, {"setup"}},
  };
  std::map<int, std::set<std::string>> found;
  for (const CatalogFamily& family : ParameterCatalog::families()) {
    found[family.entry->lock(family.side)].insert(functionOf(family.pattern));
  }
  EXPECT_EQ(found, guarded);
  EXPECT_EQ(ParameterCatalog::lockOf("in.B.eq"), InputEq);
  EXPECT_EQ(ParameterCatalog::lockOf("out.8.lim"), OutputDynamics);
  EXPECT_EQ(ParameterCatalog::lockOf("out.1.gate"), std::nullopt);
}

}  // namespace
}  // namespace orvane::control
