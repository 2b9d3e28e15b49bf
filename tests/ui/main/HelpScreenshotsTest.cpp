// The pictures of the help documents: every window and dialog the help
// shows, in both languages, taken from an editor connected to a simulated
// device with a room's worth of settings. They are written to
// help-screenshots/ beside this test; scripts/help-screenshots copies them
// into resources/help/images. The last case checks that the pictures taken
// are exactly the pictures the help documents show.

#include <QDir>
#include <QRegularExpression>
#include <QSet>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>
#include <functional>

#include "MainWindowFixture.h"
#include "ScriptedChooser.h"
#include "compare/ChangedProgram.h"
#include "model/Language.h"
#include "model/NameField.h"
#include "model/ParameterImage.h"
#include "model/ProgramStore.h"
#include "ui/SimProcess.h"
#include "ui/common/MessageBoxes.h"
#include "ui/compare/CompareDlg.h"
#include "ui/locks/LockDataDlg.h"
#include "ui/locks/PasswordStepDlg.h"
#include "ui/locks/Set_Warn_Dlg.h"
#include "ui/main/ChannelStrip.h"
#include "ui/main/ConnectDlg.h"
#include "ui/main/CrosspointGrid.h"
#include "ui/main/DeviceDlg.h"
#include "ui/main/StripBank.h"
#include "ui/main/TopBar.h"
#include "ui/main/WindowParts.h"
#include "ui/pages/EqSection.h"
#include "ui/pages/InDataDlg.h"
#include "ui/pages/OutDataDlg.h"
#include "ui/settings/SetupDialog.h"
#include "ui/widgets/ToggleButton.h"

namespace orvane::ui {

namespace {

// Channel names of a lecture hall, as an installer would type them in
// either language (at most eight bytes each).
const std::array<std::array<const char*, 8>, 2> kInputNames{{
    {"讲台", "主席", "代表", "吊顶左", "吊顶右", "无线1", "无线2", "媒体"},
    {"Lectern", "Chair", "Delegate", "Ceil L", "Ceil R", "Radio 1", "Radio 2", "Media"},
}};
const std::array<std::array<const char*, 8>, 2> kOutputNames{{
    {"主扩左", "主扩右", "低音", "延时", "录音", "直播", "监听", "环路"},
    {"Main L", "Main R", "Sub", "Delay", "Record", "Stream", "Monitor", "Loop"},
}};

// Programs stored in the device; the third is the current one.
const std::array<std::array<const char*, 5>, 2> kProgramNames{{
    {"全体会议", "分组讨论", "讲座", "音乐会", "多媒体"},
    {"Plenary", "Panel", "Lecture", "Concert", "Media"},
}};

// Room EQ Wizard filter exports for the lectern and the chairman's
// microphone.
constexpr std::string_view kLecternFilters =
    "Filter Settings file\n"
    "Equaliser: Generic\n"
    "Filter  1: ON  LS 6dB   Fc   120 Hz  Gain  -6.0 dB\n"
    "Filter  2: ON  PK       Fc   250 Hz  Gain  -4.0 dB  Q  1.40\n"
    "Filter  3: ON  PK       Fc  2500 Hz  Gain   5.0 dB  Q  1.00\n"
    "Filter  4: ON  HS 12dB  Fc  9000 Hz  Gain  -3.0 dB\n";
constexpr std::string_view kChairFilters =
    "Filter  1: ON  PK       Fc   180 Hz  Gain  -8.0 dB  Q  2.00\n"
    "Filter  2: ON  PK       Fc  4000 Hz  Gain   3.0 dB  Q  0.70\n";

}  // namespace

class HelpScreenshotsTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<ParameterImage> image_;
  std::unique_ptr<OrvaneDlg> window_;
  // The window's strips, pages and link machinery.
  WindowParts parts() const { return WindowParts(*window_); }
  std::unique_ptr<SimProcess> sim_;
  QDir out_;
  QSet<QString> taken_;
  QStringList messages_;
  // The files the window's file actions open.
  QStringList paths_;

  QString suffix() const { return Language::isEnglish() ? QStringLiteral("en") : QStringLiteral("zh"); }

  void save(QWidget* widget, const QString& name) {
    // A tab just brought forward lays itself out on the next turn.
    QCoreApplication::processEvents();
    const QString file = QStringLiteral("%1-%2.png").arg(name, suffix());
    QVERIFY2(widget->grab().save(out_.filePath(file)), qPrintable(file));
    taken_.insert(file);
  }
  void showAndSave(QWidget& widget, const QString& name) {
    widget.show();
    QVERIFY(QTest::qWaitForWindowExposed(&widget));
    save(&widget, name);
  }
  // Runs `press`, which opens a modal dialog announced by `opened`; the
  // dialog is photographed once it shows, then closed.
  template <typename Dialog>
  void saveModal(void (OrvaneDlg::*opened)(Dialog*), const std::function<void()>& press,
                 const QString& name) {
    bool shown = false;
    connect(
        window_.get(), opened, this,
        [&](Dialog* dialog) {
          QTimer::singleShot(0, dialog, [&, dialog] {
            save(dialog, name);
            shown = true;
            dialog->reject();
          });
        },
        Qt::SingleShotConnection);
    press();
    QVERIFY2(shown, qPrintable(name));
  }

  // Channels, programs and the WiFi network named in the language shown.
  void nameEverything() {
    const int language = Language::isEnglish() ? 1 : 0;
    image_->modify([&](ImageData& d) {
      for (std::size_t p = 0; p < kProgramNames[language].size(); ++p)
        NameField::TextToField(kProgramNames[language][p], recordName(d.programs[p]));
      const std::vector<std::uint8_t> current =
          NameField::TextToField(kProgramNames[language][2], kProgramNameBytes);
      std::ranges::copy(current, d.currentProgramName.begin());
      d.system.networkName = "LectureHall";
      for (int n = 0; n < kChannels; ++n) {
        for (Side side : {Side::Input, Side::Output}) {
          const char* name = (side == Side::Input ? kInputNames : kOutputNames)[language][n];
          const std::vector<std::uint8_t> field = NameField::TextToField(name, kNameBytes);
          std::ranges::copy(field, d.edited.block(side, n).begin());
        }
      }
    });
    window_->ApplyLanguage();
    window_->RefreshAll();
  }

  // A lectern microphone with a low cut, an AGC and a compressor; main
  // loudspeakers with a Butterworth high-pass, a delay, a compressor and a
  // limiter.
  void setProcessing() {
    CrossoverPair lectern = image_->crossover(Side::Input, 0);
    lectern.XFQCY_Lo = 80, lectern.XSLope_Lo = 2;
    image_->setCrossover(Side::Input, 0, lectern);
    for (const auto& [field, code] : {std::pair{InputField::AGC_TargetLevel, 600},
                                      {InputField::AGC_Threshold, 350},
                                      {InputField::AGC_Ratio, 21},
                                      {InputField::Comp_Level, 200},
                                      {InputField::Comp_ratio, 31}})
      image_->setField(Side::Input, 0, field, code);
    CrossoverPair main = image_->crossover(Side::Output, 0);
    main.XFQCY_Lo = 60, main.XMode_Lo = 2, main.XSLope_Lo = 2;
    image_->setCrossover(Side::Output, 0, main);
    for (const auto& [field, code] : {std::pair{OutputField::Delay, 240},
                                      {OutputField::Comp_Level, 240},
                                      {OutputField::Comp_ratio, 21},
                                      {OutputField::Lim_Threshold, 360}})
      image_->setField(Side::Output, 0, field, code);
    parts().filters().channelReloaded(Side::Input, 0);
    parts().filters().channelReloaded(Side::Output, 0);
  }

  // Input page of `channel` with the Room EQ Wizard filters in its bands.
  void importFilters(int channel, std::string_view filters) {
    window_->SelectPage(Page::Input, channel);
    const std::string refused = parts().inputPage()->eq()->importFilters(filters);
    QVERIFY2(refused.empty(), refused.c_str());
  }

  // The working state compared with a rehearsal's program file that
  // differs in a few values, the first two rows selected.
  void saveComparison() {
    const QString file = writeChangedProgram(parts().session(), out_, QStringLiteral("rehearsal"),
                                             {{"in.A.gain", "-4"},
                                              {"in.A.eq.3.gain", "2"},
                                              {"in.B.mute", "on"},
                                              {"matrix.C.2", "on"},
                                              {"out.1.delay", "12ms"},
                                              {"out.2.lim.threshold", "-6"}});
    QVERIFY(!file.isEmpty());
    paths_ = {file};
    connect(
        window_.get(), &OrvaneDlg::comparisonOpened, this,
        [](CompareDlg* dialog) {
          dialog->fileButton()->click();
          for (int row : {0, 1}) dialog->table()->topLevelItem(row)->setSelected(true);
        },
        Qt::SingleShotConnection);
    saveModal(
        &OrvaneDlg::comparisonOpened, [this] { window_->onCompare(); }, QStringLiteral("compare"));
    QFile::remove(file);
  }

  void savePageTabs(ChannelPage* page, const QString& name) {
    for (int tab : {1, 2}) {
      page->tabs()->setCurrentIndex(tab);
      save(page, QStringLiteral("%1-%2").arg(name).arg(tab == 1 ? "channel" : "dynamics"));
    }
    page->tabs()->setCurrentIndex(0);
  }

 private slots:
  void initTestCase() {
    out_ = QDir(QCoreApplication::applicationDirPath() + QStringLiteral("/help-screenshots"));
    QVERIFY(out_.removeRecursively() || !out_.exists());
    QVERIFY(out_.mkpath(QStringLiteral(".")));
    MessageBoxes::setSink([this](const QString&, const QString& text) { messages_ << text; });
    image_ = std::make_unique<ParameterImage>();
    window_ = MainWindowFixture::open(*image_);
    QVERIFY(window_);
    sim_ = std::make_unique<SimProcess>(QStringList{QStringLiteral("--moving-levels")});
    QVERIFY(MainWindowFixture::connectAndRead(*window_, *sim_));
    parts().setFileChooser(std::make_unique<ScriptedChooser>(&paths_, parts().session().variant()));
    // Room EQ for two microphones; the lectern also feeds the right
    // loudspeaker, and the two main loudspeakers are linked.
    importFilters(1, kChairFilters);
    importFilters(0, kLecternFilters);
    // Pressed with the mouse, it is a step the tool bar's Undo names.
    QTest::mouseClick(parts().crosspointGrid()->button(0, 1), Qt::LeftButton);
    setProcessing();
    parts().linkGroups().join(Side::Output, 0, 1);
    image_->modify([](ImageData& d) { d.currentProgramNumber = 3; });
    window_->RefreshAll();
  }

  void cleanupTestCase() {
    window_->disconnectLink();
    window_.reset();
    sim_.reset();
    image_.reset();
    MessageBoxes::setSink({});
    Language::setFlag(0);
  }

  void everyWindowInBothLanguages() {
    for (int language : {0, 1}) {
      Language::setFlag(language);
      nameEverything();
      window_->SelectPage(Page::Input, 0);
      // The chairman's curve beside the lectern's (a full refresh hid it).
      parts().inputStrip(1)->curveButton()->click();
      // Let the meters show the device's levels.
      QTest::qWait(400);
      save(window_.get(), QStringLiteral("main"));
      save(parts().topBar(), QStringLiteral("toolbar"));
      savePageTabs(parts().inputPage(), QStringLiteral("input"));
      window_->SelectPage(Page::Output, 0);
      save(parts().outputPage(), QStringLiteral("output-eq"));
      savePageTabs(parts().outputPage(), QStringLiteral("output"));
      window_->SelectPage(Page::Matrix, 0);
      save(window_.get(), QStringLiteral("matrix"));
      window_->SelectPage(Page::Input, 0);

      ConnectionChoices choices;
      choices.serialPort = QStringLiteral("ttyUSB0");
      std::array<std::uint8_t, ConnectionState::kMaxDeviceId> found{};
      found[0] = 1, found[2] = 3, found[16] = 17;
      ConnectDlg connectDialog(window_.get(), choices,
                               {{QStringLiteral("ttyS0")}, {QStringLiteral("ttyUSB0"), true}}, found);
      showAndSave(connectDialog, QStringLiteral("connect"));
      DeviceDlg deviceDialog(window_.get(), true, true, found);
      showAndSave(deviceDialog, QStringLiteral("device-id"));
      saveModal(
          &OrvaneDlg::programDialogOpened, [this] { window_->onPrograms(); }, QStringLiteral("programs"));
      saveModal(
          &OrvaneDlg::reportOpened, [this] { window_->onReport(); }, QStringLiteral("report"));
      saveComparison();
      for (int model : {7304, 736}) {
        const auto setup = SetupDialog::create(model, *image_, parts().command(), window_.get());
        showAndSave(*setup, QStringLiteral("setup-%1").arg(model));
      }

      using Step = PasswordStep;
      const std::array<std::pair<Step, const char*>, 4> steps{{{Step::NoPWLockDlg, "lock-no-password"},
                                                               {Step::SetPWDlg, "lock-set-password"},
                                                               {Step::InPutPWDlg, "lock-password"},
                                                               {Step::MDLockDlg, "lock-menu"}}};
      for (const auto& [step, name] : steps) {
        PasswordStepDlg dialog(step, window_.get());
        showAndSave(dialog, QString::fromLatin1(name));
      }
      LockState locks = image_->read([](const ImageData& d) { return d.locks; });
      for (int flag : {LockFlag::InputLabel, LockFlag::InputGain, LockFlag::InputLink, LockFlag::Settings})
        locks.setLocked(flag, true);
      LockDataDlg lockDialog(locks, window_.get());
      showAndSave(lockDialog, QStringLiteral("lock-select"));
      Set_Warn_Dlg warning(window_.get(), Set_Warn_Dlg::Topic::Setting);
      showAndSave(warning, QStringLiteral("lock-warning"));
      image_->modify([&](ImageData& d) { d.locks = locks; });
      window_->ApplyLocks();
      save(parts().bank(Side::Input), QStringLiteral("locked-inputs"));
      image_->modify([](ImageData& d) { d.locks = {}; });
      window_->ApplyLocks();
    }
    QCOMPARE(messages_, QStringList());
  }

  // The documents show what was taken, no more and no less, and each
  // picture they show is there beside them.
  void theHelpShowsEveryPictureTaken() {
    const QDir help(QStringLiteral(ORVANE_HELP_DIR));
    const QStringList documents = help.entryList({QStringLiteral("*.html")}, QDir::Files);
    QCOMPARE(documents.size(), 4);
    QSet<QString> shown;
    const QRegularExpression image(QStringLiteral("src=\"images/([^\"]+\\.png)\""));
    for (const QString& name : documents) {
      QFile document(help.filePath(name));
      QVERIFY(document.open(QIODevice::ReadOnly));
      const QString text = QString::fromUtf8(document.readAll());
      for (const QRegularExpressionMatch& m : image.globalMatch(text)) shown.insert(m.captured(1));
    }
    for (const QString& file : shown) {
      QVERIFY2(taken_.contains(file), qPrintable(file + " is shown but not taken"));
      QVERIFY2(help.exists(QStringLiteral("images/") + file), qPrintable(file + " is not in the help"));
    }
    for (const QString& file : taken_)
      QVERIFY2(shown.contains(file), qPrintable(file + " is taken but not shown"));
  }
};

}  // namespace orvane::ui

QTEST_MAIN(orvane::ui::HelpScreenshotsTest)
#include "HelpScreenshotsTest.moc"
