#include "ui/programs/DialogFileChooser.h"

#include <QDir>
#include <QFileDialog>


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
  const ProductVariant& variant = ProductVariant::current();
  const std::string_view extension =
      kind == ProgramFileKind::OneProgram ? variant.programFileExtension : variant.programSetFileExtension;
  return QStringLiteral("*") +
         QString::fromLatin1(extension.data(), static_cast<qsizetype>(extension.size()));
}

QString DialogFileChooser::openFile(ProgramFileKind kind) {
  return QFileDialog::getOpenFileName(parent_, QString(), folder_, pattern(kind));
}

// The desktop asks before an existing file is overwritten.
QString DialogFileChooser::saveFile(ProgramFileKind kind) {
  return QFileDialog::getSaveFileName(parent_, QString(), folder_, pattern(kind));
}

}  // namespace orvane::ui
