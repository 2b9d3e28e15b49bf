// Comparing programs: the values that differ between two images, named in
// both languages; the sides read from a program file and from the program
// store; and taking one side's values into the working state as one step
// of the history that undo takes back, a locked function left alone.

#include <gtest/gtest.h>

#include "editor/ProgramComparison.h"
#include "model/Language.h"
#include "model/LockState.h"
#include "model/ProgramFile.h"
#include "support/ScratchDir.h"

namespace orvane::editor {
namespace {

using control::Difference;
using control::ParameterPath;

ParameterPath path(const char* text) {
  return std::get<ParameterPath>(ParameterPath::parse(text));
}

void set(ParameterImage& image, const char* at, const char* value) {
  ASSERT_EQ(path(at).set(image, nullptr, value, false).error, "") << at;
}

std::vector<std::string> names(const std::vector<Difference>& found) {
  std::vector<std::string> list;
  for (const Difference& d : found) list.push_back(d.path.name());
  return list;
}

// A program changed in one parameter of every kind a program holds; the
// set-up block changes too, but belongs to the device.
struct Changed {
  ParameterImage image;
  Changed() {
    for (const auto& [at, value] :
         std::initializer_list<std::pair<const char*, const char*>>{{"in.A.gain", "-6dB"},
                                                                    {"in.C.name", "Podium"},
                                                                    {"out.3.eq.2.bw", "0.5"},
                                                                    {"matrix.B.4", "-3dB"},
                                                                    {"master.out.level", "-10dB"},
                                                                    {"setup.mode", "slave"}})
      set(image, at, value);
  }
};

TEST(ProgramComparison, ListsEachDifferingValueOnceNamedInBothLanguages) {
  Language::setFlag(1);
  const ParameterImage plain;
  const Changed changed;
  const std::vector<Difference> found = control::ParameterComparison::differences(plain, changed.image);
  // The bandwidth and the Q of a band are one value, listed once.
  EXPECT_EQ(names(found), (std::vector<std::string>{"in.A.gain", "in.C.name", "out.3.eq.2.bw", "matrix.B.4",
                                                    "master.out.level"}));
  struct Named {
    std::size_t at;
    const char* left;
    const char* right;
    const char* english;
    const char* chinese;
  };
  for (const Named& n : {Named{0, "0.0dB", "-6.0dB", "Input A gain", "输入A 增益"},
                         Named{1, "C", "Podium", "Input C name", "输入C 通道名"},
                         Named{2, "0.30oct", "0.50oct", "Output 3 EQ band 2 bandwidth", "输出3 均衡2 带宽"},
                         Named{3, "OFF", "-3.0dB", "Matrix input B to output 4", "矩阵 输入B→输出4"},
                         Named{4, "-48.0dB", "-10.0dB", "Output master level", "输出总音量"}}) {
    const Difference& d = found.at(n.at);
    SCOPED_TRACE(d.path.name());
    EXPECT_EQ(d.left, n.left);
    EXPECT_EQ(d.right, n.right);
    Language::setFlag(1);
    EXPECT_EQ(d.path.label(), n.english);
    Language::setFlag(0);
    EXPECT_EQ(d.path.label(), n.chinese);
  }
  Language::setFlag(1);
  // Every parameter has a name of its own in both languages.
  for (const ParameterPath& p : ParameterPath::all())
    for (int english : {0, 1}) {
      Language::setFlag(english);
      EXPECT_EQ(p.label().find_first_of("%<"), std::string::npos) << p.name() << " " << p.label();
      EXPECT_NE(p.label(), p.name());
    }
}

TEST(ProgramComparison, SidesFromFilesAndTheProgramStoreReadAsTheyWereWritten) {
  const Changed changed;
  const ProductVariant& variant = ProductVariant::builtDefault();
  ScratchDir dir("program-comparison");
  const std::string one = dir.file("room.prg");
  ASSERT_TRUE(ProgramFile::writeBytes(one, ProgramFile::writeOne(changed.image, variant.modelCode)));
  const auto read = ProgramComparison::programFile(variant, one);
  ASSERT_TRUE(std::holds_alternative<ProgramComparison::Snapshot>(read)) << std::get<std::string>(read);
  EXPECT_TRUE(
      control::ParameterComparison::differences(changed.image, *std::get<ProgramComparison::Snapshot>(read))
          .empty());

  ParameterImage store;
  store.modify([&](ImageData& d) {
    const BlockSet blocks = changed.image.read([](const ImageData& c) { return c.edited; });
    for (Side side : {Side::Input, Side::Output})
      for (int n = 0; n < kChannels; ++n)
        std::ranges::copy(blocks.block(side, n), recordBlock(d.programs[6], side, n).begin());
  });
  EXPECT_TRUE(
      control::ParameterComparison::differences(changed.image, *ProgramComparison::fromProgramStore(store, 7))
          .empty());

  const std::string all = dir.file("venue.dat");
  ASSERT_TRUE(ProgramFile::writeBytes(all, ProgramFile::writeAll(store, variant.modelCode)));
  for (const auto& [file, message] : {std::pair{all, "is an all-programs file, not one program"},
                                      std::pair{dir.file("missing.prg"), "cannot read the file"}}) {
    const auto refused = ProgramComparison::programFile(variant, file);
    ASSERT_TRUE(std::holds_alternative<std::string>(refused)) << file;
    EXPECT_NE(std::get<std::string>(refused).find(message), std::string::npos)
        << std::get<std::string>(refused);
  }
}

TEST(ProgramComparison, TakingValuesIsOneStepUndoneAndSparesLockedFunctions) {
  const Changed changed;
  EditorSession session;
  const auto differences = [&] {
    return control::ParameterComparison::differences(session.image(), changed.image);
  };
  const std::vector<Difference> before = differences();
  std::vector<ParameterPath> chosen;
  for (const Difference& d : before)
    if (d.path.name() != "matrix.B.4") chosen.push_back(d.path);
  session.image().modify([](ImageData& d) { d.locks.setLocked(LockFlag::OutputEq, true); });

  const std::string refused = ProgramComparison::take(session, changed.image, chosen);
  EXPECT_NE(refused.find("out.3.eq.2.bw"), std::string::npos) << refused;
  EXPECT_EQ(names(differences()), (std::vector<std::string>{"out.3.eq.2.bw", "matrix.B.4"}));
  ASSERT_EQ(session.history().steps(), 1u);
  // The step is named after the first value it changed, in the language of
  // the moment.
  Language::setFlag(1);
  EXPECT_EQ(session.history().undoName(), "Input A gain -6.0dB (+2 more)");
  Language::setFlag(0);
  EXPECT_EQ(session.history().undoName(), "输入A 增益 -6.0dB（另有2项）");
  Language::setFlag(1);

  ASSERT_TRUE(session.history().undo().applied);
  EXPECT_EQ(names(differences()), names(before));
  session.image().modify([](ImageData& d) { d.locks.setLocked(LockFlag::OutputEq, false); });
  EXPECT_EQ(ProgramComparison::take(session, changed.image, chosen), "");
  EXPECT_EQ(names(differences()), (std::vector<std::string>{"matrix.B.4"}));
}

}  // namespace
}  // namespace orvane::editor
