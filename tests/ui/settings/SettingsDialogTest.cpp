// The set-up dialogs in the main window: both layouts before any device
// read, what the controls write into the set-up block, the dialog's own
// rules (slave output, help topics, keys, the name field), and settings
// that reach a simulated device and come back after reconnecting. Every
// case runs for both models, each with the window and the simulated device
// of its model.

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <optional>

#include "main/MainWindowFixture.h"
#include "model/Language.h"
#include "model/ParameterImage.h"
#include "model/ProductVariant.h"
#include "sim/DeviceStateFile.h"
#include "support/QueuedFrames.h"
#include "support/RecordingNotifier.h"
#include "ui/SimProcess.h"
#include "ui/common/ConnectionChoices.h"
#include "ui/common/MessageBoxes.h"
#include "ui/main/TopBar.h"
#include "ui/main/WindowParts.h"
#include "ui/pages/NumEdit.h"
#include "ui/pages/NumField.h"
#include "ui/settings/AttenuationGrid.h"
#include "ui/settings/CameraGroup.h"
#include "ui/settings/CameraPresetTable.h"
#include "ui/settings/ChoiceGroup.h"
#include "ui/settings/ConversionGroup.h"
#include "ui/settings/EnglishEdit.h"
#include "ui/settings/HelpButton.h"
#include "ui/settings/NetworkGroup.h"
#include "ui/settings/PriorityGroup.h"

namespace orvane::ui {

class SettingsDialogTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<ParameterImage> image_;
  std::unique_ptr<OrvaneDlg> window_;
  // The window's strips, pages and link machinery.
  WindowParts parts() const { return WindowParts(*window_); }
  QStringList messages_;

  // The model of the case running.
  static int model() {
    QFETCH_GLOBAL(int, model);
    return model;
  }
  // A simulated device of that model.
  static QStringList simulated(QStringList options = {}) {
    return options << "--model" << QString::number(model());
  }
  std::unique_ptr<SetupDialog> dialog() {
    auto d = SetupDialog::create(model(), *image_, parts().command(), window_.get());
    d->show();
    return d;
  }
  // Opens the settings from the tool bar and lets `act` work in the dialog.
  void inSettings(const std::function<void(SetupDialog*)>& act) {
    QVERIFY(QTest::qWaitFor([this] { return window_->isEnabled(); }, 10000));
    QMetaObject::Connection c = connect(window_.get(), &OrvaneDlg::settingsOpened, this, [&](SetupDialog* d) {
      QTimer::singleShot(0, d, [&, d] {
        act(d);
        if (d->isVisible()) d->reject();
      });
    });
    parts().topBar()->findChild<QPushButton*>("setting")->click();
    disconnect(c);
  }
  static void choose(QComboBox* list, int index) {
    list->setCurrentIndex(index);
    emit list->activated(index);
  }
  static void type(NumField* field, const QString& text) {
    field->edit()->setFocus();
    field->edit()->selectAll();
    QTest::keyClicks(field->edit(), text);
    QTest::keyClick(field->edit(), Qt::Key_Return);
  }
  SystemAreas areas() const {
    return image_->read([](const ImageData& d) { return d.system; });
  }

 private slots:
  void initTestCase_data() {
    QTest::addColumn<int>("model");
    QTest::newRow("7304") << 7304;
    QTest::newRow("736") << 736;
  }
  void init() {
    image_ = std::make_unique<ParameterImage>();
    window_ = MainWindowFixture::open(*image_, ProductVariant::forModel(model()));
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

  // Before any read both layouts show the start-up defaults; the camera
  // controls and the factory reset belong to model 7304 only. Screenshots
  // of both layouts in both languages.
  void bothLayoutsShowTheStartupDefaults() {
    const QString dir = QCoreApplication::applicationDirPath();
    const int model = this->model();
    for (int language : {1, 0}) {
      Language::setFlag(language);
      auto d = dialog();
      QCOMPARE(d->conversion()->deviceModeList()->currentText(), language ? "Master Mode" : "主机");
      QCOMPARE(d->conversion()->outputList()->currentText(), language ? "Analog Output" : "模拟输出");
      QVERIFY(d->conversion()->outputList()->isEnabled());
      QCOMPARE(d->conversion()->zeroDbfsField()->edit()->displayText(), "6dBu");
      PriorityGroup* p = d->priority();
      QCOMPARE(p->operatingModeList()->currentText(), language ? "Conference Mode" : "会议模式");
      QCOMPARE(p->simultaneousList()->currentText(), "8");
      for (int input = 0; input < PriorityGroup::kInputs; ++input) {
        QCOMPARE(p->thresholdField(input)->edit()->displayText(), "-38.0dBu");
        QCOMPARE(p->levelList(input)->currentIndex(), 0);
      }
      AttenuationGrid* a = p->attenuations();
      QCOMPARE(a->field(Attenuation::ConferenceRepresentative)->edit()->displayText(), "OFF");
      QCOMPARE(a->field(Attenuation::DiscussionCascade)->edit()->displayText(), "-20.0dB");
      QCOMPARE(a->chairmanField(1)->edit()->displayText(), "0.0dB");
      QVERIFY(!a->chairmanField(1)->isEnabled());
      QCOMPARE(d->opticalDelay()->list()->count(), 12);
      QCOMPARE(d->opticalDelay()->list()->itemText(11), "11*3.09mS");
      QCOMPARE(d->startupProgram()->list()->count(), 31);
      QCOMPARE(d->startupProgram()->list()->currentIndex(), 0);
      QCOMPARE(d->startupProgram()->list()->itemText(30), language ? "Device Program30" : "设备程序30");
      QCOMPARE(d->camera() != nullptr, model == 7304);
      QCOMPARE(d->network()->resetButton() != nullptr, model == 7304);
      QCOMPARE(d->findChildren<HelpButton*>().size(), model == 7304 ? 7 : 6);
      bool cameraCaption = false;
      for (const QLabel* label : d->findChildren<QLabel*>())
        cameraCaption |= label->text() == (language ? "CAMERA & PRIORITY" : "摄像头 & 优先级");
      QCOMPARE(cameraCaption, model == 7304);
      QVERIFY(d->width() <= 1366 && d->height() <= 740);
      QVERIFY(
          d->grab().save(dir + QStringLiteral("/settings-%1-%2.png").arg(model).arg(language ? "en" : "zh")));
    }
    QVERIFY(messages_.isEmpty());
  }

  // Without a link every change stays in the set-up block of the image.
  void controlsWriteTheSetupBlock() {
    auto d = dialog();
    PriorityGroup* p = d->priority();
    choose(p->levelList(0), 1);
    choose(p->levelList(7), 1);
    QCOMPARE(areas().setup[SetupOffset::ConferencePriority], 0x81);
    type(d->conversion()->zeroDbfsField(), "12");
    QCOMPARE(areas().setupWord(SetupOffset::ZeroDbfsReference), 920);

    // Discussion mode shows its own set; IN C's threshold lands there only.
    choose(p->operatingModeList(), 1);
    QCOMPARE(p->levelList(0)->currentIndex(), 0);
    type(p->thresholdField(2), "-10");
    QCOMPARE(areas().setupWord(SetupOffset::DiscussionThresholds + 4), 1100);
    QCOMPARE(areas().setupWord(SetupOffset::ConferenceThresholds + 4), 820);
    choose(p->operatingModeList(), 0);
    QCOMPARE(p->levelList(7)->currentIndex(), 1);
    QCOMPARE(p->thresholdField(2)->edit()->displayText(), "-38.0dBu");

    choose(p->simultaneousList(), 2);
    QCOMPARE(areas().setup[SetupOffset::ConferenceChannels], 2);
    type(p->attenuations()->field(Attenuation::DiscussionCascade), "-30");
    QCOMPARE(areas().setupWord(SetupOffset::DiscussionCascadeAttenuation), 500);
    choose(d->opticalDelay()->list(), 3);
    QCOMPARE(areas().setup[SetupOffset::OpticalDelay], 3);
    choose(d->startupProgram()->list(), 7);
    QCOMPARE(areas().startupProgram, 7);

    // Slave forces digital output, locks the list and the camera controls.
    choose(d->conversion()->deviceModeList(), 0);
    QCOMPARE(areas().setup[SetupOffset::ModeBits] & 3, 2);
    QCOMPARE(d->conversion()->outputList()->currentIndex(), 1);
    QVERIFY(!d->conversion()->outputList()->isEnabled());
    if (d->camera()) QVERIFY(!d->camera()->protocolList()->isEnabled());
    choose(d->conversion()->deviceModeList(), 1);
    QVERIFY(d->conversion()->outputList()->isEnabled());
    if (d->camera()) QVERIFY(d->camera()->protocolList()->isEnabled());

    // Enter and Escape leave the dialog open.
    QTest::keyClick(d.get(), Qt::Key_Escape);
    QTest::keyClick(d.get(), Qt::Key_Return);
    QVERIFY(d->isVisible());
  }

  // A slave found with analog output is reported once, in Chinese whatever
  // the language, and the list stays usable to correct it.
  void slaveWithAnalogOutputIsReported() {
    Language::setFlag(1);
    image_->modify([](ImageData& d) { d.system.setup[SetupOffset::ModeBits] = 0; });
    auto d = dialog();
    QTRY_COMPARE(messages_, QStringList{QStringLiteral("从机不能选择模拟输出！")});
    QVERIFY(d->conversion()->outputList()->isEnabled());
    QCOMPARE(image_->read([](const ImageData& d) { return d.system.setup[SetupOffset::ModeBits]; }), 0);
  }

  // Each help button opens its own topic in the current language.
  void helpTopics() {
    for (int language : {0, 1}) {
      Language::setFlag(language);
      auto d = dialog();
      QSet<QString> texts;
      for (HelpButton* button : d->findChildren<HelpButton*>()) {
        QString shown;
        connect(button, &HelpButton::helpOpened, this, [&](Dev_Set_Cap* window) {
          QTimer::singleShot(0, window, [&, window] {
            shown = window->textLabel()->text();
            window->accept();
          });
        });
        button->click();
        QCOMPARE(shown, Dev_Set_Cap::text(button->topic()));
        QVERIFY(shown.size() > 60);
        texts << shown;
      }
      // Model 736's dialog has no camera topic.
      QCOMPARE(texts.size(), Dev_Set_Cap::kTopics - (d->camera() ? 0 : 1));
    }
    QVERIFY(Dev_Set_Cap::text(Dev_Set_Cap::Topic::Network).contains(ConnectionChoices::kFactoryAddress));
  }

  // Only letters and digits reach the name field, typed or pasted; the
  // buttons do nothing without a link.
  void networkNameTakesLettersAndDigits() {
    auto d = dialog();
    EnglishEdit* name = d->network()->nameField();
    name->clear();
    QTest::keyClicks(name, "Ab c-1!");
    QCOMPARE(name->text(), "Abc1");
    QApplication::clipboard()->setText(QStringLiteral("x y,Z9中"));
    name->paste();
    QCOMPARE(name->text(), "Abc1xyZ9");
    d->network()->renameButton()->click();
    QCOMPARE(areas().networkName, std::string());
    QVERIFY(messages_.isEmpty());
  }

  // Settings made in the dialog reach the device; after a rename the
  // network link ends (the module restarts) with one message and the
  // dialog closes; reconnecting shows the device's settings.
  // The frames each control queues with a link open (the command's worker
  // is not running, so they wait in its queue): the start-up program as a
  // system item that names no program in its header, one set-up block for
  // the choice of slave mode, and the factory reset with eight zero bytes.
  void theFramesTheControlsQueue() {
    RecordingNotifier notifier;
    Command command(*image_, notifier);
    image_->modify([](ImageData& d) { d.connection.linkType = LinkType::Network; });
    auto d = SetupDialog::create(model(), *image_, command, nullptr);
    d->show();
    using Bytes = std::vector<std::uint8_t>;
    const auto payload = [](const SendData& f) { return Bytes(f.payload().begin(), f.payload().end()); };

    choose(d->startupProgram()->list(), 7);
    auto frames = takeQueuedFrames(command);
    QCOMPARE(frames.size(), 1u);
    QCOMPARE(frames[0].item(), 24);
    QCOMPARE(frames[0].value(), 0);
    QCOMPARE(payload(frames[0]), (Bytes{7, 0, 0, 0, 0, 0, 0, 0}));

    choose(d->conversion()->deviceModeList(), 0);
    frames = takeQueuedFrames(command);
    QCOMPARE(frames.size(), 1u);
    QCOMPARE(frames[0].item(), 52);
    QCOMPARE(frames[0].length(), std::size_t{54});

    if (!d->network()->resetButton()) return;  // model 736 offers no factory reset
    d->network()->resetButton()->click();
    frames = takeQueuedFrames(command);
    QCOMPARE(frames.size(), 1u);
    QCOMPARE(frames[0].item(), 49);
    QCOMPARE(payload(frames[0]), Bytes(8, 0));
    QCOMPARE(frames[0].replyKind, ReplyKind::NetworkFactoryReset);
  }

  // What the user is told after a network rename or factory reset: on the
  // RS-485 link the device's acknowledgement brings the success message and
  // a link lost with the operation outstanding its failure message; on the
  // network the module restarts and the lost network link is the message.
  void networkOperationMessagesOnEachLink() {
    Language::setFlag(1);
    SimProcess sim(simulated({"--serial"}));
    QVERIFY(sim.started());
    const auto operate = [this](bool rename) {
      inSettings([rename](SetupDialog* d) {
        QPushButton* button = rename ? d->network()->renameButton() : d->network()->resetButton();
        if (rename) d->network()->nameField()->setText("Hall7");
        button->click();
      });
    };
    struct Case {
      LinkType link;
      bool rename;
      std::optional<ReplyKind> lostWith;  // the link is lost with this mark instead of an answer
      QString message;
    };
    const std::vector<Case> cases{
        {LinkType::Serial, true, {}, "Successfully modify the network name."},
        {LinkType::Serial, false, {}, "Network Factory Reset Success."},
        {LinkType::Serial, true, ReplyKind::NetworkNameWrite, "Modify the network name fails."},
        {LinkType::Serial, false, ReplyKind::NetworkFactoryReset, "Network Factory Reset Failed."},
        {LinkType::Network, true, {}, "Unable to Open NetWork"},
        {LinkType::Network, false, {}, "Unable to Open NetWork"},
    };
    for (const Case& c : cases) {
      if (!c.rename && model() != 7304) continue;  // model 736 offers no factory reset
      if (!parts().connection().isConnected())
        QVERIFY(MainWindowFixture::connectAndRead(*window_, sim, c.link));
      messages_.clear();
      if (c.lostWith) {
        parts().notifier().post(Message::LinkLost, static_cast<std::intptr_t>(c.link),
                                static_cast<std::intptr_t>(*c.lostWith));
      } else {
        operate(c.rename);
      }
      QTRY_COMPARE_WITH_TIMEOUT(messages_, QStringList{c.message}, 10000);
    }
  }

  void settingsReachTheDeviceAndComeBack() {
    Language::setFlag(1);
    QTemporaryDir dir;
    const std::string state = dir.filePath("device.bin").toStdString();
    SimProcess sim(simulated({"--state", QString::fromStdString(state)}));
    QVERIFY(sim.started());
    QVERIFY(MainWindowFixture::connectAndRead(*window_, sim));

    bool closed = false;
    inSettings([&](SetupDialog* d) {
      choose(d->priority()->operatingModeList(), 1);
      type(d->priority()->thresholdField(5), "-20");
      choose(d->startupProgram()->list(), 12);
      if (d->camera()) type(d->camera()->presetTable()->presetField(0), "17");
      EnglishEdit* name = d->network()->nameField();
      name->setText("Hall7");
      d->network()->renameButton()->click();
      QTRY_VERIFY_WITH_TIMEOUT(!d->isVisible(), 15000);
      closed = true;
    });
    QVERIFY(closed);
    QCOMPARE(messages_, QStringList{QStringLiteral("Unable to Open NetWork")});

    DeviceData device;
    QTRY_VERIFY_WITH_TIMEOUT(!DeviceStateFile::load(state, device) && device.networkName.size() == 5, 10000);
    QCOMPARE(std::string(device.networkName.begin(), device.networkName.end()), "Hall7");
    QCOMPARE(device.setup[SetupOffset::ModeBits] & 4, 4);
    QCOMPARE(device.setup[SetupOffset::DiscussionThresholds + 10] |
                 device.setup[SetupOffset::DiscussionThresholds + 11] << 8,
             1000);
    QCOMPARE(device.startupProgram, 12);
    if (model() == 7304) QCOMPARE(device.extended[ExtendedOffset::Presets], 17);

    QVERIFY(MainWindowFixture::connectAndRead(*window_, sim));
    inSettings([&](SetupDialog* d) {
      QCOMPARE(d->priority()->operatingModeList()->currentIndex(), 1);
      QCOMPARE(d->priority()->thresholdField(5)->edit()->displayText(), "-20.0dBu");
      QCOMPARE(d->startupProgram()->list()->currentIndex(), 12);
      QCOMPARE(d->network()->nameField()->text(), "Hall7");
      if (d->camera()) QCOMPARE(d->camera()->presetTable()->presetField(0)->value(), 17);
    });
  }
};

}  // namespace orvane::ui

QTEST_MAIN(orvane::ui::SettingsDialogTest)
#include "SettingsDialogTest.moc"
