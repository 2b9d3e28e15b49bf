#include "ui/programs/DialogFileChooser.h"

#include <QDir>
#include <QFileDialog>

#include "ui/common/SaveFileDialog.h"

namespace orvane::ui {

namespace {

const QString kFolder = QStringLiteral("MusicFile");

}  // namespace

DialogFileChooser::DialogFileChooser(QWidget* parent) : parent_(parent) {
  QDir start = QDir::current();
  if (!start.exists(kFolder)) start.mkdir(kFolder);
  folder_ = start.absoluteFilePath(kFolder);
}

QString DialogFileChooser::pattern(ProgramFileKind kind) {
  return QStringLiteral("*") + extensionOf(kind);
}

QString DialogFileChooser::openFile(ProgramFileKind kind) {
  return QFileDialog::getOpenFileName(parent_, QString(), folder_, pattern(kind));
}

QString DialogFileChooser::saveFile(ProgramFileKind kind) {
  return SaveFileDialog::choose(parent_, {QString(), folder_, pattern(kind), extensionOf(kind)});
}

}  // namespace orvane::ui
