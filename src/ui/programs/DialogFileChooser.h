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
  explicit DialogFileChooser(QWidget* parent);

  QString openFile(ProgramFileKind kind) override;
  QString saveFile(ProgramFileKind kind) override;

  // "*.dia1j" or "*.dat1j" (".dia1s", ".dat1s" for model 736); "*.txt".
  static QString pattern(ProgramFileKind kind);

 private:
  QWidget* parent_;
  QString folder_;
};

}  // namespace orvane::ui
