#include "ui/common/SaveFileDialog.h"

#include <QFileDialog>
#include <QFileInfo>

#include "model/SaveName.h"
#include "ui/common/FileSystemPath.h"
#include "ui/common/FileTexts.h"
#include "ui/common/MessageBoxes.h"

namespace orvane::ui {

namespace {

// The name the user chose in a dialog showing `start`; empty when cancelled.
QString typedName(QWidget* parent, const SaveFileDialog::Request& request, const QString& start) {
  QFileDialog dialog(parent, request.title, start, request.filter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  // The question is asked about the final name, once the extension is on.
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().constFirst();
}

}  // namespace

QString SaveFileDialog::choose(QWidget* parent, const Request& request) {
  QString start = request.start;
  for (;;) {
    const QString path = finalPath(typedName(parent, request, start), request.extension);
    if (path.isEmpty() || !QFileInfo::exists(path)) return path;
    if (MessageBoxes::ask(parent, uiText(FileTexts::kReplaceQuestion).arg(QFileInfo(path).fileName())))
      return path;
    start = path;
  }
}

QString SaveFileDialog::finalPath(const QString& path, const QString& extension) {
  return fromFileSystemPath(SaveName::withExtension(fileSystemPath(path), extension.toStdString()));
}

}  // namespace orvane::ui
