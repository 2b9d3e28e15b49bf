#include "ui/compare/CompareDlg.h"

#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "editor/ProgramComparison.h"
#include "model/NameField.h"
#include "ui/common/FileSystemPath.h"
#include "ui/common/MessageBoxes.h"
#include "ui/common/UiText.h"
#include "ui/compare/CompareTexts.h"
#include "ui/programs/FileChooser.h"

namespace orvane::ui {

namespace {

namespace Comparison = editor::ProgramComparison;

constexpr int kColumnGap = 24;

QString fromStd(const std::string& text) {
  return QString::fromStdString(text);
}

// "Program 5 Lecture", with the name the program store holds.
QString programTitle(const ParameterImage& image, int program) {
  const ProgramRecord record = image.read(
      [program](const ImageData& d) { return d.programs.at(static_cast<std::size_t>(program - 1)); });
  return uiText(CompareTexts::kProgram).arg(program).arg(fromStd(NameField::FieldToText(recordName(record))));
}

}  // namespace

CompareDlg::CompareDlg(editor::EditorSession& session, FileChooser& chooser, QWidget* parent)
    : QDialog(parent), session_(session), chooser_(chooser), reader_(new ProgramReader(session, this)) {
  setObjectName("compare");
  setWindowTitle(uiText(CompareTexts::kTitle));
  buildControls();
  connect(reader_, &ProgramReader::finished, this, &CompareDlg::onRead);
  fillProgramNames();
  setMode(WorkingWithFile);
  resize(960, 480);
}

void CompareDlg::buildControls() {
  auto* layout = new QVBoxLayout(this);
  auto* sides = new QHBoxLayout;
  sides->addWidget(new QLabel(uiText(CompareTexts::kCompare), this));
  mode_ = new QComboBox(this);
  mode_->setObjectName("mode");
  for (const BiText& text :
       {CompareTexts::kWorkingWithFile, CompareTexts::kTwoFiles, CompareTexts::kWorkingWithStored})
    mode_->addItem(uiText(text));
  sides->addWidget(mode_);
  firstFile_ = new QPushButton(uiText(CompareTexts::kChooseFirst), this);
  firstFile_->setObjectName("firstFile");
  file_ = new QPushButton(uiText(CompareTexts::kFileButton), this);
  file_->setObjectName("file");
  program_ = new QComboBox(this);
  program_->setObjectName("program");
  read_ = new QPushButton(uiText(CompareTexts::kRead), this);
  read_->setObjectName("read");
  for (QWidget* control : std::initializer_list<QWidget*>{firstFile_, file_, program_, read_})
    sides->addWidget(control);
  sides->addStretch(1);
  layout->addLayout(sides);

  status_ = new QLabel(this);
  status_->setObjectName("status");
  status_->setWordWrap(true);
  layout->addWidget(status_);

  table_ = new QTreeWidget(this);
  table_->setObjectName("differences");
  table_->setRootIsDecorated(false);
  table_->setUniformRowHeights(true);
  table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setColumnCount(4);
  layout->addWidget(table_, 1);

  auto* buttons = new QHBoxLayout;
  take_ = new QPushButton(uiText(CompareTexts::kTake), this);
  take_->setObjectName("take");
  close_ = new QPushButton(uiText(CompareTexts::kClose), this);
  close_->setObjectName("close");
  buttons->addWidget(take_);
  buttons->addStretch(1);
  buttons->addWidget(close_);
  layout->addLayout(buttons);

  connect(mode_, &QComboBox::currentIndexChanged, this, &CompareDlg::setMode);
  connect(firstFile_, &QPushButton::clicked, this, [this] { chooseFile(first_); });
  connect(file_, &QPushButton::clicked, this, [this] { chooseFile(second_); });
  connect(read_, &QPushButton::clicked, this, &CompareDlg::readProgram);
  connect(take_, &QPushButton::clicked, this, &CompareDlg::takeSelected);
  connect(close_, &QPushButton::clicked, this, &CompareDlg::reject);
  connect(table_, &QTreeWidget::itemSelectionChanged, this, &CompareDlg::updateControls);
}

// A new kind of comparison starts with no side chosen.
void CompareDlg::setMode(int mode) {
  modeShown_ = Mode(mode);
  mode_->setCurrentIndex(mode);
  first_ = {};
  second_ = {};
  notice_.clear();
  firstFile_->setVisible(modeShown_ == TwoFiles);
  file_->setVisible(modeShown_ != WorkingWithStored);
  program_->setVisible(modeShown_ == WorkingWithStored);
  read_->setVisible(modeShown_ == WorkingWithStored);
  refresh();
}

void CompareDlg::chooseFile(ComparedSide& side) {
  const QString path = chooser_.openFile(ProgramFileKind::OneProgram);
  if (path.isEmpty()) return;
  Comparison::Read read = Comparison::programFile(session_.variant(), fileSystemPath(path));
  if (auto* image = std::get_if<Comparison::Snapshot>(&read)) {
    side = {QFileInfo(path).fileName(), std::move(*image)};
    notice_.clear();
  } else {
    side = {};
    notice_ = uiText(CompareTexts::kNotOpened).arg(fromStd(std::get<std::string>(read)));
  }
  refresh();
}

// The programs by number and by the names the program store holds.
void CompareDlg::fillProgramNames() {
  const int chosen = std::max(program_->currentIndex(), 0);
  program_->clear();
  for (int p = 1; p <= kPrograms; ++p) program_->addItem(programTitle(session_.image(), p));
  program_->setCurrentIndex(chosen);
}

void CompareDlg::readProgram() {
  second_ = {};
  notice_.clear();
  reader_->read(program_->currentIndex() + 1);
  refresh();
}

// A read ended (nothing else could be chosen meanwhile): the program, now
// in the program store too, is the side compared.
void CompareDlg::onRead(const ProgramReader::Outcome& outcome) {
  fillProgramNames();
  if (outcome.image)
    second_ = {programTitle(session_.image(), outcome.program), outcome.image};
  else
    notice_ = uiText(CompareTexts::kNotRead).arg(outcome.error);
  refresh();
}

void CompareDlg::linkEnded() {
  if (modeShown_ == WorkingWithStored && second_.image) {
    second_ = {};
    notice_ = uiText(CompareTexts::kLinkLost);
  }
  refresh();
}

void CompareDlg::reject() {
  if (!reading()) QDialog::reject();
}

void CompareDlg::takeSelected() {
  if (modeShown_ == TwoFiles || !second_.image) return;
  std::vector<control::ParameterPath> paths;
  for (QTreeWidgetItem* item : table_->selectedItems())
    paths.push_back(shown_.at(static_cast<std::size_t>(table_->indexOfTopLevelItem(item))).path);
  if (paths.empty()) return;
  const std::string refused = Comparison::take(session_, *second_.image, paths);
  emit valuesTaken();
  refresh();
  if (!refused.empty()) MessageBoxes::inform(this, uiText(CompareTexts::kNotTaken).arg(fromStd(refused)));
}

void CompareDlg::refresh() {
  shown_.clear();
  table_->clear();
  const bool twoFiles = modeShown_ == TwoFiles;
  if (reading() || !second_.image || (twoFiles && !first_.image)) {
    table_->setHeaderLabels(
        {uiText(CompareTexts::kParameter), uiText(CompareTexts::kPath), QString(), QString()});
    status_->setText(prompt());
  } else if (twoFiles) {
    showDifferences(*first_.image, first_.title);
  } else {
    showDifferences(*Comparison::workingState(session_), uiText(CompareTexts::kWorkingState));
  }
  updateControls();
  emit refreshed();
}

void CompareDlg::showDifferences(const ParameterImage& left, const QString& leftTitle) {
  shown_ = control::ParameterComparison::differences(left, *second_.image);
  table_->setHeaderLabels(
      {uiText(CompareTexts::kParameter), uiText(CompareTexts::kPath), leftTitle, second_.title});
  for (const control::Difference& difference : shown_)
    table_->addTopLevelItem(
        new QTreeWidgetItem({fromStd(difference.path.label()), fromStd(difference.path.name()),
                             fromStd(difference.left), fromStd(difference.right)}));
  // Each column as wide as its widest text, with room to tell them apart.
  for (int column = 0; column < table_->columnCount(); ++column) {
    table_->resizeColumnToContents(column);
    table_->setColumnWidth(column, table_->columnWidth(column) + kColumnGap);
  }
  status_->setText(shown_.empty()
                       ? uiText(CompareTexts::kNoDifferences)
                       : uiText(CompareTexts::kDifferences).arg(static_cast<qsizetype>(shown_.size())));
}

// What to do before there is anything to compare, or why there is not.
QString CompareDlg::prompt() const {
  if (reading()) return uiText(CompareTexts::kReading).arg(program_->currentIndex() + 1);
  if (!notice_.isEmpty()) return notice_;
  if (modeShown_ == WorkingWithFile) return uiText(CompareTexts::kChooseFile);
  if (modeShown_ == TwoFiles) return uiText(CompareTexts::kChooseFiles);
  return uiText(connected() ? CompareTexts::kReadProgram : CompareTexts::kNoLink);
}

// Nothing is chosen while a program is read; device programs need the link;
// values are taken only into the working state.
void CompareDlg::updateControls() {
  const bool idle = !reading();
  for (QWidget* control : std::initializer_list<QWidget*>{mode_, firstFile_, file_, program_, close_})
    control->setEnabled(idle);
  read_->setEnabled(idle && connected());
  take_->setEnabled(idle && modeShown_ != TwoFiles && !table_->selectedItems().isEmpty());
}

bool CompareDlg::connected() const {
  return session_.connection().isConnected();
}

}  // namespace orvane::ui
