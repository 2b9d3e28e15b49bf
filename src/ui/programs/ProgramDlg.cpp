#include "ui/programs/ProgramDlg.h"

#include <QApplication>
#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "editor/EditorSession.h"
#include "model/NameField.h"
#include "ui/common/MessageBoxes.h"
#include "ui/common/UiText.h"
#include "ui/programs/ProgramTexts.h"

namespace orvane::ui {

namespace {

constexpr int kNameColumn = 2;

QString nameText(std::span<const std::uint8_t> name) {
  return QString::fromStdString(NameField::FieldToText(name));
}

}  // namespace

ProgramDlg::ProgramDlg(editor::EditorSession& session, PcRunner runPcAction, QWidget* parent)
    : QDialog(parent), session_(session), image_(session.image()), runPcAction_(std::move(runPcAction)) {
  setObjectName("programs");
  setWindowTitle(uiText(ProgramTexts::kTitle));
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(buildDevicePart(), 3);
  layout->addWidget(buildPcPart(), 2);
  fillGrid();
  grid_->setCurrentCell(0, kNameColumn);
  setDeviceMode(SaveToDevice);
  applyLocks();
  qApp->installEventFilter(this);
  resize(720, 560);
}

ProgramDlg::~ProgramDlg() {
  qApp->removeEventFilter(this);
}

QWidget* ProgramDlg::buildDevicePart() {
  auto* group = new QGroupBox(uiText(ProgramTexts::kDevicePrograms), this);
  auto* column = new QVBoxLayout(group);
  deviceModes_ = new QButtonGroup(this);
  auto* radios = new QHBoxLayout;
  for (const auto& [mode, text] : {std::pair{LoadFromDevice, ProgramTexts::kLoadFromDevice},
                                   std::pair{SaveToDevice, ProgramTexts::kSaveToDevice}}) {
    auto* radio = new QRadioButton(uiText(text), group);
    deviceModes_->addButton(radio, mode);
    radios->addWidget(radio);
  }
  column->addLayout(radios);
  connect(deviceModes_, &QButtonGroup::idClicked, this,
          [this](int mode) { setDeviceMode(DeviceMode(mode)); });

  grid_ = new QTableWidget(kPrograms, 3, group);
  grid_->setObjectName("programGrid");
  grid_->setHorizontalHeaderLabels(
      {uiText(ProgramTexts::kNumber), uiText(ProgramTexts::kType), uiText(ProgramTexts::kName)});
  grid_->verticalHeader()->hide();
  grid_->setSelectionMode(QAbstractItemView::SingleSelection);
  grid_->setTextElideMode(Qt::ElideRight);
  grid_->setWordWrap(false);
  grid_->setColumnWidth(0, 90);
  grid_->setColumnWidth(1, 90);
  grid_->horizontalHeader()->setStretchLastSection(true);
  column->addWidget(grid_, 1);
  connect(grid_, &QTableWidget::currentCellChanged, this, [this](int row) {
    if (row >= 0) selected_ = row;
  });
  connect(grid_, &QTableWidget::cellChanged, this, &ProgramDlg::onCellChanged);

  auto* buttons = new QHBoxLayout;
  action_ = new QPushButton(group);
  action_->setObjectName("programAction");
  delete_ = new QPushButton(uiText(ProgramTexts::kDelete), group);
  buttons->addWidget(action_);
  buttons->addWidget(delete_);
  column->addLayout(buttons);
  connect(action_, &QPushButton::clicked, this, &ProgramDlg::onAction);
  connect(delete_, &QPushButton::clicked, this, &ProgramDlg::onDelete);
  return group;
}

// The PC actions in the order the group numbers them: load one, save one,
// load all, save all.
QWidget* ProgramDlg::buildPcPart() {
  auto* group = new QGroupBox(uiText(ProgramTexts::kPcPrograms), this);
  auto* column = new QVBoxLayout(group);
  pcActions_ = new QButtonGroup(this);
  for (const auto& [action, text] :
       {std::pair{LoadOne, ProgramTexts::kLoadOne}, std::pair{SaveOne, ProgramTexts::kSaveOne},
        std::pair{LoadAll, ProgramTexts::kLoadAll}, std::pair{SaveAll, ProgramTexts::kSaveAll}}) {
    auto* radio = new QRadioButton(uiText(text), group);
    pcActions_->addButton(radio, action);
    column->addWidget(radio);
  }
  pcRadio(SaveOne)->setChecked(true);
  column->addStretch(1);
  ok_ = new QPushButton(uiText(ProgramTexts::kOk), group);
  column->addWidget(ok_);
  connect(ok_, &QPushButton::clicked, this, &ProgramDlg::onOk);
  return group;
}

QRadioButton* ProgramDlg::deviceRadio(DeviceMode mode) const {
  return static_cast<QRadioButton*>(deviceModes_->button(mode));
}

QRadioButton* ProgramDlg::pcRadio(PcAction action) const {
  return static_cast<QRadioButton*>(pcActions_->button(action));
}

void ProgramDlg::fillGrid() {
  filling_ = true;
  const ProgramStore store = image_.read([](const ImageData& d) { return d.programs; });
  for (int p = 0; p < kPrograms; ++p) {
    const QString number = uiText(ProgramTexts::kProgram) + QString::number(p + 1);
    for (const auto& [column, text] : {std::pair{0, number}, std::pair{1, uiText(ProgramTexts::kUser)}}) {
      auto* item = new QTableWidgetItem(text);
      item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
      item->setTextAlignment(Qt::AlignCenter);
      grid_->setItem(p, column, item);
    }
    auto* name = new QTableWidgetItem(nameText(recordName(store[static_cast<std::size_t>(p)])));
    name->setTextAlignment(Qt::AlignCenter);
    grid_->setItem(p, kNameColumn, name);
  }
  filling_ = false;
}

// Names are edited only for storing.
void ProgramDlg::setDeviceMode(DeviceMode mode) {
  deviceRadio(mode)->setChecked(true);
  action_->setText(uiText(mode == SaveToDevice ? ProgramTexts::kSave : ProgramTexts::kLoad));
  grid_->setEditTriggers(mode == SaveToDevice
                             ? QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                                   QAbstractItemView::AnyKeyPressed
                             : QAbstractItemView::NoEditTriggers);
  for (int p = 0; p < kPrograms; ++p) {
    QTableWidgetItem* item = grid_->item(p, kNameColumn);
    const Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    item->setFlags(mode == SaveToDevice ? flags | Qt::ItemIsEditable : flags);
  }
}

// Either data lock also takes away the two actions on all programs.
void ProgramDlg::applyLocks() {
  const auto [load, save, erase] = image_.read([](const ImageData& d) {
    return std::tuple(d.locks.isLocked(LockFlag::LoadProgram), d.locks.isLocked(LockFlag::SaveProgram),
                      d.locks.isLocked(LockFlag::DeleteProgram));
  });
  delete_->setEnabled(!erase);
  if (load && save) {
    for (QAbstractButton* b : deviceModes_->buttons()) b->setEnabled(false);
    for (QAbstractButton* b : pcActions_->buttons()) b->setEnabled(false);
    action_->setEnabled(false);
    ok_->setEnabled(false);
    return;
  }
  if (load) {
    setDeviceMode(SaveToDevice);
    pcRadio(SaveOne)->setChecked(true);
    for (QAbstractButton* b :
         {deviceRadio(LoadFromDevice), pcRadio(LoadAll), pcRadio(SaveAll), pcRadio(LoadOne)})
      b->setEnabled(false);
  }
  if (save) {
    for (QAbstractButton* b :
         {deviceRadio(SaveToDevice), pcRadio(LoadAll), pcRadio(SaveAll), pcRadio(SaveOne)})
      b->setEnabled(false);
    setDeviceMode(LoadFromDevice);
    pcRadio(LoadOne)->setChecked(true);
  }
}

// A name that does not fit the 16-byte field is refused, never cut inside
// a character.
void ProgramDlg::onCellChanged(int row, int column) {
  if (filling_ || column != kNameColumn) return;
  selected_ = row;
  QTableWidgetItem* item = grid_->item(row, column);
  if (NameField::FieldBytes(item->text().trimmed().toStdString()) <= kProgramNameBytes) return;
  MessageBoxes::inform(this, ProgramTexts::kNameTooLong);
  filling_ = true;
  const ProgramRecord record =
      image_.read([row](const ImageData& d) { return d.programs[static_cast<std::size_t>(row)]; });
  item->setText(nameText(recordName(record)));
  filling_ = false;
}

bool ProgramDlg::shown(const editor::ProgramOperations::Result& result) {
  using Status = editor::ProgramOperations::Result::Status;
  if (result.status == Status::NoLink) MessageBoxes::inform(this, ProgramTexts::kOpenLink);
  if (result.status == Status::NoName) MessageBoxes::inform(this, ProgramTexts::kEnterName);
  if (result.status == Status::NameTooLong) MessageBoxes::inform(this, ProgramTexts::kNameTooLong);
  if (!result.done()) return false;
  filling_ = true;
  grid_->item(result.program - 1, kNameColumn)->setText(QString::fromStdString(result.name));
  filling_ = false;
  return true;
}

void ProgramDlg::onAction() {
  namespace Operations = editor::ProgramOperations;
  const bool storing = deviceModes_->checkedId() == SaveToDevice;
  const std::string text = grid_->item(selected_, kNameColumn)->text().trimmed().toStdString();
  const Operations::Result result =
      storing ? Operations::store(session_, selectedProgram(), text, Operations::Until::Queued)
              : Operations::recall(session_, selectedProgram(), Operations::Until::Queued);
  if (!shown(result)) return;
  programChosen_ = true;
  accept();
}

void ProgramDlg::onDelete() {
  shown(editor::ProgramOperations::erase(session_, selectedProgram(),
                                         editor::ProgramOperations::Until::Queued));
}

void ProgramDlg::onOk() {
  runPcAction_(PcAction(pcActions_->checkedId()));
  accept();
}

// Enter and Escape end a name being edited and never close the dialog.
bool ProgramDlg::eventFilter(QObject* watched, QEvent* event) {
  auto* widget = qobject_cast<QWidget*>(watched);
  if (event->type() != QEvent::KeyPress || !widget || widget->window() != this)
    return QDialog::eventFilter(watched, event);
  const int key = static_cast<QKeyEvent*>(event)->key();
  if (key != Qt::Key_Return && key != Qt::Key_Enter && key != Qt::Key_Escape)
    return QDialog::eventFilter(watched, event);
  setFocus();
  return true;
}

}  // namespace orvane::ui
