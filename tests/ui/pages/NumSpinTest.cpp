#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QSignalSpy>
#include <QWheelEvent>
#include <QtTest>

#include "model/Language.h"
#include "ui/common/MessageBoxes.h"
#include "ui/pages/NumEdit.h"
#include "ui/pages/NumField.h"
#include "ui/pages/NumSpin.h"

using orvane::Language;
using orvane::NumKind;
using orvane::ui::MessageBoxes;
using orvane::ui::NumEdit;
using orvane::ui::NumField;
using orvane::ui::NumSpin;

namespace {

// A field and its spin as a page lays them out, shown and active.
struct Pair {
  QWidget window;
  NumEdit* edit;
  NumSpin* spin;

  Pair(NumKind kind, int minimum, int maximum, double step = 0, double offset = 0)
      : edit(new NumEdit(&window)), spin(new NumSpin(&window)) {
    auto* layout = new QHBoxLayout(&window);
    layout->addWidget(edit);
    layout->addWidget(spin);
    spin->setBuddy(edit);
    edit->setDisplayKind(kind);
    edit->setStep(step);
    edit->setOffset(offset);
    spin->setRange(minimum, maximum);
    window.show();
    window.activateWindow();
    static_cast<void>(QTest::qWaitForWindowActive(&window));
    edit->setFocus();
  }

  void press(bool up) { QTest::mousePress(spin, Qt::LeftButton, {}, arrow(up)); }
  void release(bool up) { QTest::mouseRelease(spin, Qt::LeftButton, {}, arrow(up)); }
  void click(bool up) {
    press(up);
    release(up);
  }
  QPoint arrow(bool up) const { return (up ? spin->upArrowRect() : spin->downArrowRect()).center(); }
};

void type(NumEdit& edit, const QString& text) {
  edit.selectAll();
  QTest::keyClicks(&edit, text);
}

QList<int> emitted(const QSignalSpy& spy) {
  QList<int> values;
  for (const QList<QVariant>& call : spy) values << call.at(0).toInt();
  return values;
}

}  // namespace

class NumSpinTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();

  void programValuesAreSilent();
  void valueOutsideTheRangeIsRefused_data();
  void valueOutsideTheRangeIsRefused();
  void rangeGoesToTheField();
  void clickStepsAndNotifiesOnRelease();
  void frequencyArrowsFollowTheGrid();
  void ratioArrowsStepTenthsThenHalves();
  void heldArrowNotifiesEveryPeriodAtMost();
  void heldArrowUsesFourHundredMilliseconds();
  void heldArrowAtTheEndNotifiesOnce();
  void heldArrowWithoutChangeStaysSilent();
  void arrowTakesTypingFirst();
  void arrowAfterNegativeDelayStepsOnce();
  void fieldNotificationsComeThroughTheSpin();
  void wheelOverTheArrowsSteps();
  void interruptedHoldReportsTheChange();
  void lockedPairTakesNoInput_data();
  void lockedPairTakesNoInput();
  void fieldWithSpinWorksAsOneControl();

 private:
  QStringList messages_;
};

void NumSpinTest::init() {
  messages_.clear();
  MessageBoxes::setSink([this](const QString&, const QString& text) { messages_ << text; });
  Language::setFlag(1);
}

void NumSpinTest::cleanup() {
  MessageBoxes::setSink(nullptr);
  Language::setFlag(0);
}

void NumSpinTest::programValuesAreSilent() {
  Pair pair(NumKind::LevelOffAtMax, 0, 500, 0.1, 30);
  QSignalSpy edited(pair.spin, &NumSpin::valueEdited);
  QVERIFY(pair.spin->setValue(500));
  QCOMPARE(pair.edit->text(), QString("OFF"));
  QVERIFY(pair.spin->setValue(300));
  QCOMPARE(pair.spin->value(), 300);
  QCOMPARE(pair.edit->text(), QString("0.0"));
  QVERIFY(edited.isEmpty());
  QVERIFY(messages_.isEmpty());
}

void NumSpinTest::valueOutsideTheRangeIsRefused_data() {
  QTest::addColumn<int>("language");
  QTest::addColumn<int>("code");
  QTest::addColumn<QString>("message");
  QTest::newRow("above, English") << 1 << 421 << "Set Pos Error!";
  QTest::newRow("below, English") << 1 << -1 << "Set Pos Error!";
  QTest::newRow("above, Chinese") << 0 << 421 << QString::fromUtf8("设定Pos错误!");
}

void NumSpinTest::valueOutsideTheRangeIsRefused() {
  QFETCH(int, language);
  QFETCH(int, code);
  QFETCH(QString, message);
  Language::setFlag(language);
  Pair pair(NumKind::Level, 0, 420, 0.1, 30);
  pair.spin->setValue(365);
  QSignalSpy edited(pair.spin, &NumSpin::valueEdited);
  QVERIFY(!pair.spin->setValue(code));
  QCOMPARE(messages_, QStringList{message});
  QCOMPARE(pair.spin->value(), 365);
  QCOMPARE(pair.edit->text(), QString("6.5"));
  QVERIFY(edited.isEmpty());
}

void NumSpinTest::rangeGoesToTheField() {
  Pair pair(NumKind::Integer, 50, 5000);
  QCOMPARE(pair.edit->minimum(), 50);
  QCOMPARE(pair.edit->maximum(), 5000);
  pair.spin->setValue(150);
  pair.spin->setRange(2000, 20000);
  QCOMPARE(pair.spin->minimum(), 2000);
  QCOMPARE(pair.spin->maximum(), 20000);
  QCOMPARE(pair.spin->value(), 2000);
  QCOMPARE(pair.edit->text(), QString("2000"));
}

void NumSpinTest::clickStepsAndNotifiesOnRelease() {
  Pair pair(NumKind::Level, 0, 420, 0.1, 30);
  pair.spin->setValue(300);
  QSignalSpy edited(pair.spin, &NumSpin::valueEdited);
  QSignalSpy held(pair.spin, &NumSpin::valueHeld);
  pair.press(true);
  QCOMPARE(pair.spin->heldArrow(), 1);
  QCOMPARE(pair.edit->text(), QString("0.1"));  // the field follows at once
  QVERIFY(edited.isEmpty());                    // the owner hears on release
  pair.release(true);
  QCOMPARE(pair.spin->heldArrow(), 0);
  QCOMPARE(emitted(edited), QList<int>{301});
  pair.click(false);
  pair.click(false);
  QCOMPARE(emitted(edited), (QList<int>{301, 300, 299}));
  QVERIFY(held.isEmpty());
  QVERIFY(pair.edit->hasFocus());  // the arrows never take the focus
}

void NumSpinTest::frequencyArrowsFollowTheGrid() {
  Pair pair(NumKind::Frequency, 20, 20000);
  pair.spin->setValue(1000);
  QSignalSpy edited(pair.spin, &NumSpin::valueEdited);
  pair.click(true);
  QCOMPARE(pair.edit->text(), QString("1030"));
  pair.click(true);
  QCOMPARE(pair.edit->text(), QString("1060"));
  pair.click(false);
  pair.click(false);
  pair.click(false);
  QCOMPARE(emitted(edited), (QList<int>{1030, 1060, 1030, 1000, 972}));
}

void NumSpinTest::ratioArrowsStepTenthsThenHalves() {
  Pair pair(NumKind::CompressorRatio, 1, 191);
  pair.spin->setValue(11);
  QCOMPARE(pair.edit->text(), QString("2.0:1"));
  QSignalSpy edited(pair.spin, &NumSpin::valueEdited);
  pair.click(true);
  QCOMPARE(pair.edit->text(), QString("2.5:1"));
  pair.click(false);
  QCOMPARE(pair.edit->text(), QString("2.0:1"));
  pair.click(false);
  QCOMPARE(pair.edit->text(), QString("1.9:1"));
  QCOMPARE(emitted(edited), (QList<int>{16, 11, 10}));
}

void NumSpinTest::heldArrowNotifiesEveryPeriodAtMost() {
  constexpr int kPeriod = 100;
  Pair pair(NumKind::Integer, 0, 100000);
  pair.spin->setAutoRepeat(10, 5);
  pair.spin->setNotifyPeriod(kPeriod);
  QSignalSpy edited(pair.spin, &NumSpin::valueEdited);
  QSignalSpy held(pair.spin, &NumSpin::valueHeld);
  QElapsedTimer clock;
  clock.start();
  pair.press(true);
  QTest::qWait(550);
  const qint64 elapsed = clock.elapsed();
  const QList<int> interim = emitted(held);
  QVERIFY(edited.isEmpty());
  QVERIFY2(!interim.isEmpty(), "no notice while held");
  QVERIFY2(interim.size() <= elapsed / kPeriod, qPrintable(QString::number(interim.size())));
  for (int i = 1; i < interim.size(); ++i) QVERIFY(interim[i] > interim[i - 1]);
  QVERIFY(pair.spin->value() >= interim.last());

  pair.release(true);
  QCOMPARE(emitted(edited), QList<int>{pair.spin->value()});
  const qsizetype heldCount = held.count();
  QTest::qWait(2 * kPeriod);  // nothing after the release
  QCOMPARE(held.count(), heldCount);
  QCOMPARE(edited.count(), 1);
}

void NumSpinTest::heldArrowUsesFourHundredMilliseconds() {
  Pair pair(NumKind::Integer, 0, 100000);
  QCOMPARE(pair.spin->notifyPeriod(), 400);
  pair.spin->setAutoRepeat(10, 5);
  QSignalSpy held(pair.spin, &NumSpin::valueHeld);
  QElapsedTimer clock;
  clock.start();
  pair.press(true);
  QTest::qWait(350);
  QVERIFY(held.isEmpty());  // not before the first 400 ms
  QTRY_COMPARE_WITH_TIMEOUT(held.count(), 1, 1000);
  QVERIFY(clock.elapsed() >= 400);
  pair.release(true);
}

void NumSpinTest::heldArrowAtTheEndNotifiesOnce() {
  Pair pair(NumKind::CompressorRatio, 1, 191);
  pair.spin->setAutoRepeat(10, 5);
  pair.spin->setNotifyPeriod(50);
  pair.spin->setValue(186);
  QSignalSpy edited(pair.spin, &NumSpin::valueEdited);
  QSignalSpy held(pair.spin, &NumSpin::valueHeld);
  pair.press(true);
  QTest::qWait(300);
  pair.release(true);
  QCOMPARE(emitted(held), QList<int>{191});
  QCOMPARE(emitted(edited), QList<int>{191});
}

void NumSpinTest::heldArrowWithoutChangeStaysSilent() {
  Pair pair(NumKind::Integer, 50, 5000);
  pair.spin->setAutoRepeat(10, 5);
  pair.spin->setNotifyPeriod(50);
  pair.spin->setValue(50);
  QSignalSpy edited(pair.spin, &NumSpin::valueEdited);
  QSignalSpy held(pair.spin, &NumSpin::valueHeld);
  pair.press(false);
  QTest::qWait(200);
  pair.release(false);
  QVERIFY(held.isEmpty());
  QVERIFY(edited.isEmpty());
}

void NumSpinTest::arrowTakesTypingFirst() {
  Pair pair(NumKind::DelayMs, 0, 1470);
  QSignalSpy edited(pair.spin, &NumSpin::valueEdited);
  type(*pair.edit, "12");  // 12 ms is code 482
  pair.click(true);
  QCOMPARE(emitted(edited), QList<int>{483});
  QCOMPARE(pair.edit->text(), QString("13"));
}

void NumSpinTest::arrowAfterNegativeDelayStepsOnce() {
  Pair pair(NumKind::DelayMs, 0, 1470);
  pair.spin->setValue(600);
  QSignalSpy edited(pair.spin, &NumSpin::valueEdited);
  type(*pair.edit, "-5");
  pair.press(true);
  QCOMPARE(messages_, QStringList{"Out of Range"});
  // The message box took the mouse: one step, told at once, no hold left
  // running.
  QCOMPARE(pair.spin->heldArrow(), 0);
  QCOMPARE(emitted(edited), QList<int>{1});
  pair.release(true);
  QCOMPARE(edited.count(), 1);
}

void NumSpinTest::fieldNotificationsComeThroughTheSpin() {
  Pair pair(NumKind::Level, 0, 420, 0.1, 30);
  QSignalSpy edited(pair.spin, &NumSpin::valueEdited);
  type(*pair.edit, "0");
  QTest::keyClick(pair.edit, Qt::Key_Return);
  QTest::keyClick(pair.edit, Qt::Key_Up);
  QCOMPARE(emitted(edited), (QList<int>{300, 301}));

  // A spin given another field stops passing on the first one's.
  NumEdit other;
  pair.spin->setBuddy(&other);
  QTest::keyClick(pair.edit, Qt::Key_Up);
  QCOMPARE(edited.count(), 2);
  pair.spin->setBuddy(pair.edit);
}

void NumSpinTest::wheelOverTheArrowsSteps() {
  Pair pair(NumKind::CompressorRatio, 1, 191);
  pair.spin->setValue(16);
  QSignalSpy edited(pair.spin, &NumSpin::valueEdited);
  const QPointF at = pair.arrow(true);
  QWheelEvent wheel(at, pair.spin->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                    Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(pair.spin, &wheel);
  QCOMPARE(emitted(edited), QList<int>{21});
  QCOMPARE(pair.edit->text(), QString("3.0:1"));
}

void NumSpinTest::interruptedHoldReportsTheChange() {
  Pair pair(NumKind::Integer, 0, 100);
  pair.spin->setAutoRepeat(10000, 10000);
  QSignalSpy edited(pair.spin, &NumSpin::valueEdited);

  pair.press(true);
  pair.spin->setLocked(true);
  QCOMPARE(pair.spin->heldArrow(), 0);
  QCOMPARE(emitted(edited), QList<int>{1});
  pair.spin->setLocked(false);

  pair.press(true);
  pair.spin->hide();
  QCOMPARE(pair.spin->heldArrow(), 0);
  QCOMPARE(emitted(edited), (QList<int>{1, 2}));
}

void NumSpinTest::lockedPairTakesNoInput_data() {
  QTest::addColumn<int>("language");
  QTest::addColumn<QString>("word");
  QTest::newRow("English") << 1 << "Lock";
  QTest::newRow("Chinese") << 0 << QString::fromUtf8("锁定");
}

void NumSpinTest::lockedPairTakesNoInput() {
  QFETCH(int, language);
  QFETCH(QString, word);
  Language::setFlag(language);
  Pair pair(NumKind::DelayMs, 0, 1470);
  pair.spin->setValue(480);
  pair.spin->setLocked(true);
  QVERIFY(pair.spin->isLocked());
  QVERIFY(!pair.spin->isEnabled());
  QVERIFY(!pair.edit->isEnabled());
  QCOMPARE(pair.edit->text(), word);

  QSignalSpy edited(pair.spin, &NumSpin::valueEdited);
  pair.click(true);
  QTest::keyClicks(pair.edit, "5");
  QVERIFY(edited.isEmpty());
  QCOMPARE(pair.spin->value(), 480);

  QVERIFY(pair.spin->setValue(481));  // the page still refreshes it
  QCOMPARE(pair.edit->text(), word);
  pair.spin->setLocked(false);
  QVERIFY(pair.spin->isEnabled());
  QCOMPARE(pair.edit->text(), QString("11"));
}

void NumSpinTest::fieldWithSpinWorksAsOneControl() {
  NumField field;
  field.setDisplayKind(NumKind::LevelOffAtMin);
  field.setStep(0.5);
  field.setOffset(60);
  field.setRange(0, 120);
  QCOMPARE(field.value(), 0);
  QCOMPARE(field.edit()->text(), QString("OFF"));
  QVERIFY(field.setValue(80));
  QCOMPARE(field.edit()->text(), QString("-20.0"));
  field.resize(120, 24);
  field.show();
  field.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&field));
  field.setFocus();
  QVERIFY(field.edit()->hasFocus());

  QSignalSpy edited(&field, &NumField::valueEdited);
  type(*field.edit(), "-6");
  QTest::keyClick(field.edit(), Qt::Key_Return);
  const QPoint up = field.spin()->upArrowRect().center();
  QTest::mouseClick(field.spin(), Qt::LeftButton, {}, up);
  QCOMPARE(emitted(edited), (QList<int>{108, 109}));
  QCOMPARE(field.edit()->text(), QString("-5.5"));

  QVERIFY(!field.setValue(121));
  QCOMPARE(messages_, QStringList{"Set Pos Error!"});
  field.setLocked(true);
  QVERIFY(field.isLocked());
  QCOMPARE(field.edit()->text(), QString("Lock"));
  QVERIFY(!field.spin()->isEnabled());
}

QTEST_MAIN(NumSpinTest)
#include "NumSpinTest.moc"
