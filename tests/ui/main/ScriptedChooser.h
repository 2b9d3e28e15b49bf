#pragma once

#include <QStringList>

#include "ui/common/SaveFileDialog.h"
#include "ui/programs/FileChooser.h"

namespace orvane::ui {

// Paths the window's file actions get, one after the other, whatever kind
// of file they ask for (a path to write with its extension, as the desktop's
// save dialog gives it, of `variant`'s model); empty when none is left.
class ScriptedChooser : public FileChooser {
 public:
  ScriptedChooser(QStringList* paths, const ProductVariant& variant) : paths_(paths), variant_(variant) {}
  QString openFile(ProgramFileKind) override { return next(); }
  QString saveFile(ProgramFileKind kind) override {
    return SaveFileDialog::finalPath(next(), extensionOf(kind, variant_));
  }

 private:
  QString next() { return paths_->isEmpty() ? QString() : paths_->takeFirst(); }
  QStringList* paths_;
  ProductVariant variant_;
};

}  // namespace orvane::ui
