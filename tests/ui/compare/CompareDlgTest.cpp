// The comparison of programs in the main window connected to a simulated
// device: two program files, the working state with a file (taking the
// file's values as one undoable step), and the working state with a program
// stored in the device, read while the window keeps answering and dropped
// when the link is lost.

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>
#include <functional>

#include "compare/ChangedProgram.h"
#include "editor/ProgramComparison.h"
#include "editor/ProgramOperations.h"
#include "main/MainWindowFixture.h"
#include "main/ScriptedChooser.h"
#include "ui/SimProcess.h"
#include "ui/common/MessageBoxes.h"
#include "ui/common/UiText.h"
#include "ui/compare/CompareDlg.h"
#include "ui/compare/CompareTexts.h"
#include "ui/main/ChannelStrip.h"
#include "ui/main/DisplayDlg.h"
#include "ui/main/TopBar.h"
#include "ui/pages/NumEdit.h"
#include "ui/pages/NumField.h"

namespace orvane::ui {

namespace {

namespace Comparison = editor::ProgramComparison;

control::ParameterPath path(std::string_view name) {
  return std::get<control::ParameterPath>(control::ParameterPath::parse(name));
}

// What the dialog's table lists: path, left value, right value per row.
QStringList rows(const CompareDlg& dialog) {
  QStringList listed;
  QTreeWidget* table = dialog.table();
  for (int row = 0; row < table->topLevelItemCount(); ++row) {
    const QTreeWidgetItem* item = table->topLevelItem(row);
    listed << item->text(CompareDlg::kPathColumn) + " " + item->text(CompareDlg::kLeftColumn) + " | " +
                  item->text(CompareDlg::kRightColumn);
  }
  return listed;
}

QString header(const CompareDlg& dialog, int column) {
  return dialog.table()->headerItem()->text(column);
}

}  // namespace

class CompareDlgTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<ParameterImage> image_;
  std::unique_ptr<OrvaneDlg> window_;
  std::unique_ptr<SimProcess> sim_;
  QTemporaryDir dir_;
  QStringList paths_;
  QStringList messages_;

  WindowParts parts() const { return WindowParts(*window_); }
  editor::EditorSession& session() const { return parts().session(); }

  QString writeProgram(const QString& name, const Changes& changes) {
    const QString file = writeChangedProgram(session(), QDir(dir_.path()), name, changes);
    if (file.isEmpty()) qWarning("%s not written", qPrintable(name));
    return file;
  }

  // Presses the tool bar's compare button and runs `steps` in the dialog
  // it opens, then closes it.
  void inComparison(const std::function<void(CompareDlg&)>& steps) {
    // A transfer's popup keeps the window disabled until it is gone.
    QTRY_VERIFY_WITH_TIMEOUT(window_->isEnabled() && !parts().transferPopup()->isVisible(), 15000);
    bool ran = false;
    connect(
        window_.get(), &OrvaneDlg::comparisonOpened, this,
        [&](CompareDlg* dialog) {
          QTimer::singleShot(0, dialog, [&, dialog] {
            steps(*dialog);
            ran = true;
            dialog->reject();
          });
        },
        Qt::SingleShotConnection);
    parts().topBar()->findChild<QPushButton*>("compare")->click();
    QVERIFY(ran);
  }

 private slots:
  void initTestCase() {
    QVERIFY(dir_.isValid());
    MessageBoxes::setSink([this](const QString&, const QString& text) { messages_ << text; });
    image_ = std::make_unique<ParameterImage>();
    window_ = MainWindowFixture::open(*image_);
    QVERIFY(window_);
    sim_ = std::make_unique<SimProcess>();
    QVERIFY(MainWindowFixture::connectAndRead(*window_, *sim_));
    parts().setFileChooser(std::make_unique<ScriptedChooser>(&paths_, session().variant()));
  }

  void cleanupTestCase() {
    window_.reset();
    sim_.reset();
    MessageBoxes::setSink({});
  }

  // Exactly the parameters changed between two files are listed, each with
  // both files' values under the files' names; nothing can be taken into
  // the working state from two files. A file of another kind is refused with
  // why, and compares nothing.
  void twoFilesListTheirDifferences() {
    const QString first = writeProgram("first", {{"in.A.gain", "-6"}});
    const QString second = writeProgram("second", {{"in.A.gain", "3"}, {"out.3.delay", "20ms"}});
    const QString garbage = dir_.filePath("garbage.txt");
    QFile(garbage).open(QIODevice::WriteOnly);
    inComparison([&](CompareDlg& dialog) {
      dialog.modeBox()->setCurrentIndex(CompareDlg::TwoFiles);
      QVERIFY(dialog.firstFileButton()->isVisible() && !dialog.readButton()->isVisible());
      QCOMPARE(dialog.statusLine()->text(), uiText(CompareTexts::kChooseFiles));
      paths_ = {first, second};
      dialog.firstFileButton()->click();
      QCOMPARE(dialog.table()->topLevelItemCount(), 0);
      dialog.fileButton()->click();
      const Comparison::Snapshot working = Comparison::workingState(session());
      QCOMPARE(rows(dialog),
               QStringList({"in.A.gain -6.0dB | 3.0dB",
                            "out.3.delay " + QString::fromStdString(path("out.3.delay").text(*working)) +
                                " | 20ms"}));
      QCOMPARE(dialog.table()->topLevelItem(0)->text(CompareDlg::kParameterColumn),
               QString::fromStdString(path("in.A.gain").label()));
      QCOMPARE(header(dialog, CompareDlg::kLeftColumn), QFileInfo(first).fileName());
      QCOMPARE(header(dialog, CompareDlg::kRightColumn), QFileInfo(second).fileName());
      dialog.table()->selectAll();
      QVERIFY(!dialog.takeButton()->isEnabled());

      paths_ = {garbage};
      dialog.fileButton()->click();
      QCOMPARE(dialog.table()->topLevelItemCount(), 0);
      QVERIFY2(dialog.statusLine()->text().contains(garbage), qPrintable(dialog.statusLine()->text()));
    });
  }

  // The working state against a file: the selected rows' values of the file
  // are taken as one step, the window shows them, the comparison comes out
  // equal; undoing the step brings the differences back.
  void takingFileValuesIsOneUndoableStep() {
    const QString before = QString::fromStdString(path("in.A.gain").text(*image_));
    const QString file =
        writeProgram("take", {{"in.A.gain", "-9"}, {"in.B.mute", "on"}, {"out.2.delay", "5ms"}});
    const std::size_t steps = session().history().steps();
    inComparison([&](CompareDlg& dialog) {
      QVERIFY(!dialog.firstFileButton()->isVisible());
      paths_ = {file};
      dialog.fileButton()->click();
      QCOMPARE(header(dialog, CompareDlg::kLeftColumn), uiText(CompareTexts::kWorkingState));
      QCOMPARE(dialog.table()->topLevelItemCount(), 3);
      QVERIFY(!dialog.takeButton()->isEnabled());
      // Input A's gain and output 2's delay; input B stays muted as it is.
      dialog.table()->topLevelItem(0)->setSelected(true);
      dialog.table()->topLevelItem(2)->setSelected(true);
      QSignalSpy taken(&dialog, &CompareDlg::valuesTaken);
      dialog.takeButton()->click();
      QCOMPARE(taken.count(), 1);
      QCOMPARE(rows(dialog).size(), 1);
      QVERIFY(rows(dialog).front().startsWith("in.B.mute "));
      // The window showed the taken gain in input A's strip.
      QCOMPARE(parts().inputStrip(0)->gainField()->edit()->text(), QStringLiteral("-9.0dB"));
      dialog.table()->selectAll();
      dialog.takeButton()->click();
      QCOMPARE(dialog.table()->topLevelItemCount(), 0);
      QCOMPARE(dialog.statusLine()->text(), uiText(CompareTexts::kNoDifferences));
    });
    QCOMPARE(QString::fromStdString(path("in.A.gain").text(*image_)), QStringLiteral("-9.0dB"));
    QCOMPARE(session().history().steps(), steps + 2);
    session().history().undo();
    session().history().undo();
    QCOMPARE(QString::fromStdString(path("in.A.gain").text(*image_)), before);
    inComparison([&](CompareDlg& dialog) {
      paths_ = {file};
      dialog.fileButton()->click();
      QCOMPARE(dialog.table()->topLevelItemCount(), 3);
    });
    QCOMPARE(messages_, QStringList());
  }

  // A program stored in the device is read on request while the window
  // keeps answering; its values are compared and can be taken. When the
  // link is lost the program read is no longer shown, and no program can be
  // read without a link.
  void storedProgramIsReadAndDroppedWhenTheLinkEnds() {
    const control::ParameterPath gain = path("in.C.gain");
    const std::string kept = gain.text(*image_);
    QVERIFY(gain.set(*image_, nullptr, "-12", false).error.empty());
    using editor::ProgramOperations::Until;
    QVERIFY(editor::ProgramOperations::store(session(), 5, "Compared", Until::Queued).done());
    QVERIFY(gain.set(*image_, nullptr, kept, false).error.empty());
    QTRY_VERIFY_WITH_TIMEOUT(parts().transferPopup()->isVisible(), 5000);
    inComparison([&](CompareDlg& dialog) {
      dialog.modeBox()->setCurrentIndex(CompareDlg::WorkingWithStored);
      QVERIFY(dialog.readButton()->isEnabled() && !dialog.takeButton()->isEnabled());
      dialog.programBox()->setCurrentIndex(4);
      dialog.readButton()->click();
      QVERIFY(dialog.reading());
      QVERIFY(!dialog.readButton()->isEnabled() && !dialog.modeBox()->isEnabled());
      QCOMPARE(dialog.statusLine()->text(), uiText(CompareTexts::kReading).arg(5));
      QTRY_VERIFY_WITH_TIMEOUT(!dialog.reading(), 15000);
      QCOMPARE(rows(dialog), QStringList("in.C.gain " + QString::fromStdString(kept) + " | -12.0dB"));
      QCOMPARE(header(dialog, CompareDlg::kRightColumn),
               uiText(CompareTexts::kProgram).arg(5).arg("Compared"));
      QVERIFY(dialog.programBox()->itemText(4).endsWith("Compared"));

      window_->disconnectLink();
      QCOMPARE(dialog.table()->topLevelItemCount(), 0);
      QCOMPARE(dialog.statusLine()->text(), uiText(CompareTexts::kLinkLost));
      QVERIFY(!dialog.readButton()->isEnabled());
    });
    inComparison([&](CompareDlg& dialog) {
      dialog.modeBox()->setCurrentIndex(CompareDlg::WorkingWithStored);
      QVERIFY(!dialog.readButton()->isEnabled());
      QCOMPARE(dialog.statusLine()->text(), uiText(CompareTexts::kNoLink));
    });
    QCOMPARE(messages_, QStringList());
  }
};

}  // namespace orvane::ui

QTEST_MAIN(orvane::ui::CompareDlgTest)
#include "CompareDlgTest.moc"
