#pragma once

// The program manager: the thirty device programs by number, type and
// name; recall one into the working state, store the working state into
// one under a name, delete one; and start the four PC file actions. The
// system locks of loading, storing and deleting programs take their
// controls away.

#include <QDialog>
#include <functional>

#include "editor/ProgramOperations.h"

class QButtonGroup;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace orvane::editor {
class EditorSession;
}  // namespace orvane::editor

namespace orvane::ui {

class ProgramDlg : public QDialog {
  Q_OBJECT

 public:
  enum DeviceMode { LoadFromDevice, SaveToDevice };
  enum PcAction { LoadOne, SaveOne, LoadAll, SaveAll };
  using PcRunner = std::function<void(PcAction action)>;

  ProgramDlg(editor::EditorSession& session, PcRunner runPcAction, QWidget* parent = nullptr);
  ~ProgramDlg() override;

  QTableWidget* grid() const { return grid_; }
  QRadioButton* deviceRadio(DeviceMode mode) const;
  QRadioButton* pcRadio(PcAction action) const;
  QPushButton* actionButton() const { return action_; }
  QPushButton* deleteButton() const { return delete_; }
  QPushButton* okButton() const { return ok_; }
  int selectedProgram() const { return selected_ + 1; }
  // A device program was recalled or stored: the window shows its number
  // (a PC action leaves "PC" in its place).
  bool programChosen() const { return programChosen_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* buildDevicePart();
  QWidget* buildPcPart();
  void fillGrid();
  void setDeviceMode(DeviceMode mode);
  void applyLocks();
  void onCellChanged(int row, int column);
  void onAction();
  void onDelete();
  void onOk();
  // Shows the outcome of a device operation: the program's new name in the
  // grid when done, else why not. True when done.
  bool shown(const editor::ProgramOperations::Result& result);

  editor::EditorSession& session_;
  ParameterImage& image_;
  PcRunner runPcAction_;
  QTableWidget* grid_ = nullptr;
  QButtonGroup* deviceModes_ = nullptr;
  QButtonGroup* pcActions_ = nullptr;
  QPushButton* action_ = nullptr;
  QPushButton* delete_ = nullptr;
  QPushButton* ok_ = nullptr;
  int selected_ = 0;
  bool filling_ = false;
  bool programChosen_ = false;
};

}  // namespace orvane::ui
