#include <QImage>
#include <QSignalSpy>
#include <QWheelEvent>
#include <QtTest>

#include "ui/widgets/Fader.h"

using orvane::ui::Fader;

namespace {

// A channel-gain fader at -30 dB, shown so that it receives real input.
void prepare(Fader& fader, int value = 0) {
  fader.setRange(0, 420);
  fader.setPageStep(10);
  fader.setValue(value);
  fader.resize(40, 220);
  fader.show();
}

void turnWheel(Fader& fader, int angle, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  const QPointF at(fader.width() / 2.0, fader.height() / 2.0);
  QWheelEvent event(at, fader.mapToGlobal(at), QPoint(), QPoint(0, angle), Qt::NoButton, modifiers,
                    Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(&fader, &event);
}

QList<int> emitted(const QSignalSpy& spy) {
  QList<int> values;
  for (const QList<QVariant>& call : spy) values << call.at(0).toInt();
  return values;
}

}  // namespace

class FaderTest : public QObject {
  Q_OBJECT

 private slots:
  void setValueIsSilentAndLimited();
  void keysMoveByStepsWithinTheRange();
  void dragFollowsThePointerAndStopsAtTheEnds();
  void grabbingTheCapDoesNotMoveIt();
  void clickOnTheTrackJumpsThere();
  void wheelMovesByNotches();
  void lockedFaderIgnoresInputAndHidesTheValue();
  void disabledFaderIgnoresInput();
  void highlightShows();
  void horizontalFaderRisesToTheRight();
};

void FaderTest::setValueIsSilentAndLimited() {
  Fader fader;
  QSignalSpy spy(&fader, &Fader::valueChanged);
  fader.setRange(0, 720);
  fader.setValue(600);
  QCOMPARE(fader.value(), 600);
  fader.setValue(900);
  QCOMPARE(fader.value(), 720);
  fader.setValue(-3);
  QCOMPARE(fader.value(), 0);

  fader.setValue(500);
  fader.setRange(0, 420);  // a narrower range pulls the value in, silently
  QCOMPARE(fader.value(), 420);
  fader.setRange(100, 50);
  QCOMPARE(fader.minimum(), 50);
  QCOMPARE(fader.maximum(), 100);
  QCOMPARE(fader.value(), 100);

  fader.setProperty("value", 70);
  QCOMPARE(fader.value(), 70);
  QCOMPARE(spy.count(), 0);
}

void FaderTest::keysMoveByStepsWithinTheRange() {
  Fader fader;
  prepare(fader, 415);
  QSignalSpy spy(&fader, &Fader::valueChanged);

  QTest::keyClick(&fader, Qt::Key_Up);
  QTest::keyClick(&fader, Qt::Key_PageUp);  // 416 + 10 stops at 420
  QTest::keyClick(&fader, Qt::Key_Up);      // already at the top: nothing
  QTest::keyClick(&fader, Qt::Key_PageDown);
  QTest::keyClick(&fader, Qt::Key_Down);
  QTest::keyClick(&fader, Qt::Key_Left);
  QTest::keyClick(&fader, Qt::Key_Right);
  QTest::keyClick(&fader, Qt::Key_Home);
  QTest::keyClick(&fader, Qt::Key_Home);
  QTest::keyClick(&fader, Qt::Key_PageDown);  // already at the bottom
  QTest::keyClick(&fader, Qt::Key_End);
  QCOMPARE(emitted(spy), (QList<int>{416, 420, 410, 409, 408, 409, 0, 420}));
  QCOMPARE(fader.value(), 420);

  fader.setSingleStep(5);
  QTest::keyClick(&fader, Qt::Key_Down);
  QCOMPARE(fader.value(), 415);
}

void FaderTest::dragFollowsThePointerAndStopsAtTheEnds() {
  Fader fader;
  prepare(fader, 210);
  QVERIFY(QTest::qWaitForWindowExposed(&fader));
  QSignalSpy spy(&fader, &Fader::valueChanged);

  const QPoint cap = fader.capRect().center();
  QTest::mousePress(&fader, Qt::LeftButton, Qt::NoModifier, cap);
  QTest::mouseMove(&fader, QPoint(cap.x(), cap.y() - 40));
  const int raised = fader.value();
  QVERIFY(raised > 210);
  QTest::mouseMove(&fader, QPoint(cap.x(), -50));
  QCOMPARE(fader.value(), 420);
  QTest::mouseMove(&fader, QPoint(cap.x(), fader.height() + 50));
  QCOMPARE(fader.value(), 0);
  QTest::mouseRelease(&fader, Qt::LeftButton, Qt::NoModifier, QPoint(cap.x(), fader.height() + 50));

  QCOMPARE(emitted(spy), (QList<int>{raised, 420, 0}));

  // Moving without holding the cap changes nothing.
  QTest::mouseMove(&fader, cap);
  QCOMPARE(fader.value(), 0);
  QCOMPARE(spy.count(), 3);
}

void FaderTest::grabbingTheCapDoesNotMoveIt() {
  Fader fader;
  prepare(fader, 300);
  QVERIFY(QTest::qWaitForWindowExposed(&fader));
  QSignalSpy spy(&fader, &Fader::valueChanged);

  // Taken off-centre, the cap stays where it is until the pointer moves.
  const QRect cap = fader.capRect();
  const QPoint grip(cap.center().x(), cap.top() + 2);
  QTest::mousePress(&fader, Qt::LeftButton, Qt::NoModifier, grip);
  QTest::mouseMove(&fader, grip);
  QCOMPARE(fader.value(), 300);
  QCOMPARE(spy.count(), 0);

  QTest::mouseMove(&fader, grip + QPoint(0, 10));
  QVERIFY(fader.value() < 300);
  QTest::mouseMove(&fader, grip);
  QCOMPARE(fader.value(), 300);
  QTest::mouseRelease(&fader, Qt::LeftButton, Qt::NoModifier, grip);
}

void FaderTest::clickOnTheTrackJumpsThere() {
  Fader fader;
  prepare(fader, 0);
  QVERIFY(QTest::qWaitForWindowExposed(&fader));
  QSignalSpy spy(&fader, &Fader::valueChanged);

  // The travel is symmetric about the middle row, so the middle is mid-range.
  QTest::mouseClick(&fader, Qt::LeftButton, Qt::NoModifier, QPoint(fader.width() / 2, fader.height() / 2));
  QCOMPARE(spy.count(), 1);
  QVERIFY2(std::abs(fader.value() - 210) <= 3, qPrintable(QString::number(fader.value())));

  // The cap now sits under the click.
  QVERIFY(std::abs(fader.capRect().center().y() - fader.height() / 2) <= 1);

  QTest::mouseClick(&fader, Qt::RightButton, Qt::NoModifier, QPoint(fader.width() / 2, 5));
  QCOMPARE(spy.count(), 1);
}

void FaderTest::wheelMovesByNotches() {
  Fader fader;
  prepare(fader, 100);
  QSignalSpy spy(&fader, &Fader::valueChanged);

  turnWheel(fader, 120, Qt::ControlModifier);
  QCOMPARE(fader.value(), 110);
  turnWheel(fader, -240, Qt::ControlModifier);
  QCOMPARE(fader.value(), 90);

  // A plain notch is finer than a page but still moves.
  turnWheel(fader, 120);
  QVERIFY(fader.value() > 90 && fader.value() <= 100);
  const int afterNotch = fader.value();

  // Half notches from a touchpad add up to one.
  turnWheel(fader, 60);
  QCOMPARE(fader.value(), afterNotch);
  turnWheel(fader, 60);
  QCOMPARE(fader.value(), afterNotch + (afterNotch - 90));

  fader.setValue(415);
  spy.clear();
  turnWheel(fader, 360, Qt::ControlModifier);
  QCOMPARE(emitted(spy), QList<int>{420});
}

void FaderTest::lockedFaderIgnoresInputAndHidesTheValue() {
  Fader fader;
  prepare(fader, 200);
  QVERIFY(QTest::qWaitForWindowExposed(&fader));
  fader.setLocked(true);
  QSignalSpy spy(&fader, &Fader::valueChanged);

  QTest::keyClick(&fader, Qt::Key_Up);
  QTest::keyClick(&fader, Qt::Key_End);
  turnWheel(fader, 120, Qt::ControlModifier);
  QTest::mouseClick(&fader, Qt::LeftButton, Qt::NoModifier, QPoint(fader.width() / 2, 5));
  const QPoint cap = fader.capRect().center();
  QTest::mousePress(&fader, Qt::LeftButton, Qt::NoModifier, cap);
  QTest::mouseMove(&fader, QPoint(cap.x(), 0));
  QTest::mouseRelease(&fader, Qt::LeftButton, Qt::NoModifier, QPoint(cap.x(), 0));
  QCOMPARE(spy.count(), 0);
  QCOMPARE(fader.value(), 200);
  QCOMPARE(fader.focusPolicy(), Qt::NoFocus);

  // The window still refreshes the value; the picture does not tell it,
  // though an unlocked fader shows the same change.
  const QImage lockedAt200 = fader.grab().toImage();
  fader.setValue(400);
  QCOMPARE(fader.grab().toImage(), lockedAt200);
  fader.setLocked(false);
  const QImage unlockedAt400 = fader.grab().toImage();
  fader.setValue(200);
  QVERIFY(fader.grab().toImage() != unlockedAt400);
  fader.setValue(400);

  QTest::keyClick(&fader, Qt::Key_Down);
  QCOMPARE(emitted(spy), QList<int>{399});
}

void FaderTest::disabledFaderIgnoresInput() {
  Fader fader;
  prepare(fader, 200);
  QVERIFY(QTest::qWaitForWindowExposed(&fader));
  fader.setEnabled(false);
  QSignalSpy spy(&fader, &Fader::valueChanged);

  QTest::keyClick(&fader, Qt::Key_Up);
  turnWheel(fader, 120);
  QTest::mouseClick(&fader, Qt::LeftButton, Qt::NoModifier, QPoint(fader.width() / 2, 5));
  QCOMPARE(spy.count(), 0);
  QCOMPARE(fader.value(), 200);
}

void FaderTest::highlightShows() {
  Fader fader;
  prepare(fader, 300);
  const QImage plain = fader.grab().toImage();
  fader.setHighlighted(true);
  QVERIFY(fader.grab().toImage() != plain);
  fader.setHighlighted(false);
  QCOMPARE(fader.grab().toImage(), plain);
}

// A horizontal fader is the upright one turned: the maximum at the right, the
// cap where the value is, a drag along the row and the whole width to travel.
void FaderTest::horizontalFaderRisesToTheRight() {
  Fader fader;
  fader.setOrientation(Qt::Horizontal);
  fader.setRange(0, 420);
  fader.setValue(0);
  fader.resize(220, 34);
  fader.show();
  QVERIFY(QTest::qWaitForWindowExposed(&fader));
  QVERIFY(fader.travel() > 180);
  const QRect atMinimum = fader.capRect();
  QVERIFY(atMinimum.left() < 10 && atMinimum.height() <= 34);
  fader.setValue(420);
  QVERIFY(fader.capRect().right() > 210);

  QSignalSpy spy(&fader, &Fader::valueChanged);
  const QPoint cap = fader.capRect().center();
  QTest::mousePress(&fader, Qt::LeftButton, Qt::NoModifier, cap);
  QTest::mouseMove(&fader, QPoint(cap.x() - fader.travel() / 2, cap.y() + 30));
  QTest::mouseRelease(&fader, Qt::LeftButton, Qt::NoModifier, cap);
  QVERIFY(std::abs(fader.value() - 210) <= 3);
  QTest::mouseClick(&fader, Qt::LeftButton, Qt::NoModifier, QPoint(1, 17));
  QCOMPARE(fader.value(), 0);
  QCOMPARE(spy.count(), 2);
}

QTEST_MAIN(FaderTest)
#include "FaderTest.moc"
