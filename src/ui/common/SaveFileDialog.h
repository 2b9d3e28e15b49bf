#pragma once

// The desktop's save dialog with the editor's rule for a file's extension:
// a name that does not hold the extension gets it appended, and the
// question before an existing file is replaced is asked about that final
// name. So typing Hall where Hall.dia1j exists asks before Hall.dia1j is
// replaced; the dialog's own question, about the name as typed, would not.
// Answering no shows the dialog again.

#include <QString>

class QWidget;

namespace orvane::ui {

class SaveFileDialog {
 public:
  struct Request {
    QString title;
    QString start;      // the folder to start in, or a proposed file in it
    QString filter;     // the dialog's name filters, ";;" between two
    QString extension;  // ".dia1j", ".xlsx"
  };

  // The path to write; empty when the user cancelled.
  static QString choose(QWidget* parent, const Request& request);
  // `path`, with `extension` appended unless its file name holds the
  // extension somewhere (Hall.dia1j.bak stays as it is); empty stays empty.
  // The same rule as orvanectl's save and backup (SaveName).
  static QString finalPath(const QString& path, const QString& extension);
};

}  // namespace orvane::ui
