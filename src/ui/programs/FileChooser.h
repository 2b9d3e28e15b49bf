#pragma once

// Where the program file actions and the equaliser's filter import ask for
// a path: the desktop's file dialogs in the editor, a fixed answer in tests.

#include <QString>

#include "model/ProductVariant.h"

namespace orvane::ui {

// The program files, and the filter text files Room EQ Wizard exports.
enum class ProgramFileKind { OneProgram, AllPrograms, RewFilters };

// ".dia1j" or ".dat1j" (".dia1s", ".dat1s" for model 736); ".txt".
inline QString extensionOf(ProgramFileKind kind, const ProductVariant& variant) {
  if (kind == ProgramFileKind::RewFilters) return QStringLiteral(".txt");
  const std::string_view extension =
      kind == ProgramFileKind::OneProgram ? variant.programFileExtension : variant.programSetFileExtension;
  return QString::fromLatin1(extension.data(), static_cast<qsizetype>(extension.size()));
}

class FileChooser {
 public:
  virtual ~FileChooser() = default;
  // The file to read; empty when the user cancelled.
  virtual QString openFile(ProgramFileKind kind) = 0;
  // The file to write, with the kind's extension appended unless its name
  // holds it (SaveFileDialog::finalPath); the user agreed to replace it if
  // it exists. Empty when the user cancelled.
  virtual QString saveFile(ProgramFileKind kind) = 0;
};

}  // namespace orvane::ui
