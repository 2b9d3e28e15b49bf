// The camera section of the settings dialog: which controls master and slave
// mode, the protocol and the enable flags leave usable; what the settings
// fields store and send; how the steering fields patch the command table;
// and the camera messages the buttons queue, as literal bytes.

#include <QComboBox>
#include <QPushButton>
#include <QtTest>
#include <memory>
#include <vector>

#include "link/Command.h"
#include "model/Language.h"
#include "model/ParameterImage.h"
#include "protocol/SendData.h"
#include "support/QueuedFrames.h"
#include "support/RecordingNotifier.h"
#include "ui/pages/NumEdit.h"
#include "ui/pages/NumField.h"
#include "ui/settings/CameraGroup.h"
#include "ui/settings/CameraPresetTable.h"
#include "ui/settings/CameraSteeringPad.h"

namespace orvane::ui {

namespace {

using Bytes = std::vector<std::uint8_t>;
using Button = CameraSteering::Button;
constexpr int kExtendedItem = 53;
constexpr int kCameraItem = 54;

enum Steering { CameraId, Speed, Preset };

void type(NumField* field, const QString& text) {
  field->edit()->setText(text);
  field->edit()->setModified(true);
  field->edit()->commit();
}

}  // namespace

class CameraGroupTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<ParameterImage> image_;
  std::unique_ptr<RecordingNotifier> notifier_;
  std::unique_ptr<Command> command_;
  std::unique_ptr<CameraGroup> group_;

  CameraSteeringPad* pad() const { return group_->steeringPad(); }
  NumField* steering(int which) const {
    return std::array{pad()->cameraIdField(), pad()->speedField(), pad()->presetField()}.at(
        static_cast<std::size_t>(which));
  }
  void setProtocol(int protocol) {
    image_->modify([protocol](ImageData& d) {
      d.system.extended[ExtendedOffset::Protocol] = static_cast<std::uint8_t>(protocol);
    });
  }
  void setFlags(bool save, bool load) {
    image_->modify([=](ImageData& d) {
      d.status.cameraSaveEnabled = save;
      d.status.cameraLoadEnabled = load;
    });
  }
  std::pair<bool, bool> flags() const {
    return image_->read(
        [](const ImageData& d) { return std::pair(d.status.cameraSaveEnabled, d.status.cameraLoadEnabled); });
  }
  // The frames the group queued: the link's worker is never started, so
  // they wait in the queue.
  void openLink() {
    image_->modify([](ImageData& d) { d.connection.linkType = LinkType::Network; });
  }
  std::vector<SendData> takeFrames() { return takeQueuedFrames(*command_); }
  static Bytes payload(const SendData& frame) { return {frame.payload().begin(), frame.payload().end()}; }
  void build() {
    group_ = std::make_unique<CameraGroup>(*image_, *command_);
    group_->show();
    QVERIFY(QTest::qWaitForWindowExposed(group_.get()));
  }
  Bytes cameraMessage(CameraProtocol protocol, int number) const {
    const CameraMessage m =
        image_->read([=](const ImageData& d) { return d.system.camera.message(protocol, number); });
    return {m.view().begin(), m.view().end()};
  }

 private slots:
  void initTestCase() { Language::setFlag(1); }

  void init() {
    image_ = std::make_unique<ParameterImage>();
    notifier_ = std::make_unique<RecordingNotifier>();
    command_ = std::make_unique<Command>(*image_, *notifier_);
  }

  void cleanup() {
    group_.reset();
    command_.reset();
  }

  void enablingFollowsModeProtocolAndFlags_data() {
    QTest::addColumn<bool>("master");
    QTest::addColumn<int>("protocol");
    QTest::addColumn<bool>("saveFlag");
    QTest::addColumn<bool>("loadFlag");
    QTest::newRow("master Pelco-D, both flags") << true << 0 << true << true;
    QTest::newRow("master Pelco-D, load flag only") << true << 0 << false << true;
    QTest::newRow("master VISCA, no flags") << true << 1 << false << false;
    QTest::newRow("slave Pelco-D, both flags") << false << 0 << true << true;
    QTest::newRow("slave VISCA, both flags") << false << 1 << true << true;
  }
  void enablingFollowsModeProtocolAndFlags() {
    QFETCH(bool, master);
    QFETCH(int, protocol);
    QFETCH(bool, saveFlag);
    QFETCH(bool, loadFlag);
    setProtocol(protocol);
    setFlags(saveFlag, loadFlag);
    build();
    // Slave first and back: nothing disabled by slave mode may stay so.
    group_->setMaster(false);
    group_->setMaster(master);
    std::vector<QWidget*> settings{group_->responseField(), group_->releaseField(), group_->protocolList()};
    for (int row = 0; row < CameraPresetTable::kRows; ++row) {
      settings.push_back(group_->presetTable()->presetField(row));
      settings.push_back(group_->presetTable()->cameraIdField(row));
    }
    for (int which : {CameraId, Speed, Preset}) settings.push_back(steering(which));
    for (QWidget* w : settings) QCOMPARE(w->isEnabled(), master);

    const bool visca = protocol == 1;
    for (int b = 0; b < CameraSteeringPad::kButtons; ++b) {
      const auto which = static_cast<Button>(b);
      const bool focusOrIris =
          which >= Button::FocusFar && which != Button::ZoomWide && which != Button::ZoomTele;
      QCOMPARE(pad()->button(which)->isEnabled(), master && !(visca && focusOrIris));
    }
    QCOMPARE(pad()->saveButton()->isEnabled(), master && saveFlag);
    QCOMPARE(pad()->loadButton()->isEnabled(), master && loadFlag);
    QCOMPARE(flags(), std::pair(saveFlag, loadFlag));
  }

  // Values from the device (or none yet) are shown within their ranges and
  // left in the image as they are.
  void valuesOutsideTheRangesShowLimitedAndStayInTheImage() {
    image_->modify([](ImageData& d) {
      d.system.extended.fill(0);
      d.system.extended[ExtendedOffset::PanoramicCameraId] = 255;
      d.system.setExtendedWord(ExtendedOffset::ResponseTime, 300);
      d.system.extended[ExtendedOffset::Protocol] = 7;
    });
    const auto before = image_->read([](const ImageData& d) { return d.system.extended; });
    build();
    QCOMPARE(group_->presetTable()->presetField(0)->value(), 1);
    QCOMPARE(group_->presetTable()->cameraIdField(8)->value(), 255);
    QCOMPARE(group_->responseField()->edit()->displayText(), QStringLiteral("3.0s"));
    QCOMPARE(group_->releaseField()->edit()->displayText(), QStringLiteral("1.0s"));
    QCOMPARE(group_->protocolList()->currentText(), QStringLiteral("SONY_VISCA"));
    QCOMPARE(pad()->speedField()->maximum(), 24);
    QCOMPARE(image_->read([](const ImageData& d) { return d.system.extended; }), before);
  }

  // Typed values land in the image; without a link nothing goes out, with
  // one every edit sends the whole block once.
  void settingsEditsLandInTheBlockAndAreSent() {
    build();
    CameraPresetTable* table = group_->presetTable();
    const struct {
      NumField* field;
      QString typed;
      int offset;
      Bytes stored;
    } edits[] = {
        {table->presetField(2), "17", 2, {17}},        {table->presetField(8), "128", 8, {128}},
        {table->cameraIdField(7), "300", 16, {255}},   {table->cameraIdField(8), "200", 17, {200}},
        {group_->responseField(), "2.5", 18, {25, 0}}, {group_->releaseField(), "11.0", 20, {100, 0}},
        {group_->releaseField(), "1.5", 20, {5, 0}}};
    for (bool linked : {false, true}) {
      if (linked) openLink();
      for (const auto& e : edits) {
        type(e.field, e.typed);
        const auto block = image_->read([](const ImageData& d) { return d.system.extended; });
        QCOMPARE(
            Bytes(block.begin() + e.offset, block.begin() + e.offset + static_cast<int>(e.stored.size())),
            e.stored);
        const auto frames = takeFrames();
        QCOMPARE(frames.size(), linked ? 1u : 0u);
        if (linked) {
          QCOMPARE(frames[0].at(FrameOffset::Item), kExtendedItem);
          QCOMPARE(payload(frames[0]), Bytes(block.begin(), block.end()));
        }
        type(e.field, "1");  // so that the next edit changes it again
        takeFrames();
      }
    }
  }

  void steeringEditsPatchTheTableAndEnableSaveAndLoad_data() {
    QTest::addColumn<int>("protocol");
    QTest::addColumn<int>("field");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("message");
    QTest::addColumn<Bytes>("patched");
    QTest::newRow("Pelco-D camera 3")
        << 0 << int(CameraId) << 3 << 0 << Bytes{0xFF, 0x03, 0x00, 0x08, 0x00, 0x20, 0x2B};
    QTest::newRow("Pelco-D speed 64")
        << 0 << int(Speed) << 64 << 0 << Bytes{0xFF, 0x01, 0x00, 0x08, 0x00, 0x3F, 0x48};
    QTest::newRow("Pelco-D preset 5")
        << 0 << int(Preset) << 5 << 10 << Bytes{0xFF, 0x01, 0x00, 0x07, 0x00, 0x05, 0x0D};
    QTest::newRow("VISCA camera 3") << 1 << int(CameraId) << 3 << 0
                                    << Bytes{0x83, 0x01, 0x06, 0x01, 0x0C, 0x14, 0x03, 0x01, 0xFF};
    QTest::newRow("VISCA speed 24") << 1 << int(Speed) << 24 << 13
                                    << Bytes{0x81, 0x01, 0x06, 0x01, 0x18, 0x14, 0x03, 0x03, 0xFF};
    QTest::newRow("VISCA preset 5") << 1 << int(Preset) << 5 << 10
                                    << Bytes{0x81, 0x01, 0x04, 0x3F, 0x02, 0x04, 0xFF};
  }
  void steeringEditsPatchTheTableAndEnableSaveAndLoad() {
    QFETCH(int, protocol);
    QFETCH(int, field);
    QFETCH(int, value);
    QFETCH(int, message);
    QFETCH(Bytes, patched);
    setProtocol(protocol);
    openLink();
    build();
    const auto p = static_cast<CameraProtocol>(protocol);
    type(steering(field), QString::number(value));
    QCOMPARE(cameraMessage(p, message), patched);
    QVERIFY(pad()->saveButton()->isEnabled() && pad()->loadButton()->isEnabled());
    QCOMPARE(flags(), std::pair(true, true));

    // Re-entering the value shown changes nothing and enables nothing.
    setFlags(false, false);
    group_->setMaster(true);
    emit steering(field)->valueEdited(value);
    QCOMPARE(cameraMessage(p, message), patched);
    QVERIFY(!pad()->saveButton()->isEnabled() && !pad()->loadButton()->isEnabled());
    QCOMPARE(flags(), std::pair(false, false));
    QVERIFY(takeFrames().empty());  // a patch is sent only with a button
  }

  // Held longer than any auto-repeat delay, a button still sends once.
  void buttonsSendOneMessageOnPressAndOneOnRelease() {
    openLink();
    build();
    const Bytes pelcoStop{0xFF, 0x01, 0x00, 0x00, 0x00, 0x00, 0x01};
    const struct {
      int protocol;
      Button button;
      Bytes press, release;
    } rows[] = {
        {0, Button::Up, {0xFF, 0x01, 0x00, 0x08, 0x00, 0x20, 0x29}, pelcoStop},
        {0, Button::IrisClose, {0xFF, 0x01, 0x04, 0x00, 0x00, 0x00, 0x05}, pelcoStop},
        {1,
         Button::Left,
         {0x81, 0x01, 0x06, 0x01, 0x0C, 0x14, 0x01, 0x03, 0xFF},
         {0x81, 0x01, 0x06, 0x01, 0x0C, 0x14, 0x03, 0x03, 0xFF}},
        {1, Button::ZoomWide, {0x81, 0x01, 0x04, 0x07, 0x35, 0xFF}, {0x81, 0x01, 0x04, 0x07, 0x00, 0xFF}},
    };
    for (const auto& r : rows) {
      setProtocol(r.protocol);
      QTest::mousePress(pad()->button(r.button), Qt::LeftButton);
      QTest::qWait(400);
      auto frames = takeFrames();
      QCOMPARE(frames.size(), 1u);
      QCOMPARE(frames[0].at(FrameOffset::Item), kCameraItem);
      QCOMPARE(payload(frames[0]), r.press);
      QTest::mouseRelease(pad()->button(r.button), Qt::LeftButton);
      frames = takeFrames();
      QCOMPARE(frames.size(), 1u);
      QCOMPARE(payload(frames[0]), r.release);
    }
  }

  // Save keeps the flags for the next opening, Load clears them; a press is
  // used up alike with a link (the preset goes out, then the stop) and
  // without one (nothing goes out).
  void saveAndLoadSendThePresetAndDisableThemselves() {
    build();
    type(pad()->presetField(), QStringLiteral("5"));
    const Bytes pelcoStop{0xFF, 0x01, 0x00, 0x00, 0x00, 0x00, 0x01};
    for (const bool linked : {false, true}) {
      if (linked) openLink();
      for (const auto& [which, expected, flagsAfter] :
           {std::tuple{pad()->saveButton(), Bytes{0xFF, 0x01, 0x00, 0x03, 0x00, 0x05, 0x09}, true},
            std::tuple{pad()->loadButton(), Bytes{0xFF, 0x01, 0x00, 0x07, 0x00, 0x05, 0x0D}, false}}) {
        setFlags(true, true);
        group_->setMaster(true);
        which->click();
        const auto frames = takeFrames();
        if (linked) {
          QCOMPARE(frames.size(), 2u);
          QCOMPARE(payload(frames[0]), expected);
          QCOMPARE(payload(frames[1]), pelcoStop);
        } else {
          QVERIFY(frames.empty());
        }
        QVERIFY(!pad()->saveButton()->isEnabled() && !pad()->loadButton()->isEnabled());
        QCOMPARE(flags(), std::pair(flagsAfter, flagsAfter));
      }
    }
  }

  void protocolChangeReloadsTheSteeringFields() {
    image_->modify([](ImageData& d) {
      CameraSteering::setCameraId(d.system.camera, CameraProtocol::SonyVisca, 7);
      CameraSteering::setPreset(d.system.camera, CameraProtocol::PelcoD, 100);
    });
    setFlags(true, true);
    openLink();
    build();
    emit group_->protocolList()->activated(0);  // the protocol in force
    QVERIFY(takeFrames().empty());
    QVERIFY(pad()->saveButton()->isEnabled());
    struct Expected {
      int index;
      int idMax, speedMax;
      int id, speed, preset;
      bool focusAndIris;
    };
    for (const Expected& e : {Expected{1, 7, 24, 7, 12, 2, false}, Expected{0, 255, 64, 1, 33, 100, true}}) {
      group_->protocolList()->setCurrentIndex(e.index);
      emit group_->protocolList()->activated(e.index);
      const auto frames = takeFrames();
      QCOMPARE(frames.size(), 1u);
      QCOMPARE(frames[0].at(FrameOffset::Item), kExtendedItem);
      QCOMPARE(payload(frames[0]).at(ExtendedOffset::Protocol), e.index);
      QCOMPARE(pad()->cameraIdField()->maximum(), e.idMax);
      QCOMPARE(pad()->speedField()->maximum(), e.speedMax);
      QCOMPARE(pad()->presetField()->maximum(), 128);
      QCOMPARE(pad()->cameraIdField()->value(), e.id);
      QCOMPARE(pad()->speedField()->value(), e.speed);
      QCOMPARE(pad()->presetField()->value(), e.preset);
      QCOMPARE(pad()->button(Button::FocusNear)->isEnabled(), e.focusAndIris);
      QCOMPARE(pad()->button(Button::IrisOpen)->isEnabled(), e.focusAndIris);
      QVERIFY(pad()->button(Button::ZoomTele)->isEnabled());
      QVERIFY(!pad()->saveButton()->isEnabled() && !pad()->loadButton()->isEnabled());
      QCOMPARE(flags(), std::pair(false, false));
    }
  }
};

}  // namespace orvane::ui

QTEST_MAIN(orvane::ui::CameraGroupTest)
#include "CameraGroupTest.moc"
