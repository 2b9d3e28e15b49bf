#pragma once

// The desktop's open and save dialogs for program files and filter text
// files. They start in the MusicFile folder of the folder the editor was
// started in (created there when missing) and show only files of the kind
// asked for.

#include <QWidget>

#include "ui/programs/FileChooser.h"

namespace orvane::ui {

class DialogFileChooser : public FileChooser {
 public:
  // Offers the program files of `variant`.
  DialogFileChooser(QWidget* parent, const ProductVariant& variant);

  QString openFile(ProgramFileKind kind) override;
  QString saveFile(ProgramFileKind kind) override;

  // "*.dia1j" or "*.dat1j" (".dia1s", ".dat1s" for model 736); "*.txt".
  QString pattern(ProgramFileKind kind) const;

 private:
  QWidget* parent_;
  ProductVariant variant_;
  QString folder_;
};

}  // namespace orvane::ui
