// The report window: its table, the spreadsheet export read back by an
// independent reader, and the printed pages.

#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include "MainWindowFixture.h"
#include "SaveDialogDriver.h"
#include "model/Language.h"
#include "model/ParameterImage.h"
#include "support/FileSizeLimit.h"
#include "ui/common/MessageBoxes.h"
#include "ui/main/TopBar.h"
#include "ui/main/WindowParts.h"
#include "ui/report/DataViewDlg.h"

namespace orvane::ui {

class ReportTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<ParameterImage> image_;
  std::unique_ptr<OrvaneDlg> window_;
  // The window's strips, pages and link machinery.
  WindowParts parts() const { return WindowParts(*window_); }
  QStringList messages_;
  QTemporaryDir dir_;

  // Opens the report from its button and hands it to `use`.
  void withReport(const std::function<void(DataViewDlg*)>& use) {
    QMetaObject::Connection c = connect(window_.get(), &OrvaneDlg::reportOpened, this, [&](DataViewDlg* d) {
      QTimer::singleShot(0, d, [&, d] {
        use(d);
        d->reject();
      });
    });
    parts().topBar()->findChild<QPushButton*>("report")->click();
    disconnect(c);
  }
  static QString run(const QString& program, const QStringList& arguments) {
    QProcess p;
    p.start(program, arguments);
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
  }

 private slots:
  void init() {
    image_ = std::make_unique<ParameterImage>();
    window_ = MainWindowFixture::open(*image_);
    QVERIFY(window_);
    messages_.clear();
    MessageBoxes::setSink([this](const QString&, const QString& text) { messages_ << text; });
  }
  void cleanup() {
    MessageBoxes::setSink({});
    window_.reset();
    image_.reset();
    Language::setFlag(0);
  }

  // Every cell of the exported workbook, read by openpyxl (of the system's
  // Python, where the Debian package puts it), is the cell of
  // the report; an existing file is replaced.
  void theExportHoldsTheTable() {
    image_->setField(Side::Input, 1, InputField::Gain, 250);
    image_->modify([](ImageData& d) { d.locks.setLocked(LockFlag::OutputEq, true); });
    const QString path = dir_.filePath("report.xlsx");
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
    old.close();
    QStringList shown;
    withReport([&](DataViewDlg* d) {
      QVERIFY(d->exportTo(path));
      for (int row = 0; row < d->list()->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < d->list()->columnCount(); ++column)
          cells << d->list()->item(row, column)->text();
        shown << cells.join('\t');
      }
    });
    QCOMPARE(messages_, QStringList{QStringLiteral("导出文件保存于%1!").arg(path)});
    const QString script = QStringLiteral(
        "import openpyxl,sys\n"
        "ws=openpyxl.load_workbook(sys.argv[1])['ProcessorData']\n"
        "for r in ws.iter_rows(values_only=True): print('\\t'.join('' if v is None else str(v) for v in "
        "r))\n");
    const QStringList lines = run("/usr/bin/python3", {"-c", script, path}).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 72);
    QCOMPARE(lines.front().section('\t', 0, 1), QStringLiteral("Type\tCH_A"));
    for (int row = 0; row < 71; ++row) QCOMPARE(lines[row + 1], shown[row]);
    QVERIFY(shown[2].contains("-5.0dB"));
    QVERIFY(shown[36].endsWith("锁定"));
  }

  // The export's dialog proposes the local time as the name (fourteen
  // digits and ".xlsx") and appends ".xlsx" to a typed name before it asks
  // whether to replace a file: "No" shows the dialog again (cancelled here)
  // and keeps the file, "Yes" replaces it with the workbook.
  void theExportAsksBeforeReplacingAFile() {
    const QString path = dir_.filePath("asked.xlsx");
    QFile earlier(path);
    QVERIFY(earlier.open(QIODevice::WriteOnly) && earlier.write("earlier") == 7);
    earlier.close();
    const QString question = QStringLiteral("asked.xlsx 已存在。\n要替换它吗？");
    for (const bool answer : {false, true}) {
      messages_.clear();
      MessageBoxes::setSink([this](const QString&, const QString& text) { messages_ << text; }, answer);
      const SaveDialogDriver driver(dir_.path(), {"asked"});
      const QString before = QDateTime::currentDateTime().toString("yyyyMMddHHmmss");
      withReport([](DataViewDlg* d) { d->exportButton()->click(); });
      const QString after = QDateTime::currentDateTime().toString("yyyyMMddHHmmss");
      QCOMPARE(driver.shown(), answer ? 1 : 2);
      const QString proposed = driver.proposed().front();
      QVERIFY2(proposed.endsWith(".xlsx") && proposed.chopped(5) >= before && proposed.chopped(5) <= after,
               qPrintable(proposed));
      QCOMPARE(messages_, answer ? QStringList({question, QStringLiteral("导出文件保存于%1!").arg(path)})
                                 : QStringList{question});
      QVERIFY(earlier.open(QIODevice::ReadOnly));
      QCOMPARE(earlier.read(2), answer ? QByteArray("PK") : QByteArray("ea"));  // a workbook is a zip file
      earlier.close();
    }
  }

  // A disk that fills up during the export keeps the file that was there
  // and says so.
  void aFailedExportKeepsTheEarlierFile() {
    Language::setFlag(1);
    const QString path = dir_.filePath("kept.xlsx");
    QFile earlier(path);
    QVERIFY(earlier.open(QIODevice::WriteOnly) && earlier.write("earlier") == 7);
    earlier.close();
    withReport([&](DataViewDlg* d) {
      const FileSizeLimit fullDisk(1000);
      QVERIFY(!d->exportTo(path));
    });
    QCOMPARE(messages_, QStringList{QStringLiteral("The spreadsheet could not be written to %1.\n"
                                                   "The file that was there is kept unchanged.")
                                        .arg(path)});
    QVERIFY(earlier.open(QIODevice::ReadOnly));
    QCOMPARE(earlier.readAll(), QByteArray("earlier"));
    QCOMPARE(QDir(dir_.path()).entryList({"*kept*"}, QDir::Files | QDir::Hidden), QStringList{"kept.xlsx"});
  }

  // Printed to PDF: the pages the layout counts, page numbers, cells; the
  // first page and the window as pictures.
  void printingAndLook() {
    const QString pdf = dir_.filePath("report.pdf");
    const QString shots = QCoreApplication::applicationDirPath();
    for (int language : {0, 1}) {
      Language::setFlag(language);
      withReport([&](DataViewDlg* d) {
        QVERIFY(d->grab().save(shots + QStringLiteral("/report-%1.png").arg(language ? "en" : "zh")));
        if (!language) return;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printer.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
        printer.setPageOrientation(QPageLayout::Landscape);
        QVERIFY(d->printOn(printer));
      });
    }
    const QString info = run("pdfinfo", {pdf});
    const int pages = info.section("Pages:", 1).trimmed().section('\n', 0, 0).toInt();
    QVERIFY2(pages >= 2, qPrintable(info));
    const QString text = run("pdftotext", {"-layout", pdf, "-"});
    QVERIFY(text.contains(QStringLiteral("Page 1 of %1").arg(pages)));
    QVERIFY(text.contains(QStringLiteral("Page %1 of %1").arg(pages)));
    QVERIFY(text.contains("CH_A") && text.contains("EQ9 Q") && text.contains("Orvane parameter report"));
    run("pdftoppm", {"-png", "-r", "60", "-f", "1", "-l", "1", pdf, shots + "/report-page"});
  }
};

}  // namespace orvane::ui

QTEST_MAIN(orvane::ui::ReportTest)
#include "ReportTest.moc"
