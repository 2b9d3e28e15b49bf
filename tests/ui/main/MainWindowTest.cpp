// The main window against a real orvane-sim program over loopback TCP and a
// pseudo-terminal RS-485 bus.

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <thread>

#include "link/SystemLinks.h"
#include "model/ParameterImage.h"
#include "model/ProductVariant.h"
#include "sim/DeviceState.h"
#include "sim/DeviceStateFile.h"
#include "ui/SimProcess.h"
#include "ui/common/MessageBoxes.h"
#include "ui/main/ChannelStrip.h"
#include "ui/main/DisplayDlg.h"
#include "ui/main/OrvaneDlg.h"
#include "ui/main/SystemTransports.h"
#include "ui/main/WindowParts.h"
#include "ui/widgets/Fader.h"
#include "ui/widgets/GradientProgressCtrl.h"
#include "ui/widgets/SLamp.h"

namespace orvane::ui {

class MainWindowTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<ParameterImage> image_;
  std::unique_ptr<OrvaneDlg> window_;
  // The window's strips, pages and link machinery.
  WindowParts parts() const { return WindowParts(*window_); }
  QStringList messages_;

  void openWindow(const ProductVariant& variant = ProductVariant::builtDefault()) {
    window_.reset();
    image_ = std::make_unique<ParameterImage>();
    // A wider answer window than a real bus needs, so a busy test machine
    // does not miss a device's answer.
    Timings timings;
    timings.serialIdProbe = std::chrono::milliseconds(100);
    window_ = std::make_unique<OrvaneDlg>(*image_, SystemLinks::attach, SystemTransports::listSerialPorts,
                                          timings, variant);
    window_->show();
  }
  bool connected() { return parts().connection().isConnected(); }
  // Connects through the dialog the way a user does.
  void connectThroughDialog(const QString& address) {
    connect(
        window_.get(), &OrvaneDlg::connectDialogOpened, this,
        [address](ConnectDlg* dialog) {
          QTimer::singleShot(0, dialog, [dialog, address] {
            dialog->addressField()->setText(address);
            dialog->findChild<QPushButton*>("networkConnect")->click();
          });
        },
        Qt::SingleShotConnection);
    window_->onLinkButton();
  }

 private slots:
  void init() {
    Language::setFlag(0);
    messages_.clear();
    MessageBoxes::setSink([this](const QString&, const QString& text) { messages_ << text; });
    openWindow();
  }

  void cleanup() {
    window_.reset();
    image_.reset();
    MessageBoxes::setSink(nullptr);
    Language::setFlag(0);
  }

  // A rename over the network ends the link (the module restarts): the
  // lost link is the only message, never followed by a success.
  void aNetworkRenameHasOneOutcome() {
    SimProcess sim;
    QVERIFY(window_->connectTo(LinkType::Network, sim.networkTarget(), 0));
    QTRY_VERIFY_WITH_TIMEOUT(!parts().transferPopup()->transferInProgress() && window_->isEnabled(), 15000);
    image_->modify([](ImageData& d) { d.system.networkName = "Hall2"; });
    QVERIFY(parts().command().SendSystemItem(0, SystemItem::NetworkName));
    QTRY_VERIFY_WITH_TIMEOUT(!parts().connection().isConnected(), 10000);
    QTest::qWait(500);
    QCOMPARE(messages_.size(), 1);
  }

  void connectingFillsStatusAndImage() {
    QTemporaryDir dir;
    const QString state = dir.filePath("device.bin");
    DeviceData data;
    {
      DeviceState factory;
      data = factory.read([](const DeviceData& d) { return d; });
    }
    writeField(data.working.block(Side::Input, 6), InputField::Gain, 177);
    writeField(data.working.block(Side::Output, 2), OutputField::Delay, 900);
    data.currentProgramName = {'B', 'o', 'a', 'r', 'd'};
    QVERIFY(!DeviceStateFile::save(state.toStdString(), data));
    SimProcess sim({"--state", state});
    QVERIFY(sim.started());

    connectThroughDialog(sim.networkTarget());
    QVERIFY(connected());
    QTRY_COMPARE_WITH_TIMEOUT(image_->field(Side::Input, 6, InputField::Gain), 177, 10000);
    QCOMPARE(image_->field(Side::Output, 2, OutputField::Delay), 900);
    QCOMPARE(parts().statusText(2), sim.networkTarget());
    QTRY_COMPARE(parts().statusText(0), QStringLiteral("Board"));
    QCOMPARE(parts().statusText(1), QStringLiteral("0"));
    QVERIFY(messages_.isEmpty());
  }

  void transferPopupShowsDuringTheFullRead() {
    SimProcess sim;
    QVERIFY(window_->connectTo(LinkType::Network, sim.networkTarget(), 0));
    QTRY_VERIFY_WITH_TIMEOUT(parts().transferPopup()->isVisible(), 5000);
    QVERIFY(!window_->isEnabled());
    QTRY_COMPARE_WITH_TIMEOUT(parts().transferPopup()->text(), QStringLiteral("数据传输结束"), 10000);
    QTRY_VERIFY_WITH_TIMEOUT(!parts().transferPopup()->isVisible(), 5000);
    QVERIFY(window_->isEnabled());
  }

  // The window is that of its model: its title, and the firmware it
  // accepts. The other product's firmware and a newer one are refused with
  // the model's own text, and the link ends.
  void firmwareTheModelDoesNotServeIsRefused_data() {
    QTest::addColumn<int>("model");
    QTest::addColumn<QString>("firmware");
    QTest::addColumn<QString>("message");
    const QString wrong = QStringLiteral("Software version is error!");
    const QString newer = QStringLiteral(
        "If software version is lower than the device version, only the "
        "software at version, %1-SV1.00 to");
    QTest::newRow("7304, the other product") << 7304 << "S-DV1.10" << wrong;
    QTest::newRow("736, the other product") << 736 << "J-DV1.10" << wrong;
    QTest::newRow("7304, newer") << 7304 << "J-DV2.00" << newer.arg('J');
    QTest::newRow("736, newer") << 736 << "S-DV2.00" << newer.arg('S');
  }
  void firmwareTheModelDoesNotServeIsRefused() {
    QFETCH(int, model);
    QFETCH(QString, firmware);
    QFETCH(QString, message);
    Language::setFlag(1);
    const ProductVariant& variant = ProductVariant::forModel(model);
    openWindow(variant);
    QCOMPARE(window_->windowTitle().toStdString(), std::string(variant.windowTitle));
    SimProcess sim({"--firmware", firmware});
    QVERIFY(window_->connectTo(LinkType::Network, sim.networkTarget(), 0));
    QTRY_COMPARE_WITH_TIMEOUT(messages_.size(), 1, 10000);
    QVERIFY2(messages_.front().startsWith(message), qPrintable(messages_.front()));
    QVERIFY(!connected());
    QCOMPARE(parts().statusText(2), QStringLiteral("NULL"));
  }

  void aDeviceThatGoesAwayResetsTheEditor() {
    SimProcess sim;
    QVERIFY(window_->connectTo(LinkType::Network, sim.networkTarget(), 0));
    QTRY_VERIFY_WITH_TIMEOUT(!parts().transferPopup()->transferInProgress(), 10000);
    image_->setField(Side::Input, 0, InputField::Gain, 50);
    sim.kill();
    QTRY_COMPARE_WITH_TIMEOUT(messages_.size(), 1, 20000);
    QCOMPARE(messages_.front(), QStringLiteral("不能打开网络"));
    QVERIFY(!connected());
    QCOMPARE(image_->field(Side::Input, 0, InputField::Gain), 300);
    QCOMPARE(parts().statusText(2), QStringLiteral("NULL"));
    for (int n = 0; n < kChannels; ++n) QCOMPARE(parts().inputMeter(n)->lampStates(), SLamp::LampStates{});
  }

  void metersFollowTheDeviceLevels() {
    SimProcess sim({"--moving-levels"});
    QVERIFY(window_->connectTo(LinkType::Network, sim.networkTarget(), 0));
    // The meters show exactly the levels the device reported last.
    QTRY_VERIFY_WITH_TIMEOUT(parts().inputMeter(0)->lampStates() != SLamp::LampStates{} ||
                                 parts().inputMeter(1)->lampStates() != SLamp::LampStates{},
                             10000);
    QTRY_VERIFY_WITH_TIMEOUT(
        [&] {
          const DeviceStatus now = image_->read([](const ImageData& d) { return d.status; });
          for (int n = 0; n < kChannels; ++n)
            if (parts().outputMeter(n)->lampStates() !=
                SLamp::statesFor(SLamp::Layout::Output, now.outputLevels[static_cast<std::size_t>(n)]))
              return false;
          return true;
        }(),
        10000);
  }

  void languageButtonSwitchesTexts() {
    QCOMPARE(parts().linkButton()->text(), QStringLiteral("连接"));
    parts().languageButton()->click();
    QVERIFY(Language::isEnglish());
    QCOMPARE(parts().linkButton()->text(), QStringLiteral("Connect"));
    QCOMPARE(parts().languageButton()->text(), QStringLiteral("中文"));
    parts().languageButton()->click();
    QCOMPARE(parts().linkButton()->text(), QStringLiteral("连接"));
  }

  // The help document of the language is looked for in the start-up
  // directory, then beside the program, then where the installers put it
  // (help beside the program on Windows, share/orvane/help beside bin on
  // Linux); the first place holding it wins.
  void theHelpIsFoundWhereItIsInstalled_data() {
    QTest::addColumn<int>("model");
    QTest::newRow("7304") << 7304;
    QTest::newRow("736") << 736;
  }
  void theHelpIsFoundWhereItIsInstalled() {
    QFETCH(int, model);
    Language::setFlag(1);
    openWindow(ProductVariant::forModel(model));
    const std::string_view english = ProductVariant::forModel(model).englishHelp;
    const QString name = QString::fromUtf8(english.data(), static_cast<qsizetype>(english.size()));
    const QString before = QDir::currentPath();
    QTemporaryDir start;
    QVERIFY(QDir::setCurrent(start.path()));
    const QDir program(QCoreApplication::applicationDirPath());
    const QString share = QDir::cleanPath(program.filePath(QStringLiteral("../share")));
    const QString windowsHelp = program.filePath(QStringLiteral("help"));
    const auto restore = qScopeGuard([&] {
      QDir::setCurrent(before);
      QFile::remove(program.filePath(name));
      QDir(share).removeRecursively();
      QDir(windowsHelp).removeRecursively();
    });
    QVERIFY(!QFileInfo::exists(share) && !QFileInfo::exists(windowsHelp));
    QCOMPARE(window_->helpFile(), QString());
    for (const QString& place :
         {share + QStringLiteral("/orvane/help"), windowsHelp, program.path(), QDir::currentPath()}) {
      QVERIFY(QDir().mkpath(place));
      QFile file(QDir(place).filePath(name));
      QVERIFY(file.open(QIODevice::WriteOnly));
      file.close();
      QCOMPARE(window_->helpFile(), QDir(place).filePath(name));
    }
    Language::setFlag(0);
    QCOMPARE(window_->helpFile(), QString());
  }

  // Closing the dialog during a search ends the search like any other link:
  // the window shows the reset values, the next search really runs, the main
  // progress bar is left alone, and a link lost later is reported.
  void closingTheDialogEndsTheSearch() {
    SimProcess bus({"--serial", "--id", "3"});
    image_->setField(Side::Input, 2, InputField::Gain, 100);
    window_->RefreshAll();
    const int upper = parts().progressBar()->upper();
    int searches = 0;
    connect(window_.get(), &OrvaneDlg::connectDialogOpened, this, [&](ConnectDlg* dialog) {
      QTimer::singleShot(0, dialog, [&, dialog] {
        dialog->portBox()->setEditText(bus.serialPath());
        dialog->searchButton()->click();
        QVERIFY(!dialog->searchButton()->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(dialog->searchProgress()->position() > 2, 10000);
        ++searches;
        dialog->reject();
      });
    });
    window_->onLinkButton();
    QVERIFY(!parts().connection().idSearchRunning());
    QCOMPARE(parts().inputStrip(2)->fader()->value(), 300);
    window_->onLinkButton();
    QCOMPARE(searches, 2);
    QCOMPARE(parts().progressBar()->upper(), upper);
    disconnect(window_.get(), &OrvaneDlg::connectDialogOpened, this, nullptr);

    SimProcess device;
    QVERIFY(window_->connectTo(LinkType::Network, device.networkTarget(), 0));
    QTRY_VERIFY_WITH_TIMEOUT(!parts().transferPopup()->transferInProgress(), 10000);
    device.kill();
    QTRY_COMPARE_WITH_TIMEOUT(messages_, QStringList{QStringLiteral("不能打开网络")}, 20000);
  }

  // Levels still on their way when the link closed leave the meters dark.
  // However fast the device answers, at most one level message waits for
  // the window, the next is queued once that has been taken; and levels
  // that arrive with no link open leave the meters dark.
  void levelMessagesDoNotPileUpAndNeedALink() {
    image_->modify([](ImageData& d) { d.status.inputLevels.fill(0x7F); });
    QSignalSpy spy(&parts().notifier(), &QtNotifier::posted);
    std::thread device([this] {
      for (int i = 0; i < 3; ++i) parts().notifier().post(Message::LevelsRead, 3, 0);
    });
    device.join();
    QTRY_COMPARE(spy.count(), 1);
    QTest::qWait(20);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(parts().inputMeter(0)->lampStates(), SLamp::LampStates{});
    parts().notifier().post(Message::LevelsRead, 3, 0);
    QTRY_COMPARE(spy.count(), 2);
  }

  void enterInTheAddressFieldConnectsByNetwork() {
    SimProcess sim;
    connect(
        window_.get(), &OrvaneDlg::connectDialogOpened, this,
        [&](ConnectDlg* dialog) {
          QTimer::singleShot(0, dialog, [&, dialog] {
            dialog->addressField()->setText(sim.networkTarget());
            QTest::keyClick(dialog->addressField(), Qt::Key_Return);
          });
        },
        Qt::SingleShotConnection);
    window_->onLinkButton();
    QVERIFY(connected());
    QCOMPARE(parts().statusText(2), sim.networkTarget());
    QVERIFY(messages_.isEmpty());
  }

  // A wheel notch over a drop list the user is not working in changes
  // nothing; over the list with the focus it picks the next entry.
  void theWheelOnlyMovesTheFocusedDropList() {
    QComboBox* list = parts().inputStrip(2)->linkList();
    const auto notch = [list] {
      QWheelEvent wheel(QPointF(5, 5), list->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120),
                        Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
      QApplication::sendEvent(list, &wheel);
    };
    notch();
    QCOMPARE(list->currentIndex(), 2);
    QCOMPARE(parts().linkGroups().group(Side::Input, 2), 2);
    window_->activateWindow();
    list->setFocus();
    QTRY_VERIFY(list->hasFocus());
    notch();
    QCOMPARE(parts().linkGroups().group(Side::Input, 2), 3);
  }

  // On a 1366 x 768 screen every fader gives the cap room to set a gain
  // with the mouse.
  void everyFaderHasRoomToMove() {
    for (int language : {1, 0}) {
      Language::setFlag(language);
      window_->ApplyLanguage();
      const QSize least = window_->minimumSizeHint();
      QVERIFY2(least.width() <= 1366 && least.height() <= 768, qPrintable(QString::number(least.width())));
    }
    window_->resize(1366, 768);
    QTest::qWait(50);
    // The strips' and the master's; the pages' are checked with the pages.
    const QWidget* pages = window_->findChild<QWidget*>("pageArea");
    QList<Fader*> faders = window_->findChildren<Fader*>();
    faders.removeIf([pages](const Fader* f) { return !f->isVisible() || pages->isAncestorOf(f); });
    QCOMPARE(faders.size(), 17);
    for (const Fader* fader : faders)
      QVERIFY2(fader->travel() >= 100, qPrintable(fader->objectName() + QString::number(fader->travel())));
  }

  void idSearchListsTheDevicesOnTheBus() {
    SimProcess sim({"--serial", "--id", "3", "--id", "17"});
    QVERIFY(!sim.serialPath().isEmpty());
    QStringList found;
    connect(
        window_.get(), &OrvaneDlg::connectDialogOpened, this,
        [&](ConnectDlg* dialog) {
          QTimer::singleShot(0, dialog, [&, dialog] {
            dialog->portBox()->setEditText(sim.serialPath());
            dialog->findChild<QPushButton*>("search")->click();
            QTRY_VERIFY_WITH_TIMEOUT(!parts().connection().idSearchRunning(), 60000);
            for (int i = 0; i < dialog->idBox()->count(); ++i) found << dialog->idBox()->itemText(i);
            dialog->reject();
          });
        },
        Qt::SingleShotConnection);
    window_->onLinkButton();
    QCOMPARE(messages_, QStringList{});
    QCOMPARE(found, (QStringList{"3", "17"}));
    QVERIFY(!connected());
  }
};

}  // namespace orvane::ui

QTEST_MAIN(orvane::ui::MainWindowTest)
#include "MainWindowTest.moc"
