// The program workflows every front-end shares, on a session with no
// device behind it: each refusal comes back as its own outcome and leaves
// the image as it was; a file saved and loaded again names the working
// state after itself. The files are those of the session's model: each
// model writes its own signature and refuses the other model's file.

#include <gtest/gtest.h>

#include <fstream>
#include <functional>

#include "editor/ProgramFiles.h"
#include "model/LockState.h"
#include "model/NameField.h"
#include "model/ProgramFile.h"
#include "support/BothModels.h"
#include "support/ScratchDir.h"

namespace orvane::editor {
namespace {

using Status = ProgramOperations::Result::Status;
using ProgramOperations::Until;

std::string currentName(const ParameterImage& image) {
  return NameField::FieldToText(image.read([](const ImageData& d) { return d.currentProgramName; }));
}

using ProgramFilesTest = BothModels;

TEST_P(ProgramFilesTest, EachRefusalIsItsOwnOutcomeAndChangesNothing) {
  ScratchDir dir("program-files");
  ParameterImage image;
  EditorSession session(
      image,
      {.timings = {}, .transports = [](Command&, ParameterImage&) {}, .notifier = {}, .variant = variant()});
  std::ofstream(dir.file("junk")) << std::string(1000, 'x');
  ASSERT_TRUE(ProgramFiles::saveOne(session, dir.file("one")).done());
  const auto saved = ProgramFile::readBytes(dir.file("one"));
  ASSERT_TRUE(saved);
  const std::string_view signature = ProgramFile::signature(GetParam());
  EXPECT_EQ(saved->front(), signature.size());
  EXPECT_TRUE(std::equal(signature.begin(), signature.end(), saved->begin() + 1));
  ASSERT_TRUE(
      ProgramFile::writeBytes(dir.file("other"), ProgramFile::writeOne(image, otherVariant().modelCode)));
  const auto lock = [&](int flag, bool locked) {
    image.modify([&](ImageData& d) { d.locks.setLocked(flag, locked); });
  };
  const auto link = [&](LinkType type) { image.modify([&](ImageData& d) { d.connection.linkType = type; }); };
  struct Case {
    const char* name;
    std::function<void()> before;
    std::function<ProgramOperations::Result()> act;
    Status expected;
    std::string message;
  };
  const std::vector<Case> cases{
      {"a file that is not there", [] {},
       [&] { return ProgramFiles::loadOne(session, dir.file("missing"), Until::Queued); }, Status::Unreadable,
       ""},
      {"a file of no program", [] {},
       [&] { return ProgramFiles::loadOne(session, dir.file("junk"), Until::Queued); }, Status::WrongFile,
       ""},
      {"one program of the other model", [] {},
       [&] { return ProgramFiles::loadOne(session, dir.file("other"), Until::Queued); }, Status::WrongFile,
       ""},
      {"one program where all are expected", [] {},
       [&] { return ProgramFiles::loadAll(session, dir.file("one"), Until::Queued); }, Status::WrongFile, ""},
      {"a folder that is not there", [] {},
       [&] { return ProgramFiles::saveOne(session, dir.file("no/such/folder")); }, Status::NotWritten, ""},
      {"loading locked", [&] { lock(LockFlag::LoadProgram, true); },
       [&] { return ProgramFiles::loadOne(session, dir.file("one"), Until::Queued); }, Status::Locked,
       "loading programs is locked on the device"},
      {"saving locked", [&] { lock(LockFlag::SaveProgram, true); },
       [&] { return ProgramFiles::saveOne(session, dir.file("two")); }, Status::Locked,
       "saving programs is locked on the device"},
      {"a backup without a link",
       [&] { lock(LockFlag::LoadProgram, false), lock(LockFlag::SaveProgram, false); },
       [&] { return ProgramFiles::readAll(session, Until::Queued); }, Status::NoLink, ""},
      {"a recall without a link", [] {}, [&] { return ProgramOperations::recall(session, 3, Until::Queued); },
       Status::NoLink, ""},
      {"a store without a name", [&] { link(LinkType::Network); },
       [&] { return ProgramOperations::store(session, 3, "", Until::Queued); }, Status::NoName, ""},
      {"a name too long", [] {},
       [&] { return ProgramOperations::store(session, 3, std::string(17, 'n'), Until::Queued); },
       Status::NameTooLong, ""},
  };
  const std::string named = currentName(image);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    c.before();
    const ProgramOperations::Result result = c.act();
    EXPECT_EQ(result.status, c.expected);
    if (!c.message.empty()) {
      EXPECT_EQ(result.message, c.message);
    }
    EXPECT_EQ(currentName(image), named);
  }
  link(LinkType::None);
  image.modify([](ImageData& d) { NameField::TextToField("Before", d.currentProgramName); });
  EXPECT_TRUE(ProgramFiles::loadOne(session, dir.file("one"), Until::Queued).done());
  EXPECT_EQ(currentName(image), NameField::FieldToText(ProgramFile::nameFromFileName("one")));
}

INSTANTIATE_TEST_SUITE_P(Models, ProgramFilesTest, ::testing::Values(7304, 736), BothModels::name);

}  // namespace
}  // namespace orvane::editor
