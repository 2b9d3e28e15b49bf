#include "ui/programs/ProgramFileActions.h"

#include <QFileInfo>
#include <mutex>

#include "link/Command.h"
#include "model/ProductVariant.h"
#include "model/ProgramFile.h"
#include "ui/common/FileTexts.h"
#include "ui/common/MessageBoxes.h"
#include "ui/common/UiText.h"
#include "ui/programs/ProgramTexts.h"

namespace orvane::ui {

namespace {

int modelCode() {
  return ProductVariant::current().modelCode;
}

std::filesystem::path fileSystemPath(const QString& path) {
  return std::filesystem::path(path.toStdString());
}

bool linkOpen(const ParameterImage& image) {
  return image.read([](const ImageData& d) { return d.connection.linkType != LinkType::None; });
}

}  // namespace

ProgramFileActions::ProgramFileActions(ParameterImage& image, Command& command, FileChooser& chooser,
                                       QWidget* parent)
    : image_(image), command_(command), chooser_(chooser), parent_(parent) {}

bool ProgramFileActions::loadOne() {
  const QString path = chooser_.openFile(ProgramFileKind::OneProgram);
  return !path.isEmpty() && loadOneFrom(path);
}

bool ProgramFileActions::loadOneFrom(const QString& path) {
  if (!takeOne(path)) return false;
  nameFromFile(path);
  return true;
}

bool ProgramFileActions::takeOne(const QString& path) {
  const auto bytes = ProgramFile::readBytes(fileSystemPath(path));
  if (!bytes) {
    MessageBoxes::inform(parent_, ProgramTexts::kFileReadError);
    return false;
  }
  {
    std::lock_guard lock(command_.protocolLock());
    const std::optional<ProgramFile::OneProgram> file = ProgramFile::readOne(*bytes, modelCode());
    if (file) {
      ProgramFile::applyOne(image_, *file);
      command_.StoreProgram(0);
      return true;
    }
  }
  MessageBoxes::inform(parent_, ProgramTexts::kMusicFileReadError);
  return false;
}

bool ProgramFileActions::saveOne() {
  const QString path = chooser_.saveFile(ProgramFileKind::OneProgram);
  if (path.isEmpty() || !write(path, ProgramFileKind::OneProgram)) return false;
  nameFromFile(path);
  return true;
}

bool ProgramFileActions::loadAll() {
  if (!linkOpen(image_)) return false;
  const QString path = chooser_.openFile(ProgramFileKind::AllPrograms);
  if (path.isEmpty() || !path.contains(extensionOf(ProgramFileKind::AllPrograms))) return false;
  return loadAllFrom(path);
}

bool ProgramFileActions::loadAllFrom(const QString& path) {
  const auto bytes = ProgramFile::readBytes(fileSystemPath(path));
  if (!bytes) {
    MessageBoxes::inform(parent_, ProgramTexts::kFileReadError);
    return false;
  }
  const std::unique_ptr<ProgramStore> store = ProgramFile::readAll(*bytes, modelCode());
  if (!store) {
    MessageBoxes::inform(parent_, ProgramTexts::kMusicFileReadError);
    return false;
  }
  ProgramFile::applyAll(image_, *store);
  return !linkOpen(image_) || command_.StoreAllPrograms();
}

bool ProgramFileActions::saveAll() {
  const QString path = chooser_.saveFile(ProgramFileKind::AllPrograms);
  return !path.isEmpty() && write(path, ProgramFileKind::AllPrograms);
}

bool ProgramFileActions::write(const QString& path, ProgramFileKind kind) {
  const std::vector<std::uint8_t> bytes = kind == ProgramFileKind::OneProgram
                                              ? ProgramFile::writeOne(image_, modelCode())
                                              : ProgramFile::writeAll(image_, modelCode());
  const AtomicFile::Result written = ProgramFile::writeBytes(fileSystemPath(path), bytes);
  if (written) return true;
  MessageBoxes::inform(parent_, FileTexts::notWritten(uiText(ProgramTexts::kMusicFileWriteError), written));
  return false;
}

void ProgramFileActions::nameFromFile(const QString& path) {
  const auto name = ProgramFile::nameFromFileName(QFileInfo(path).fileName().toStdString());
  image_.modify([&](ImageData& d) { d.currentProgramName = name; });
}

}  // namespace orvane::ui
