#include "ui/report/DataViewDlg.h"

#include <QDateTime>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "report/ExportName.h"
#include "report/ReportWorkbook.h"
#include "ui/common/FileTexts.h"
#include "ui/common/MessageBoxes.h"
#include "ui/common/SaveFileDialog.h"
#include "ui/common/UiText.h"
#include "ui/report/ReportTexts.h"

namespace orvane::ui {

namespace {

constexpr const char* kExtension = ".xlsx";
// Neighbouring groups of parameters alternate between two tints.
const std::array<QColor, 2> kGroupTints{QColor(255, 255, 255), QColor(226, 236, 248)};

// The local time, read through Qt: the C library's thread-safe reading of
// it differs by system (localtime_r, localtime_s).
std::tm localTimeNow() {
  const QDateTime now = QDateTime::currentDateTime();
  std::tm local{};
  local.tm_year = now.date().year() - 1900;
  local.tm_mon = now.date().month() - 1;
  local.tm_mday = now.date().day();
  local.tm_hour = now.time().hour();
  local.tm_min = now.time().minute();
  local.tm_sec = now.time().second();
  return local;
}

}  // namespace

DataViewDlg::DataViewDlg(ReportTable table, ReportHeading heading, QWidget* parent)
    : QDialog(parent), table_(std::move(table)), heading_(std::move(heading)) {
  setObjectName("report");
  setWindowTitle(uiText(ReportTexts::kTitle));
  auto* layout = new QVBoxLayout(this);
  list_ = new QTableWidget(ReportTable::kRows, ReportTable::kColumns, this);
  list_->setObjectName("reportList");
  list_->setShowGrid(true);
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list_->verticalHeader()->hide();
  layout->addWidget(list_, 1);
  auto* buttons = new QHBoxLayout;
  print_ = new QPushButton(uiText(ReportTexts::kPrint), this);
  auto* close = new QPushButton(uiText(ReportTexts::kClose), this);
  export_ = new QPushButton(uiText(ReportTexts::kExport), this);
  buttons->addStretch(1);
  for (QPushButton* b : {print_, close, export_}) buttons->addWidget(b);
  layout->addLayout(buttons);
  connect(print_, &QPushButton::clicked, this, &DataViewDlg::onPrint);
  connect(close, &QPushButton::clicked, this, &QDialog::reject);
  connect(export_, &QPushButton::clicked, this, &DataViewDlg::onExport);
  fillList();
  resize(1280, 700);
}

void DataViewDlg::fillList() {
  QStringList captions;
  for (int column = 0; column < ReportTable::kColumns; ++column) {
    const std::string_view caption = ReportTable::caption(column);
    captions << QString::fromLatin1(caption.data(), static_cast<qsizetype>(caption.size()));
    list_->setColumnWidth(column, column == 0 ? ReportTexts::kTypeWidth : ReportTexts::kChannelWidth);
  }
  list_->setHorizontalHeaderLabels(captions);
  for (int row = 0; row < ReportTable::kRows; ++row) {
    const QColor tint = kGroupTints[static_cast<std::size_t>(ReportTable::group(row) % 2)];
    for (int column = 0; column < ReportTable::kColumns; ++column) {
      auto* item = new QTableWidgetItem(QString::fromStdString(table_.cell(row, column)));
      item->setTextAlignment(Qt::AlignCenter);
      item->setBackground(tint);
      list_->setItem(row, column, item);
    }
  }
}

bool DataViewDlg::printOn(QPrinter& printer) {
  return ReportPrinter(table_, heading_).print(printer);
}

void DataViewDlg::onPrint() {
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
  // Seventeen columns read best across the page.
  printer.setPageOrientation(QPageLayout::Landscape);
  QPrintDialog dialog(&printer, this);
  dialog.setOption(QAbstractPrintDialog::PrintPageRange);
  if (dialog.exec() != QDialog::Accepted) return;
  if (!printOn(printer)) QMessageBox::warning(this, windowTitle(), tr("The print job could not be started."));
}

// An existing file is replaced as a whole, or kept as it was when the
// workbook cannot be written.
bool DataViewDlg::exportTo(const QString& path) {
  const AtomicFile::Result written =
      ReportWorkbook::write(table_, QDir::toNativeSeparators(path).toStdString());
  if (!written) {
    MessageBoxes::inform(this, FileTexts::notWritten(uiText(ReportTexts::kWriteFailed).arg(path), written));
    return false;
  }
  MessageBoxes::inform(this, uiText(ReportTexts::kSavedIn).arg(path));
  return true;
}

void DataViewDlg::onExport() {
  const QString proposed = QString::fromStdString(ExportName::propose(localTimeNow(), kExtension));
  const QString path = SaveFileDialog::choose(
      this, {uiText(ReportTexts::kExportTitle), proposed,
             uiText(ReportTexts::kExcelFiles) + QStringLiteral(";;") + uiText(ReportTexts::kAllFiles),
             QString::fromLatin1(kExtension)});
  if (!path.isEmpty()) exportTo(path);
}

}  // namespace orvane::ui
