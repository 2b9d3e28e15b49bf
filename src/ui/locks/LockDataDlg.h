#pragma once

// The lock selection dialog: a box per function lock of the inputs and of
// the outputs and per system lock, a "select all" box for each group, and
// what the locks mean. Boxes of locks that came with the device's data are
// checked and cannot be changed. OK hands the choice back; closing the
// window changes nothing.

#include <QDialog>
#include <map>

#include "model/LockSelection.h"

class QCheckBox;
class QGroupBox;
class QVBoxLayout;

namespace orvane::ui {

class LockDataDlg : public QDialog {
  Q_OBJECT

 public:
  LockDataDlg(const LockState& locks, QWidget* parent = nullptr);

  const LockSelection& selection() const { return selection_; }
  // The box of `flag`; null for the flags without one.
  QCheckBox* box(int flag) const;
  QCheckBox* selectAllBox(LockGroup group) const;

 private:
  QGroupBox* buildFunctionLocks();
  QGroupBox* buildSystemLocks();
  void addGroup(LockGroup group, QVBoxLayout* column);
  void onBox(int flag, bool checked);
  void onSelectAll(LockGroup group, bool checked);
  void showSelection();

  LockSelection selection_;
  std::map<int, QCheckBox*> boxes_;
  std::map<LockGroup, QCheckBox*> selectAll_;
};

}  // namespace orvane::ui
