#include <QColor>
#include <QImage>
#include <QtTest>

#include "ui/widgets/GradientProgressCtrl.h"

using orvane::ui::GradientProgressCtrl;

namespace {

const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 255);
const QColor kBackdrop(10, 20, 30);

QColor pixelAt(const QImage& image, int x, int y) {
  return QColor(image.pixel(x, y));
}

// A 200 × 20 bar on a known background.
void prepare(GradientProgressCtrl& bar) {
  bar.resize(200, 20);
  bar.setBackgroundColor(kBackdrop);
}

bool allPixels(const QImage& image, const QColor& colour) {
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (pixelAt(image, x, y) != colour) return false;
    }
  }
  return true;
}

}  // namespace

class GradientProgressCtrlTest : public QObject {
  Q_OBJECT

 private slots:
  void startsAtZeroOfHundredInRedToBlue();
  void positionStaysInsideTheRange();
  void stepItStopsAtTheUpperBound();
  void bandColoursFollowTheComponentSteps();
  void emptyAtTheLowerBound();
  void halfWayFillsTheLeftHalfRedToPurple();
  void fullBarEndsNearBlue();
  void rangeNotStartingAtZeroFillsByShare();
  void equalColoursDrawOneFlatBand();
  void percentageTextIsDrawnCentred();
  void verticalBarFillsFromTheBottom();
  void backgroundFollowsThePaletteUntilSet();
};

void GradientProgressCtrlTest::startsAtZeroOfHundredInRedToBlue() {
  GradientProgressCtrl bar;
  QCOMPARE(bar.lower(), 0);
  QCOMPARE(bar.upper(), 100);
  QCOMPARE(bar.position(), 0);
  QCOMPARE(bar.step(), 10);
  QCOMPARE(bar.startColor(), kRed);
  QCOMPARE(bar.endColor(), kBlue);
  QCOMPARE(bar.textColor(), QColor(Qt::white));
  QVERIFY(!bar.showsPercentage());
}

void GradientProgressCtrlTest::positionStaysInsideTheRange() {
  GradientProgressCtrl bar;
  bar.setPosition(150);
  QCOMPARE(bar.position(), 100);
  bar.setPosition(-5);
  QCOMPARE(bar.position(), 0);

  bar.setPosition(80);
  bar.setRange(0, 50);  // shrinking the range pulls the position in
  QCOMPARE(bar.position(), 50);

  bar.setRange(40, 20);  // a reversed range is put in order
  QCOMPARE(bar.lower(), 20);
  QCOMPARE(bar.upper(), 40);
  QCOMPARE(bar.position(), 40);
}

void GradientProgressCtrlTest::stepItStopsAtTheUpperBound() {
  GradientProgressCtrl bar;
  bar.stepIt();
  QCOMPARE(bar.position(), 10);
  bar.setPosition(95);
  bar.stepIt();
  QCOMPARE(bar.position(), 100);
  bar.stepIt();
  QCOMPARE(bar.position(), 100);

  bar.setStep(-30);
  bar.stepIt();
  QCOMPARE(bar.position(), 70);
}

void GradientProgressCtrlTest::bandColoursFollowTheComponentSteps() {
  // Red to blue: 255 bands, red falling and blue rising one unit a band.
  QCOMPARE(GradientProgressCtrl::bandCount(kRed, kBlue), 255);
  QCOMPARE(GradientProgressCtrl::bandColor(kRed, kBlue, 0, 255), kRed);
  QCOMPARE(GradientProgressCtrl::bandColor(kRed, kBlue, 127, 255), QColor(128, 0, 127));
  QCOMPARE(GradientProgressCtrl::bandColor(kRed, kBlue, 254, 255), QColor(1, 0, 254));

  // The widest component decides the band count; the others step in
  // whole units, rounded towards the start colour.
  const QColor from(10, 100, 0);
  const QColor to(30, 0, 5);
  QCOMPARE(GradientProgressCtrl::bandCount(from, to), 100);
  QCOMPARE(GradientProgressCtrl::bandColor(from, to, 50, 100), QColor(20, 50, 2));
  QCOMPARE(GradientProgressCtrl::bandColor(from, to, 99, 100), QColor(29, 1, 4));
}

void GradientProgressCtrlTest::emptyAtTheLowerBound() {
  GradientProgressCtrl bar;
  prepare(bar);
  QVERIFY(allPixels(bar.grab().toImage(), kBackdrop));

  bar.setRange(20, 60);
  bar.setPosition(20);
  QVERIFY(allPixels(bar.grab().toImage(), kBackdrop));

  bar.setPosition(21);
  QVERIFY(!allPixels(bar.grab().toImage(), kBackdrop));
}

void GradientProgressCtrlTest::halfWayFillsTheLeftHalfRedToPurple() {
  GradientProgressCtrl bar;
  prepare(bar);
  bar.setPosition(50);
  const QImage image = bar.grab().toImage();

  QCOMPARE(pixelAt(image, 0, 10), kRed);
  // Pixel 99 starts in band 126 of 255 (98.8 .. 99.6 px from the start).
  QCOMPARE(pixelAt(image, 99, 10), QColor(129, 0, 126));
  for (int x = 100; x < 200; ++x) QCOMPARE(pixelAt(image, x, 10), kBackdrop);

  // Red falls and blue rises along the filled half; green stays off; every
  // row of a column has the same colour.
  for (int x = 1; x < 100; ++x) {
    const QColor left = pixelAt(image, x - 1, 10);
    const QColor here = pixelAt(image, x, 10);
    QVERIFY(here.red() <= left.red());
    QVERIFY(here.blue() >= left.blue());
    QCOMPARE(here.green(), 0);
    QCOMPARE(pixelAt(image, x, 0), here);
    QCOMPARE(pixelAt(image, x, 19), here);
  }
}

void GradientProgressCtrlTest::fullBarEndsNearBlue() {
  GradientProgressCtrl bar;
  prepare(bar);
  bar.setPosition(100);
  const QImage image = bar.grab().toImage();
  QCOMPARE(pixelAt(image, 0, 5), kRed);
  // Pixel 199 starts in band 253 (198.4 .. 199.2 px).
  QCOMPARE(pixelAt(image, 199, 5), QColor(2, 0, 253));
}

void GradientProgressCtrlTest::rangeNotStartingAtZeroFillsByShare() {
  // Half of 50..150 is half the bar, as the percentage text says; the share
  // of the upper bound alone (100 / 150) would fill two thirds.
  GradientProgressCtrl bar;
  prepare(bar);
  bar.setRange(50, 150);
  bar.setPosition(100);
  QCOMPARE(bar.percentageText(), QStringLiteral(" 50 %"));
  const QImage image = bar.grab().toImage();
  QVERIFY(pixelAt(image, 99, 10) != kBackdrop);
  QCOMPARE(pixelAt(image, 100, 10), kBackdrop);

  // A range wholly below zero fills as well.
  bar.setRange(-100, 0);
  bar.setPosition(-25);
  const QImage negative = bar.grab().toImage();
  QVERIFY(pixelAt(negative, 149, 10) != kBackdrop);
  QCOMPARE(pixelAt(negative, 150, 10), kBackdrop);
}

void GradientProgressCtrlTest::equalColoursDrawOneFlatBand() {
  const QColor green(0, 128, 0);
  QCOMPARE(GradientProgressCtrl::bandCount(green, green), 1);

  GradientProgressCtrl bar;
  prepare(bar);
  bar.setStartColor(green);
  bar.setEndColor(green);
  bar.setPosition(50);
  const QImage image = bar.grab().toImage();
  for (int x = 0; x < 100; ++x) QCOMPARE(pixelAt(image, x, 10), green);
  for (int x = 100; x < 200; ++x) QCOMPARE(pixelAt(image, x, 10), kBackdrop);
}

void GradientProgressCtrlTest::percentageTextIsDrawnCentred() {
  GradientProgressCtrl bar;
  bar.setRange(0, 8);
  bar.setPosition(3);
  QCOMPARE(bar.percentageText(), QStringLiteral(" 38 %"));
  bar.setPosition(0);
  QCOMPARE(bar.percentageText(), QStringLiteral("  0 %"));
  bar.setPosition(8);
  QCOMPARE(bar.percentageText(), QStringLiteral("100 %"));
  bar.setRange(5, 5);  // no span: reads zero rather than dividing by it
  QCOMPARE(bar.percentageText(), QStringLiteral("  0 %"));

  // On an empty bar the only light pixels are the text, in the middle.
  GradientProgressCtrl shown;
  shown.resize(200, 24);
  shown.setBackgroundColor(Qt::black);
  shown.setShowPercentage(true);
  const QImage image = shown.grab().toImage();
  int light = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (pixelAt(image, x, y).lightness() < 128) continue;
      ++light;
      QVERIFY2(x > 50 && x < 150, "text must be centred");
    }
  }
  QVERIFY(light > 10);
}

void GradientProgressCtrlTest::verticalBarFillsFromTheBottom() {
  GradientProgressCtrl bar;
  bar.setOrientation(Qt::Vertical);
  bar.resize(20, 200);
  bar.setBackgroundColor(kBackdrop);
  bar.setPosition(50);
  QVERIFY(bar.sizeHint().height() > bar.sizeHint().width());
  const QImage image = bar.grab().toImage();
  QCOMPARE(pixelAt(image, 10, 199), kRed);
  QCOMPARE(pixelAt(image, 10, 100), QColor(129, 0, 126));
  QCOMPARE(pixelAt(image, 10, 99), kBackdrop);
  QCOMPARE(pixelAt(image, 10, 0), kBackdrop);
}

void GradientProgressCtrlTest::backgroundFollowsThePaletteUntilSet() {
  GradientProgressCtrl bar;
  bar.resize(50, 10);
  QPalette palette = bar.palette();
  palette.setColor(QPalette::Window, QColor(40, 40, 40));
  bar.setPalette(palette);
  QCOMPARE(bar.backgroundColor(), QColor(40, 40, 40));
  QVERIFY(allPixels(bar.grab().toImage(), QColor(40, 40, 40)));

  bar.setBackgroundColor(kBackdrop);
  QVERIFY(allPixels(bar.grab().toImage(), kBackdrop));
}

QTEST_MAIN(GradientProgressCtrlTest)
#include "GradientProgressCtrlTest.moc"
