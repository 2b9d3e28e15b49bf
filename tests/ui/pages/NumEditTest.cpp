#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QLabel>
#include <QMenu>
#include <QSignalSpy>
#include <QTimer>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <QtTest>
#include <memory>

#include "model/Language.h"
#include "ui/common/MessageBoxes.h"
#include "ui/pages/NumEdit.h"

using orvane::Language;
using orvane::NumKind;
using orvane::ui::MessageBoxes;
using orvane::ui::NumEdit;

namespace {

// A window with the field under test and a second field to move the focus
// to, shown and active so that focus and key events behave as for a user.
struct Window {
  QWidget widget;
  NumEdit* edit;
  NumEdit* other;

  Window() : edit(new NumEdit(&widget)), other(new NumEdit(&widget)) {
    auto* layout = new QVBoxLayout(&widget);
    layout->addWidget(edit);
    layout->addWidget(other);
    widget.show();
    widget.activateWindow();
    static_cast<void>(QTest::qWaitForWindowActive(&widget));
    edit->setFocus();
  }
};

void configure(NumEdit& edit, NumKind kind, int minimum, int maximum, double step = 0, double offset = 0) {
  edit.setDisplayKind(kind);
  edit.setStep(step);
  edit.setOffset(offset);
  edit.setRange(minimum, maximum);
}

void channelGain(NumEdit& edit) {
  configure(edit, NumKind::Level, 0, 420, 0.1, 30);
}

// Replaces the field's text as a user would: select all, type.
void type(NumEdit& edit, const QString& text) {
  edit.selectAll();
  QTest::keyClicks(&edit, text);
}

void sendText(NumEdit& edit, const QString& text) {
  QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, text);
  QCoreApplication::sendEvent(&edit, &press);
}

void turnWheel(QWidget& widget, int angle) {
  const QPointF at(widget.width() / 2.0, widget.height() / 2.0);
  QWheelEvent event(at, widget.mapToGlobal(at), QPoint(), QPoint(0, angle), Qt::NoButton, Qt::NoModifier,
                    Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(&widget, &event);
}

QList<int> emitted(const QSignalSpy& spy) {
  QList<int> values;
  for (const QList<QVariant>& call : spy) values << call.at(0).toInt();
  return values;
}

}  // namespace

class NumEditTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();

  void programValuesAreSilentAndRangeChecked();
  void rangeStartsAtItsMinimum();
  void enterTakesTypingAndKeepsTheFocus();
  void leavingTheFieldTakesTyping();
  void typingTheShownValueChangesNothing();
  void escapeRestoresTheShownValue();
  void typingWaitsUntilTaken();
  void keyboardTakesOnlyNumberCharacters_data();
  void keyboardTakesOnlyNumberCharacters();
  void pasteKeepsOnlyNumberCharacters();
  void contextMenuPasteKeepsOnlyNumberCharacters();
  void inputMethodTextIsFiltered();
  void ratioFieldsTakeNoTyping();
  void arrowKeysStepAndNotifyAtOnce();
  void arrowKeyTakesTypingFirst();
  void wheelStepsByWholeNotches();
  void wheelOnRatioKeepsDeviceRatios();
  void negativeDelayIsOutOfRangeInBothLanguages_data();
  void negativeDelayIsOutOfRangeInBothLanguages();
  void otherKindsClampSilently();
  void lockedFieldShowsTheLockWord_data();
  void lockedFieldShowsTheLockWord();
  void lockedFieldTakesNoInput();
  void lockingDropsPendingTyping();
  void mirrorShowsTheSameText();

 private:
  QStringList messages_;
};

void NumEditTest::init() {
  messages_.clear();
  MessageBoxes::setSink([this](const QString&, const QString& text) { messages_ << text; });
  Language::setFlag(1);
}

void NumEditTest::cleanup() {
  MessageBoxes::setSink(nullptr);
  Language::setFlag(0);
}

void NumEditTest::programValuesAreSilentAndRangeChecked() {
  NumEdit edit;
  channelGain(edit);
  QSignalSpy spy(&edit, &NumEdit::valueEdited);
  QVERIFY(edit.setValueChecked(365));
  QCOMPARE(edit.value(), 365);
  QCOMPARE(edit.text(), QString("6.5"));
  QVERIFY(!edit.setValueChecked(421));
  QVERIFY(!edit.setValueChecked(-1));
  QCOMPARE(edit.value(), 365);
  QCOMPARE(edit.text(), QString("6.5"));
  QVERIFY(spy.isEmpty());
  QVERIFY(messages_.isEmpty());
}

void NumEditTest::rangeStartsAtItsMinimum() {
  NumEdit edit;
  edit.setDisplayKind(NumKind::Frequency);
  edit.setRange(20000, 2000);  // reversed
  QCOMPARE(edit.minimum(), 2000);
  QCOMPARE(edit.maximum(), 20000);
  QCOMPARE(edit.value(), 2000);
  QCOMPARE(edit.text(), QString("2000"));
}

void NumEditTest::enterTakesTypingAndKeepsTheFocus() {
  Window window;
  channelGain(*window.edit);
  QSignalSpy spy(window.edit, &NumEdit::valueEdited);
  type(*window.edit, "-29.8");
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  QCoreApplication::sendEvent(window.edit, &enter);
  QVERIFY(enter.isAccepted());  // a dialog's default button does not see it
  QCOMPARE(emitted(spy), QList<int>{2});
  QCOMPARE(window.edit->value(), 2);
  QCOMPARE(window.edit->text(), QString("-29.8"));
  QVERIFY(window.edit->hasFocus());
  QCOMPARE(window.edit->cursorPosition(), 0);
}

void NumEditTest::leavingTheFieldTakesTyping() {
  Window window;
  configure(*window.edit, NumKind::DelayMs, 0, 1470);
  QSignalSpy spy(window.edit, &NumEdit::valueEdited);
  type(*window.edit, "10.5");
  window.other->setFocus();
  QCOMPARE(emitted(spy), QList<int>{480});
  QCOMPARE(window.edit->text(), QString("10"));
}

void NumEditTest::typingTheShownValueChangesNothing() {
  Window window;
  configure(*window.edit, NumKind::DelayMs, 0, 1470);
  window.edit->setValueChecked(480);
  QSignalSpy spy(window.edit, &NumEdit::valueEdited);
  type(*window.edit, "10.7");
  QTest::keyClick(window.edit, Qt::Key_Return);
  QVERIFY(spy.isEmpty());
  QCOMPARE(window.edit->text(), QString("10"));  // shown again as the legal value
}

void NumEditTest::escapeRestoresTheShownValue() {
  Window window;
  channelGain(*window.edit);
  window.edit->setValueChecked(300);
  QSignalSpy spy(window.edit, &NumEdit::valueEdited);
  type(*window.edit, "5");
  QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QCoreApplication::sendEvent(window.edit, &escape);
  QVERIFY(escape.isAccepted());
  QCOMPARE(window.edit->text(), QString("0.0"));
  window.other->setFocus();
  QVERIFY(spy.isEmpty());
  QCOMPARE(window.edit->value(), 300);

  // With nothing typed, Escape is left to the dialog around the field.
  window.edit->setFocus();
  QKeyEvent again(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QCoreApplication::sendEvent(window.edit, &again);
  QVERIFY(!again.isAccepted());
}

void NumEditTest::typingWaitsUntilTaken() {
  Window window;
  channelGain(*window.edit);
  window.edit->setValueChecked(300);
  QSignalSpy spy(window.edit, &NumEdit::valueEdited);
  type(*window.edit, "6.5");
  QCOMPARE(window.edit->value(), 300);
  window.edit->commit();
  QCOMPARE(window.edit->value(), 365);
  QCOMPARE(emitted(spy), QList<int>{365});
  window.edit->commit();  // nothing left to take
  QCOMPARE(spy.count(), 1);
}

void NumEditTest::keyboardTakesOnlyNumberCharacters_data() {
  QTest::addColumn<QString>("keys");
  QTest::addColumn<QString>("text");
  QTest::newRow("digits, point, minus") << "-12.5"
                                        << "-12.5";
  QTest::newRow("letters and blanks dropped") << "a1b 2+c,3e"
                                              << "123";
  QTest::newRow("OFF cannot be typed") << "OFF"
                                       << "";
}

void NumEditTest::keyboardTakesOnlyNumberCharacters() {
  QFETCH(QString, keys);
  QFETCH(QString, text);
  Window window;
  channelGain(*window.edit);
  window.edit->clear();
  QTest::keyClicks(window.edit, keys);
  sendText(*window.edit, QString::fromUtf8("中"));  // a double-byte character is swallowed too
  QCOMPARE(window.edit->text(), text);
}

void NumEditTest::pasteKeepsOnlyNumberCharacters() {
  Window window;
  channelGain(*window.edit);
  QGuiApplication::clipboard()->setText(QString::fromUtf8("abc-1中2.5x"));
  window.edit->selectAll();
  QTest::keySequence(window.edit, QKeySequence::Paste);
  QCOMPARE(window.edit->text(), QString("-12.5"));
  QTest::keyClick(window.edit, Qt::Key_Return);
  QCOMPARE(window.edit->value(), 175);
}

void NumEditTest::contextMenuPasteKeepsOnlyNumberCharacters() {
  Window window;
  channelGain(*window.edit);
  QGuiApplication::clipboard()->setText("x7y");
  window.edit->selectAll();
  bool triggered = false;
  QTimer::singleShot(0, [&triggered] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (menu == nullptr) return;
    if (auto* paste = menu->findChild<QAction*>("edit-paste")) {
      paste->trigger();
      triggered = true;
    }
    menu->close();
  });
  QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(2, 2), window.edit->mapToGlobal(QPoint(2, 2)));
  QCoreApplication::sendEvent(window.edit, &event);
  QVERIFY(triggered);
  QCOMPARE(window.edit->text(), QString("7"));
}

void NumEditTest::inputMethodTextIsFiltered() {
  Window window;
  channelGain(*window.edit);
  window.edit->clear();
  QInputMethodEvent event;
  event.setCommitString(QString::fromUtf8("1中2"));
  QCoreApplication::sendEvent(window.edit, &event);
  QCOMPARE(window.edit->text(), QString("12"));
}

void NumEditTest::ratioFieldsTakeNoTyping() {
  Window window;
  configure(*window.edit, NumKind::CompressorRatio, 1, 191);
  window.edit->setValueChecked(16);
  QSignalSpy spy(window.edit, &NumEdit::valueEdited);
  QTest::keyClicks(window.edit, "5");
  window.other->setFocus();
  QCOMPARE(window.edit->text(), QString("2.5:1"));
  QCOMPARE(window.edit->value(), 16);
  QVERIFY(spy.isEmpty());
}

void NumEditTest::arrowKeysStepAndNotifyAtOnce() {
  Window window;
  configure(*window.edit, NumKind::Frequency, 20, 20000);
  window.edit->setValueChecked(1000);
  QSignalSpy spy(window.edit, &NumEdit::valueEdited);
  QTest::keyClick(window.edit, Qt::Key_Up);
  QCOMPARE(emitted(spy), QList<int>{1030});
  QCOMPARE(window.edit->text(), QString("1030"));
  QTest::keyClick(window.edit, Qt::Key_Up);
  QTest::keyClick(window.edit, Qt::Key_Down);
  QCOMPARE(emitted(spy), (QList<int>{1030, 1060, 1030}));
  window.edit->setValueChecked(20000);
  spy.clear();
  QTest::keyClick(window.edit, Qt::Key_Up);  // at the top: no change, no notice
  QVERIFY(spy.isEmpty());
}

void NumEditTest::arrowKeyTakesTypingFirst() {
  Window window;
  configure(*window.edit, NumKind::Frequency, 20, 20000);
  window.edit->setValueChecked(1000);
  QSignalSpy spy(window.edit, &NumEdit::valueEdited);
  type(*window.edit, "500");
  QTest::keyClick(window.edit, Qt::Key_Up);
  QCOMPARE(emitted(spy), QList<int>{515});  // 500 typed, then the next grid point
}

void NumEditTest::wheelStepsByWholeNotches() {
  Window window;
  channelGain(*window.edit);
  window.edit->setValueChecked(300);
  QSignalSpy spy(window.edit, &NumEdit::valueEdited);
  turnWheel(*window.edit, 40);
  turnWheel(*window.edit, 40);
  QVERIFY(spy.isEmpty());
  turnWheel(*window.edit, 40);
  QCOMPARE(emitted(spy), QList<int>{301});
  turnWheel(*window.edit, 60);  // half a notch up, then half down: nothing
  turnWheel(*window.edit, -60);
  QCOMPARE(spy.count(), 1);
  turnWheel(*window.edit, -360);  // a fast turn is held to one notch
  QCOMPARE(emitted(spy), (QList<int>{301, 300}));
  QCOMPARE(window.edit->text(), QString("0.0"));

  window.edit->setValueChecked(420);
  spy.clear();
  turnWheel(*window.edit, 120);  // beyond the top: no change, no notice
  QVERIFY(spy.isEmpty());
  QCOMPARE(window.edit->value(), 420);
}

void NumEditTest::wheelOnRatioKeepsDeviceRatios() {
  Window window;
  configure(*window.edit, NumKind::AgcRatio, 1, 191);
  window.edit->setValueChecked(16);
  QSignalSpy spy(window.edit, &NumEdit::valueEdited);
  turnWheel(*window.edit, 120);
  QCOMPARE(window.edit->text(), QString("1:3.0"));
  turnWheel(*window.edit, -120);
  turnWheel(*window.edit, -120);
  QCOMPARE(emitted(spy), (QList<int>{21, 16, 11}));
}

void NumEditTest::negativeDelayIsOutOfRangeInBothLanguages_data() {
  QTest::addColumn<int>("kind");
  QTest::addColumn<int>("language");
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QString>("shown");
  QTest::newRow("ms, English") << int(NumKind::DelayMs) << 1 << "-5"
                               << "0.000";
  QTest::newRow("ms, Chinese") << int(NumKind::DelayMs) << 0 << "-5"
                               << "0.000";
  QTest::newRow("metres") << int(NumKind::DelayMetres) << 1 << "-0.5"
                          << "0.000";
  QTest::newRow("feet, Chinese") << int(NumKind::DelayFeet) << 0 << "-1"
                                 << "0.000";
}

void NumEditTest::negativeDelayIsOutOfRangeInBothLanguages() {
  QFETCH(int, kind);
  QFETCH(int, language);
  QFETCH(QString, typed);
  QFETCH(QString, shown);
  Language::setFlag(language);
  Window window;
  configure(*window.edit, static_cast<NumKind>(kind), 0, 1470);
  window.edit->setValueChecked(600);
  QSignalSpy spy(window.edit, &NumEdit::valueEdited);
  type(*window.edit, typed);
  QTest::keyClick(window.edit, Qt::Key_Return);
  QCOMPARE(messages_, QStringList{"Out of Range"});
  QCOMPARE(window.edit->value(), 0);
  QCOMPARE(window.edit->text(), shown);
  QCOMPARE(emitted(spy), QList<int>{0});
}

void NumEditTest::otherKindsClampSilently() {
  Window window;
  channelGain(*window.edit);
  type(*window.edit, "-100");
  QTest::keyClick(window.edit, Qt::Key_Return);
  QCOMPARE(window.edit->value(), 0);
  QCOMPARE(window.edit->text(), QString("-30.0"));
  configure(*window.edit, NumKind::Frequency, 20, 20000);
  type(*window.edit, "-5");
  QTest::keyClick(window.edit, Qt::Key_Return);
  QCOMPARE(window.edit->value(), 20);
  QVERIFY(messages_.isEmpty());
}

void NumEditTest::lockedFieldShowsTheLockWord_data() {
  QTest::addColumn<int>("language");
  QTest::addColumn<QString>("word");
  QTest::newRow("English") << 1 << "Lock";
  QTest::newRow("Chinese") << 0 << QString::fromUtf8("锁定");
}

void NumEditTest::lockedFieldShowsTheLockWord() {
  QFETCH(int, language);
  QFETCH(QString, word);
  Language::setFlag(language);
  NumEdit edit;
  channelGain(edit);
  edit.setValueChecked(365);
  edit.setLocked(true);
  QVERIFY(edit.isLocked());
  QVERIFY(!edit.isEnabled());
  QCOMPARE(edit.text(), word);

  // The program still keeps the value current; it shows once unlocked.
  QVERIFY(edit.setValueChecked(300));
  QCOMPARE(edit.text(), word);
  Language::setFlag(language == 0 ? 1 : 0);
  edit.refresh();
  QCOMPARE(edit.text(), QString::fromUtf8(language == 0 ? "Lock" : "锁定"));
  edit.setLocked(false);
  QVERIFY(edit.isEnabled());
  QCOMPARE(edit.text(), QString("0.0"));
}

void NumEditTest::lockedFieldTakesNoInput() {
  Window window;
  configure(*window.edit, NumKind::Frequency, 20, 20000);
  window.edit->setValueChecked(1000);
  window.edit->setLocked(true);
  QSignalSpy spy(window.edit, &NumEdit::valueEdited);
  QTest::keyClicks(window.edit, "5");
  QTest::keyClick(window.edit, Qt::Key_Up);
  turnWheel(*window.edit, 120);
  QVERIFY(!window.edit->applyArrowSteps(1));
  window.edit->commit();
  QVERIFY(spy.isEmpty());
  QCOMPARE(window.edit->value(), 1000);
  QCOMPARE(window.edit->text(), QString("Lock"));
}

void NumEditTest::lockingDropsPendingTyping() {
  Window window;
  channelGain(*window.edit);
  window.edit->setValueChecked(300);
  QSignalSpy spy(window.edit, &NumEdit::valueEdited);
  type(*window.edit, "5");
  window.edit->setLocked(true);  // takes the focus away too
  window.edit->setLocked(false);
  QVERIFY(spy.isEmpty());
  QCOMPARE(window.edit->value(), 300);
  QCOMPARE(window.edit->text(), QString("0.0"));
}

void NumEditTest::mirrorShowsTheSameText() {
  NumEdit edit;
  channelGain(edit);
  auto mirror = std::make_unique<QLabel>();
  edit.setMirror(mirror.get());
  QCOMPARE(mirror->text(), QString("-30.0"));
  edit.setValueChecked(365);
  QCOMPARE(mirror->text(), QString("6.5"));
  edit.setLocked(true);
  QCOMPARE(mirror->text(), QString("Lock"));
  mirror.reset();  // a mirror that goes away is simply forgotten
  edit.setLocked(false);
  QVERIFY(edit.mirror() == nullptr);
  QCOMPARE(edit.text(), QString("6.5"));
}

QTEST_MAIN(NumEditTest)
#include "NumEditTest.moc"
