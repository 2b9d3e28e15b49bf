#include <QColor>
#include <QImage>
#include <QtTest>

#include "ui/widgets/SLamp.h"

using orvane::ui::SLamp;
using Layout = SLamp::Layout;

namespace {

const QColor kGreen(0, 255, 0);
const QColor kYellow(255, 255, 0);
const QColor kOrange(255, 127, 39);
const QColor kRed(255, 0, 0);
const QColor kBackground(76, 85, 118);

// Lit lamps as a string of lamp numbers, bottom lamp first: "0123".
QString litLamps(const SLamp::LampStates& states) {
  QString lit;
  for (int i = 0; i < SLamp::kLampCount; ++i) {
    if (states[static_cast<std::size_t>(i)]) lit += QString::number(i);
  }
  return lit;
}

QColor pixelAt(const QImage& image, int x, int y) {
  return QColor(image.pixel(x, y));
}

// Counts the paint events a widget actually receives.
class PaintCounter : public QObject {
 public:
  int paints = 0;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return QObject::eventFilter(watched, event);
  }
};

}  // namespace

class SLampTest : public QObject {
  Q_OBJECT

 private slots:
  void lampsOfLevelByte_data();
  void lampsOfLevelByte();
  void lampColoursPerLayout_data();
  void lampColoursPerLayout();
  void sameLampsAskForNoRedraw();
  void sameLampsPaintNothing();
  void resetDarkensAndAlwaysRedraws();
  void paintsLitLampsOverBackground();
  void lampsShrinkWithTheMeter();
};

void SLampTest::lampsOfLevelByte_data() {
  QTest::addColumn<bool>("input");
  QTest::addColumn<int>("level");
  QTest::addColumn<QString>("lit");

  QTest::newRow("input silent") << true << 0x00 << "";
  QTest::newRow("output silent") << false << 0x00 << "";
  QTest::newRow("input everything") << true << 0x7F << "01234567";
  QTest::newRow("output everything") << false << 0x7F << "01234567";
  QTest::newRow("bit 7 ignored") << true << 0x80 << "";
  QTest::newRow("all bits") << false << 0xFF << "01234567";

  // Level steps and the number of level lamps they light.
  QTest::newRow("step 1") << true << 0x01 << "1";
  QTest::newRow("step 2") << true << 0x02 << "12";
  QTest::newRow("step 3") << true << 0x03 << "123";
  QTest::newRow("step 4") << true << 0x04 << "123";
  QTest::newRow("step 5") << true << 0x05 << "1234";
  QTest::newRow("step 6") << true << 0x06 << "1234";
  QTest::newRow("step 7") << true << 0x07 << "12345";
  QTest::newRow("step 8") << true << 0x08 << "12345";
  QTest::newRow("input step 12 as 8") << true << 0x0C << "12345";
  QTest::newRow("output step 12 as 8") << false << 0x0C << "01234";
  QTest::newRow("output step 15 as 8") << false << 0x0F << "01234";
  QTest::newRow("output step 3") << false << 0x03 << "012";

  // Indicator bits on their own.
  QTest::newRow("input bit 4") << true << 0x10 << "6";
  QTest::newRow("input bit 5") << true << 0x20 << "0";
  QTest::newRow("input bit 6") << true << 0x40 << "7";
  QTest::newRow("output bit 4") << false << 0x10 << "5";
  QTest::newRow("output bit 5") << false << 0x20 << "6";
  QTest::newRow("output bit 6") << false << 0x40 << "7";

  QTest::newRow("input 0x25") << true << 0x25 << "01234";
  QTest::newRow("output 0x25") << false << 0x25 << "01236";
}

void SLampTest::lampsOfLevelByte() {
  QFETCH(bool, input);
  QFETCH(int, level);
  QFETCH(QString, lit);

  SLamp meter(input ? Layout::Input : Layout::Output);
  const auto byte = static_cast<std::uint8_t>(level);
  if (input) {
    meter.showInputLevel(byte);
  } else {
    meter.showOutputLevel(byte);
  }
  QCOMPARE(litLamps(meter.lampStates()), lit);
}

void SLampTest::lampColoursPerLayout_data() {
  QTest::addColumn<bool>("input");
  QTest::addColumn<QList<QColor>>("colours");

  QTest::newRow("input") << true
                         << QList<QColor>{kOrange, kGreen, kGreen, kGreen, kGreen, kGreen, kYellow, kRed};
  QTest::newRow("output") << false
                          << QList<QColor>{kGreen, kGreen, kGreen, kGreen, kGreen, kYellow, kOrange, kRed};
}

void SLampTest::lampColoursPerLayout() {
  QFETCH(bool, input);
  QFETCH(QList<QColor>, colours);

  SLamp meter(input ? Layout::Output : Layout::Input);
  meter.setLayout(input ? Layout::Input : Layout::Output);  // the layout can change after construction
  for (int lamp = 0; lamp < SLamp::kLampCount; ++lamp) QCOMPARE(meter.lampColor(lamp), colours[lamp]);
}

void SLampTest::sameLampsAskForNoRedraw() {
  SLamp meter(Layout::Input);
  meter.showInputLevel(0x25);
  const int afterFirst = meter.redrawRequests();
  QCOMPARE(afterFirst, 1);

  meter.showInputLevel(0x25);
  QCOMPARE(meter.redrawRequests(), afterFirst);

  // Step 6 lights the same four level lamps as step 5: a new byte, same lamps.
  meter.showInputLevel(0x26);
  QCOMPARE(meter.redrawRequests(), afterFirst);

  meter.showInputLevel(0x27);
  QCOMPARE(meter.redrawRequests(), afterFirst + 1);

  // Silence on a dark meter changes nothing either.
  SLamp quiet(Layout::Output);
  quiet.showOutputLevel(0x00);
  quiet.showOutputLevel(0x80);
  QCOMPARE(quiet.redrawRequests(), 0);
}

void SLampTest::sameLampsPaintNothing() {
  SLamp meter(Layout::Output);
  meter.resize(12, 95);
  PaintCounter counter;
  meter.installEventFilter(&counter);
  meter.show();
  QVERIFY(QTest::qWaitForWindowExposed(&meter));

  meter.showOutputLevel(0x13);
  QTRY_VERIFY(counter.paints > 0);
  QTest::qWait(50);
  const int settled = counter.paints;

  for (int i = 0; i < 100; ++i) meter.showOutputLevel(0x13);
  QTest::qWait(50);
  QCOMPARE(counter.paints, settled);

  meter.showOutputLevel(0x03);
  QTRY_VERIFY(counter.paints > settled);
}

void SLampTest::resetDarkensAndAlwaysRedraws() {
  SLamp meter(Layout::Input);
  meter.showInputLevel(0x7F);
  const int before = meter.redrawRequests();

  meter.reset();
  QCOMPARE(litLamps(meter.lampStates()), QString());
  QCOMPARE(meter.redrawRequests(), before + 1);

  meter.reset();
  QCOMPARE(meter.redrawRequests(), before + 2);

  // After a reset the next byte is compared with the dark meter.
  meter.showInputLevel(0x00);
  QCOMPARE(meter.redrawRequests(), before + 2);
  meter.showInputLevel(0x01);
  QCOMPARE(litLamps(meter.lampStates()), QStringLiteral("1"));
}

void SLampTest::paintsLitLampsOverBackground() {
  // 100 rows: lamps of (100 - 7) / 8 = 11 rows with one-row gaps, stacked
  // from the bottom; rows 0..4 are left over at the top.
  SLamp meter(Layout::Input);
  meter.resize(12, 100);
  meter.showInputLevel(0x25);  // lamp 0 orange, lamps 1..4 green
  const QImage image = meter.grab().toImage();

  QCOMPARE(pixelAt(image, 6, 99), kOrange);  // lamp 0: rows 89..99
  QCOMPARE(pixelAt(image, 0, 89), kOrange);
  QCOMPARE(pixelAt(image, 11, 94), kOrange);
  QCOMPARE(pixelAt(image, 6, 88), kBackground);  // gap
  QCOMPARE(pixelAt(image, 6, 87), kGreen);       // lamp 1: rows 77..87
  QCOMPARE(pixelAt(image, 6, 77), kGreen);
  QCOMPARE(pixelAt(image, 6, 76), kBackground);
  QCOMPARE(pixelAt(image, 6, 41), kGreen);       // lamp 4: rows 41..51
  QCOMPARE(pixelAt(image, 6, 35), kBackground);  // lamp 5 dark: rows 29..39
  QCOMPARE(pixelAt(image, 6, 10), kBackground);  // lamp 7 dark: rows 5..15
  QCOMPARE(pixelAt(image, 6, 2), kBackground);   // left over

  meter.showInputLevel(0x40);
  const QImage red = meter.grab().toImage();
  QCOMPARE(pixelAt(red, 6, 5), kRed);
  QCOMPARE(pixelAt(red, 6, 15), kRed);
  QCOMPARE(pixelAt(red, 6, 16), kBackground);
  QCOMPARE(pixelAt(red, 6, 4), kBackground);
  QCOMPARE(pixelAt(red, 6, 95), kBackground);
}

void SLampTest::lampsShrinkWithTheMeter() {
  // Too short for even one-row lamps: only the background is drawn.
  SLamp meter(Layout::Output);
  meter.resize(6, 10);
  meter.showOutputLevel(0x7F);
  const QImage image = meter.grab().toImage();
  for (int y = 0; y < image.height(); ++y) QCOMPARE(pixelAt(image, 3, y), kBackground);

  // 15 rows is the smallest meter with every lamp one row high.
  meter.resize(6, 15);
  const QImage smallest = meter.grab().toImage();
  for (int y = 0; y < 15; ++y)
    QCOMPARE(pixelAt(smallest, 3, y), y % 2 == 0 ? SLamp::lampColor(Layout::Output, 7 - y / 2) : kBackground);
}

QTEST_MAIN(SLampTest)
#include "SLampTest.moc"
