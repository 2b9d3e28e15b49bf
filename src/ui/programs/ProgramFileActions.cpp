#include "ui/programs/ProgramFileActions.h"

#include "ui/common/FileSystemPath.h"
#include "ui/common/FileTexts.h"
#include "ui/common/MessageBoxes.h"
#include "ui/common/UiText.h"
#include "ui/programs/ProgramTexts.h"

namespace orvane::ui {

namespace {

namespace Files = editor::ProgramFiles;
using Status = editor::ProgramOperations::Result::Status;
using editor::ProgramOperations::Until;

}  // namespace

ProgramFileActions::ProgramFileActions(editor::EditorSession& session, FileChooser& chooser, QWidget* parent)
    : session_(session), chooser_(chooser), parent_(parent) {}

bool ProgramFileActions::told(const editor::ProgramOperations::Result& result) const {
  if (result.status == Status::Unreadable)
    MessageBoxes::inform(parent_, ProgramTexts::kFileReadError);
  else if (result.status == Status::WrongFile)
    MessageBoxes::inform(parent_, ProgramTexts::kMusicFileReadError);
  else if (result.status == Status::NotWritten)
    MessageBoxes::inform(parent_,
                         FileTexts::notWritten(uiText(ProgramTexts::kMusicFileWriteError), result.written));
  return result.done();
}

bool ProgramFileActions::loadOne() {
  const QString path = chooser_.openFile(ProgramFileKind::OneProgram);
  return !path.isEmpty() && loadOneFrom(path);
}

bool ProgramFileActions::loadOneFrom(const QString& path) {
  return told(Files::loadOne(session_, fileSystemPath(path), Until::Queued));
}

bool ProgramFileActions::saveOne() {
  const QString path = chooser_.saveFile(ProgramFileKind::OneProgram);
  return !path.isEmpty() && told(Files::saveOne(session_, fileSystemPath(path)));
}

bool ProgramFileActions::loadAll() {
  if (!session_.connection().isConnected()) return false;
  const QString path = chooser_.openFile(ProgramFileKind::AllPrograms);
  if (path.isEmpty() || !path.contains(extensionOf(ProgramFileKind::AllPrograms, session_.variant())))
    return false;
  return loadAllFrom(path);
}

bool ProgramFileActions::loadAllFrom(const QString& path) {
  return told(Files::loadAll(session_, fileSystemPath(path), Until::Queued));
}

bool ProgramFileActions::saveAll() {
  const QString path = chooser_.saveFile(ProgramFileKind::AllPrograms);
  return !path.isEmpty() && told(Files::saveAll(session_, fileSystemPath(path)));
}

}  // namespace orvane::ui
