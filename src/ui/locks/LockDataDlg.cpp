#include "ui/locks/LockDataDlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>

#include "ui/common/UiText.h"
#include "ui/locks/LockTexts.h"

namespace orvane::ui {

namespace {

QString captionOf(int flag) {
  for (const LockTexts::FlagCaption& caption : LockTexts::kFlagCaptions)
    if (caption.flag == flag) return uiText(caption.text);
  return {};
}

QLabel* info(const BiText& text, QWidget* parent) {
  auto* label = new QLabel(uiText(text), parent);
  label->setWordWrap(true);
  label->setFrameShape(QFrame::StyledPanel);
  label->setMargin(6);
  return label;
}

}  // namespace

LockDataDlg::LockDataDlg(const LockState& locks, QWidget* parent) : QDialog(parent), selection_(locks) {
  setObjectName("lockData");
  setWindowTitle(uiText(LockTexts::kLockTitle));
  auto* layout = new QVBoxLayout(this);
  layout->setSizeConstraint(QLayout::SetMinimumSize);
  auto* groups = new QHBoxLayout;
  groups->addWidget(buildFunctionLocks(), 2);
  groups->addWidget(buildSystemLocks(), 1);
  layout->addLayout(groups);
  // What the locks mean, under the boxes they explain.
  auto* infos = new QHBoxLayout;
  infos->addWidget(info(LockTexts::kFunctionInfo, this), 2);
  infos->addWidget(info(LockTexts::kSystemInfo, this), 1);
  layout->addLayout(infos);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  buttons->button(QDialogButtonBox::Ok)->setText(uiText(LockTexts::kOk));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->addWidget(buttons);
  showSelection();
}

QGroupBox* LockDataDlg::buildFunctionLocks() {
  auto* group = new QGroupBox(uiText(LockTexts::kFunctionLock), this);
  auto* layout = new QVBoxLayout(group);
  auto* columns = new QHBoxLayout;
  for (const auto& [side, heading] : {std::pair{LockGroup::Input, LockTexts::kInputHeading},
                                      std::pair{LockGroup::Output, LockTexts::kOutputHeading}}) {
    auto* column = new QVBoxLayout;
    column->addWidget(new QLabel(uiText(heading), group));
    addGroup(side, column);
    column->addStretch(1);
    columns->addLayout(column);
  }
  layout->addLayout(columns);
  return group;
}

QGroupBox* LockDataDlg::buildSystemLocks() {
  auto* group = new QGroupBox(uiText(LockTexts::kSystemLock), this);
  auto* column = new QVBoxLayout(group);
  addGroup(LockGroup::System, column);
  column->addStretch(1);
  return group;
}

// The group's boxes, then its "select all" box.
void LockDataDlg::addGroup(LockGroup group, QVBoxLayout* column) {
  QWidget* parent = column->parentWidget() ? column->parentWidget() : this;
  for (int flag : LockSelection::shownFlags(group)) {
    auto* box = new QCheckBox(captionOf(flag), parent);
    box->setObjectName(QStringLiteral("lock%1").arg(flag));
    // Room below the text for the underscore of "Comp_Limit".
    box->setMinimumHeight(box->sizeHint().height() + 4);
    boxes_[flag] = box;
    column->addWidget(box);
    connect(box, &QCheckBox::clicked, this, [this, flag](bool checked) { onBox(flag, checked); });
  }
  auto* all = new QCheckBox(uiText(LockTexts::kSelectAll), parent);
  selectAll_[group] = all;
  column->addWidget(all);
  connect(all, &QCheckBox::clicked, this, [this, group](bool checked) { onSelectAll(group, checked); });
}

QCheckBox* LockDataDlg::box(int flag) const {
  const auto found = boxes_.find(flag);
  return found == boxes_.end() ? nullptr : found->second;
}

QCheckBox* LockDataDlg::selectAllBox(LockGroup group) const {
  return selectAll_.at(group);
}

void LockDataDlg::onBox(int flag, bool checked) {
  selection_.set(flag, checked);
  showSelection();
}

void LockDataDlg::onSelectAll(LockGroup group, bool checked) {
  selection_.selectAll(group, checked);
  showSelection();
}

void LockDataDlg::showSelection() {
  for (const auto& [flag, box] : boxes_) {
    const QSignalBlocker quiet(box);
    box->setChecked(selection_.isLocked(flag));
    box->setEnabled(!selection_.isFixed(flag));
  }
  for (const auto& [group, box] : selectAll_) {
    const QSignalBlocker quiet(box);
    box->setChecked(selection_.allSelected(group));
    box->setEnabled(!selection_.selectAllFixed(group));
  }
}

}  // namespace orvane::ui
