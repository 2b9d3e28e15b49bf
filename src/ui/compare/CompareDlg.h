#pragma once

// The comparison of programs: every parameter whose value differs between
// the working state and a one-program file, between two program files, or
// between the working state and a program stored in the device (read on
// request, off the UI thread), listed by name in the user's language and
// by path, with both values as the pages show them. The values of the
// other side of the selected rows can be taken into the working state as
// one step of the edit history.

#include <QDialog>
#include <memory>
#include <vector>

#include "control/ParameterComparison.h"
#include "ui/compare/ProgramReader.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTreeWidget;

namespace orvane::editor {
class EditorSession;
}  // namespace orvane::editor

namespace orvane::ui {

class FileChooser;

class CompareDlg : public QDialog {
  Q_OBJECT

 public:
  enum Mode { WorkingWithFile, TwoFiles, WorkingWithStored };
  enum Column { kParameterColumn, kPathColumn, kLeftColumn, kRightColumn };

  // Program files come from `chooser`; both must outlive the dialog.
  CompareDlg(editor::EditorSession& session, FileChooser& chooser, QWidget* parent = nullptr);

  QComboBox* modeBox() const { return mode_; }
  QPushButton* firstFileButton() const { return firstFile_; }
  QPushButton* fileButton() const { return file_; }
  QComboBox* programBox() const { return program_; }
  QPushButton* readButton() const { return read_; }
  QPushButton* takeButton() const { return take_; }
  QTreeWidget* table() const { return table_; }
  QLabel* statusLine() const { return status_; }
  bool reading() const { return reader_->reading(); }

 public slots:
  // The link ended: a program read from the device may have changed since,
  // and the working state is the editor's defaults now.
  void linkEnded();
  // The dialog stays open while a program is being read.
  void reject() override;

 signals:
  // Values were taken into the working state: the window shows them anew.
  void valuesTaken();
  // A comparison was shown (after a file was chosen, a program read, values
  // taken or the link lost).
  void refreshed();

 private:
  // One side of the comparison: its name in the column header and its
  // values. The working state has no image of its own: it is looked at anew
  // each time.
  struct ComparedSide {
    QString title;
    std::shared_ptr<const ParameterImage> image;
  };

  void buildControls();
  void setMode(int mode);
  void chooseFile(ComparedSide& side);
  void fillProgramNames();
  void readProgram();
  void onRead(const ProgramReader::Outcome& outcome);
  void takeSelected();
  void refresh();
  void showDifferences(const ParameterImage& left, const QString& leftTitle);
  QString prompt() const;
  void updateControls();
  bool connected() const;

  editor::EditorSession& session_;
  FileChooser& chooser_;
  ProgramReader* reader_ = nullptr;
  Mode modeShown_ = WorkingWithFile;
  // The first file (two files only) and the side compared with the left.
  ComparedSide first_;
  ComparedSide second_;
  // Why nothing is compared: a file refused, a read failed, the link lost.
  QString notice_;
  std::vector<control::Difference> shown_;

  QComboBox* mode_ = nullptr;
  QPushButton* firstFile_ = nullptr;
  QPushButton* file_ = nullptr;
  QComboBox* program_ = nullptr;
  QPushButton* read_ = nullptr;
  QLabel* status_ = nullptr;
  QTreeWidget* table_ = nullptr;
  QPushButton* take_ = nullptr;
  QPushButton* close_ = nullptr;
};

}  // namespace orvane::ui
