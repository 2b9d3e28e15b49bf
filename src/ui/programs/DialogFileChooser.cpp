#include "ui/programs/DialogFileChooser.h"

#include <QDir>
#include <QFileDialog>

#include "ui/common/SaveFileDialog.h"

namespace orvane::ui {

namespace {

const QString kFolder = QStringLiteral("MusicFile");

}  // namespace

DialogFileChooser::DialogFileChooser(QWidget* parent, const ProductVariant& variant)
    : parent_(parent), variant_(variant) {
  QDir start = QDir::current();
  if (!start.exists(kFolder)) start.mkdir(kFolder);
  folder_ = start.absoluteFilePath(kFolder);
}

QString DialogFileChooser::pattern(ProgramFileKind kind) const {
  return QStringLiteral("*") + extensionOf(kind, variant_);
}

QString DialogFileChooser::openFile(ProgramFileKind kind) {
  return QFileDialog::getOpenFileName(parent_, QString(), folder_, pattern(kind));
}

QString DialogFileChooser::saveFile(ProgramFileKind kind) {
  return SaveFileDialog::choose(parent_, {QString(), folder_, pattern(kind), extensionOf(kind, variant_)});
}

}  // namespace orvane::ui
