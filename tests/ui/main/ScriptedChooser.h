#pragma once

#include <QStringList>

#include "ui/common/SaveFileDialog.h"
#include "ui/programs/FileChooser.h"

namespace orvane::ui {

// Paths the window's file actions get, one after the other, whatever kind
// of file they ask for (a path to write with its extension, as the desktop's
// save dialog gives it); empty when none is left.
class ScriptedChooser : public FileChooser {
 public:
  explicit ScriptedChooser(QStringList* paths) : paths_(paths) {}
  QString openFile(ProgramFileKind) override { return next(); }
  QString saveFile(ProgramFileKind kind) override {
    return SaveFileDialog::finalPath(next(), extensionOf(kind));
  }

 private:
  QString next() { return paths_->isEmpty() ? QString() : paths_->takeFirst(); }
  QStringList* paths_;
};

}  // namespace orvane::ui
