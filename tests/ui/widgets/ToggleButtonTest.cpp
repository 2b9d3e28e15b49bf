#include <QImage>
#include <QSignalSpy>
#include <QtTest>

#include "ui/widgets/ToggleButton.h"

using orvane::ui::ToggleButton;

namespace {

QColor pixelAt(const QImage& image, int x, int y) {
  return QColor(image.pixel(x, y));
}

bool near(const QColor& a, const QColor& b, int tolerance) {
  return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
         std::abs(a.blue() - b.blue()) <= tolerance;
}

}  // namespace

class ToggleButtonTest : public QObject {
  Q_OBJECT

 private slots:
  void clickTogglesAndReports();
  void setCheckedIsNotAClick();
  void spaceTogglesTheFocusedButton();
  void disabledButtonIgnoresClicks();
  void onStateShowsTheOnColour();
  void disabledStatesStayApart();
  void unlabelledButtonIsASmallSquare();
  void labelFollowsTheLanguage();
};

void ToggleButtonTest::clickTogglesAndReports() {
  ToggleButton button(QStringLiteral("Mute"));
  button.resize(button.sizeHint());
  QVERIFY(button.isCheckable());
  QVERIFY(!button.isChecked());
  QSignalSpy toggled(&button, &ToggleButton::toggled);
  QSignalSpy clicked(&button, &ToggleButton::clicked);

  QTest::mouseClick(&button, Qt::LeftButton);
  QVERIFY(button.isChecked());
  QTest::mouseClick(&button, Qt::LeftButton);
  QVERIFY(!button.isChecked());

  QCOMPARE(toggled.count(), 2);
  QCOMPARE(toggled.at(0).at(0).toBool(), true);
  QCOMPARE(toggled.at(1).at(0).toBool(), false);
  QCOMPARE(clicked.count(), 2);
  QCOMPARE(clicked.at(0).at(0).toBool(), true);
}

void ToggleButtonTest::setCheckedIsNotAClick() {
  // The window shows states from the parameter image with setChecked and
  // listens to clicked, so a refresh is never taken for an edit.
  ToggleButton button;
  QSignalSpy clicked(&button, &ToggleButton::clicked);
  QSignalSpy toggled(&button, &ToggleButton::toggled);
  button.setChecked(true);
  QVERIFY(button.isChecked());
  QCOMPARE(clicked.count(), 0);
  QCOMPARE(toggled.count(), 1);
}

void ToggleButtonTest::spaceTogglesTheFocusedButton() {
  ToggleButton button(QStringLiteral("Curve"));
  button.show();
  QVERIFY(QTest::qWaitForWindowExposed(&button));
  button.setFocus();
  QTest::keyClick(&button, Qt::Key_Space);
  QVERIFY(button.isChecked());
}

void ToggleButtonTest::disabledButtonIgnoresClicks() {
  ToggleButton button(QStringLiteral("Mute"));
  button.resize(button.sizeHint());
  button.setEnabled(false);
  QSignalSpy toggled(&button, &ToggleButton::toggled);
  QSignalSpy clicked(&button, &ToggleButton::clicked);
  QTest::mouseClick(&button, Qt::LeftButton);
  QTest::keyClick(&button, Qt::Key_Space);
  QVERIFY(!button.isChecked());
  QCOMPARE(toggled.count(), 0);
  QCOMPARE(clicked.count(), 0);
}

void ToggleButtonTest::onStateShowsTheOnColour() {
  const QColor amber(255, 178, 36);
  ToggleButton button;
  button.resize(24, 24);
  button.setOnColor(amber);

  // Off: a dark face. On: the face takes the on colour, give or take the
  // shading from top to bottom.
  const QColor off = pixelAt(button.grab().toImage(), 12, 12);
  QVERIFY(off.lightness() < 100);
  button.setChecked(true);
  const QColor on = pixelAt(button.grab().toImage(), 12, 12);
  QVERIFY2(near(on, amber, 30), qPrintable(on.name()));

  button.setOnColor(QColor(52, 206, 84));
  const QColor green = pixelAt(button.grab().toImage(), 12, 12);
  QVERIFY2(near(green, QColor(52, 206, 84), 30), qPrintable(green.name()));
}

void ToggleButtonTest::disabledStatesStayApart() {
  // A locked strip still tells a sounding channel from a muted one, but
  // neither looks like an active button.
  ToggleButton button;
  button.resize(24, 24);
  button.setChecked(true);
  const QColor activeOn = pixelAt(button.grab().toImage(), 12, 12);
  button.setEnabled(false);
  const QColor disabledOn = pixelAt(button.grab().toImage(), 12, 12);
  button.setChecked(false);
  const QColor disabledOff = pixelAt(button.grab().toImage(), 12, 12);

  QVERIFY(disabledOn != activeOn);
  QVERIFY(disabledOn.hslSaturation() < activeOn.hslSaturation());
  QVERIFY(disabledOn != disabledOff);
  QVERIFY(disabledOn.green() > disabledOff.green());
}

void ToggleButtonTest::unlabelledButtonIsASmallSquare() {
  ToggleButton crosspoint;
  const QSize hint = crosspoint.sizeHint();
  QCOMPARE(hint.width(), hint.height());
  QVERIFY(hint.width() <= 24);
}

void ToggleButtonTest::labelFollowsTheLanguage() {
  ToggleButton button(QStringLiteral("Mute"));
  const QSize english = button.sizeHint();
  button.setText(QString());
  QCOMPARE(button.sizeHint().width(), button.sizeHint().height());
  button.setText(QStringLiteral("Anti-Feedback"));
  QVERIFY(button.sizeHint().width() > english.width());
}

QTEST_MAIN(ToggleButtonTest)
#include "ToggleButtonTest.moc"
