// Undo and redo in the main window connected to a simulated device, with
// real mouse and key events: each gesture is one step, the keys and the
// tool bar's buttons take steps back and forth, a text field's own typing
// comes first, a locked function is skipped with a message, and the
// simulator ends up holding what the window shows.

#include <QApplication>
#include <QComboBox>
#include <QToolButton>
#include <QtTest>

#include "MainWindowFixture.h"
#include "model/Language.h"
#include "model/ParameterImage.h"
#include "ui/SimProcess.h"
#include "ui/common/MessageBoxes.h"
#include "ui/common/UiText.h"
#include "ui/graphs/CFStatic.h"
#include "ui/main/ChannelStrip.h"
#include "ui/main/MainTexts.h"
#include "ui/main/TopBar.h"
#include "ui/pages/NumEdit.h"
#include "ui/pages/NumField.h"
#include "ui/widgets/Fader.h"
#include "ui/widgets/ToggleButton.h"

namespace orvane::ui {

namespace {

BlockSet blocks(const ParameterImage& image, Copy copy = Copy::Edited) {
  return image.read([copy](const ImageData& d) { return d.blocks(copy == Copy::Device); });
}

// Gives `widget` the keyboard focus, once the window has it.
bool focus(QWidget* widget) {
  widget->setFocus();
  return QTest::qWaitFor([widget] { return widget->hasFocus(); });
}

// A key pressed where the keyboard focus is, as the user presses it.
void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QTest::keyClick(QApplication::focusWidget(), key, modifiers);
}

// Takes `widget` at `from` and moves it `by` pixels, in several moves.
void drag(QWidget* widget, QPoint from, QPoint by) {
  QTest::mouseMove(widget, from);
  QTest::mousePress(widget, Qt::LeftButton, Qt::NoModifier, from);
  for (int part = 1; part <= 4; ++part) QTest::mouseMove(widget, from + by * part / 4);
  QTest::mouseRelease(widget, Qt::LeftButton, Qt::NoModifier, from + by);
}

// Whether `button` is usable exactly when there is a step, and its tool tip
// names it in the language shown.
bool names(const QToolButton* button, const BiText& word, const std::optional<std::string>& step) {
  const QString tip = button->toolTip();
  return button->isEnabled() == step.has_value() && tip.startsWith(uiText(word)) &&
         (!step || tip.contains(QString::fromStdString(*step)));
}

}  // namespace

class UndoRedoTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() {
    MessageBoxes::setSink({});
    Language::setFlag(0);
  }

  void gesturesAreStepsTakenBackAndForthByKeysAndButtons() {
    QStringList messages;
    MessageBoxes::setSink([&](const QString&, const QString& text) { messages << text; });
    ParameterImage image;
    const std::unique_ptr<OrvaneDlg> opened = MainWindowFixture::open(image);
    QVERIFY(opened);
    OrvaneDlg& window = *opened;
    const WindowParts parts(window);
    editor::EditHistory& history = parts.session().history();
    QToolButton* undo = parts.topBar()->undoButton();
    QToolButton* redo = parts.topBar()->redoButton();
    // A step made offline is forgotten when a link opens.
    QTest::mouseClick(parts.outputStrip(0)->muteButton(), Qt::LeftButton);
    QTRY_VERIFY(undo->isEnabled());
    SimProcess sim;
    QVERIFY(MainWindowFixture::connectAndRead(window, sim));
    window.activateWindow();
    const BlockSet before = blocks(image);
    const EqBand untouched = image.band(Side::Input, 6, 2);
    QCOMPARE(image.band(Side::Input, 5, 2), untouched);
    QVERIFY(names(undo, MainTexts::kUndo, std::nullopt));
    QVERIFY(names(redo, MainTexts::kRedo, std::nullopt));

    // A link group joined from the keyboard, a band dragged on the graph
    // (which the group follows), a fader drag, a value typed and taken with
    // Enter, a toggle: five steps.
    const auto gain = [&](Side side, int channel) { return image.field(side, channel, CommonField::Gain); };
    QVERIFY(focus(parts.inputStrip(5)->linkList()));
    press(Qt::Key_Down);
    QCOMPARE(parts.linkGroups().group(Side::Input, 5), 6);
    QTRY_COMPARE(history.steps(), std::size_t{1});
    window.SelectPage(Page::Input, 6);
    const GraphRect marker = parts.graph()->geometry(Side::Input, 6).element(2).marker();
    drag(parts.graph(), QPoint(marker.centre().x, marker.centre().y), QPoint(40, -30));
    const EqBand band = image.band(Side::Input, 6, 2);
    QVERIFY(band != untouched);
    QTRY_COMPARE(history.steps(), std::size_t{2});
    QCOMPARE(image.band(Side::Input, 5, 2), band);
    Fader* fader = parts.inputStrip(2)->fader();
    drag(fader, fader->capRect().center(), QPoint(40, 0));
    const int dragged = gain(Side::Input, 2);
    QVERIFY(dragged > 300);
    QTRY_COMPARE(history.steps(), std::size_t{3});
    NumEdit* typed = parts.outputStrip(5)->gainField()->edit();
    QVERIFY(focus(typed));
    typed->selectAll();
    QTest::keyClicks(typed, "-6");
    QTest::keyClick(typed, Qt::Key_Return);
    QCOMPARE(gain(Side::Output, 5), 240);
    QTRY_COMPARE(history.steps(), std::size_t{4});
    QTest::mouseClick(parts.outputStrip(3)->muteButton(), Qt::LeftButton);
    QCOMPARE(image.field(Side::Output, 3, CommonField::Mute), 0);
    QTRY_COMPARE(history.steps(), std::size_t{5});
    QVERIFY(names(undo, MainTexts::kUndo, history.undoName()));
    QVERIFY(names(redo, MainTexts::kRedo, std::nullopt));

    // Typing not yet taken is the field's own to take back; the image and
    // the history stay as they are.
    NumEdit* pending = parts.inputStrip(1)->gainField()->edit();
    QVERIFY(focus(pending));
    pending->selectAll();
    QTest::keyClicks(pending, "-12");
    press(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(pending->text(), pending->displayText());
    QCOMPARE(history.steps(), std::size_t{5});
    QCOMPARE(gain(Side::Input, 1), 300);

    // Five undos from the keyboard bring back the image as it was read;
    // the group's copy of the band went back with the drag.
    press(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(image.field(Side::Output, 3, CommonField::Mute), 1);
    QVERIFY(parts.outputStrip(3)->muteButton()->isChecked());
    QVERIFY(names(redo, MainTexts::kRedo, history.redoName()));
    press(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(parts.outputStrip(5)->gainField()->value(), 300);
    press(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(fader->value(), 300);
    press(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(image.band(Side::Input, 5, 2), untouched);
    QCOMPARE(parts.filters().input(6).element(2).GainCode(), untouched.Gain);
    press(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(parts.inputStrip(5)->linkList()->currentIndex(), 5);
    QVERIFY(blocks(image) == before);
    QVERIFY(names(undo, MainTexts::kUndo, std::nullopt));
    QTRY_VERIFY_WITH_TIMEOUT(blocks(image, Copy::Device) == before, 5000);

    // Redo by both keys, undo by the button; a new edit drops what was
    // undone.
    press(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(parts.linkGroups().group(Side::Input, 5), 6);
    press(Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(image.band(Side::Input, 5, 2), band);
    press(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(fader->value(), dragged);
    QTest::mouseClick(undo, Qt::LeftButton);
    QCOMPARE(gain(Side::Input, 2), 300);
    QVERIFY(redo->isEnabled());
    QTest::mouseClick(parts.outputStrip(7)->muteButton(), Qt::LeftButton);
    QTRY_VERIFY(!redo->isEnabled());
    QCOMPARE(history.steps(), std::size_t{3});

    // In English the tips name the steps too.
    QTest::mouseClick(parts.languageButton(), Qt::LeftButton);
    QVERIFY(names(undo, MainTexts::kUndo, history.undoName()));
    QVERIFY(undo->toolTip().startsWith(QStringLiteral("Undo")));

    // The band's step while the input EQ is locked is skipped and told;
    // the mute after it was taken back.
    image.modify([](ImageData& d) { d.locks.setLocked(LockFlag::InputEq, true); });
    window.ApplyLocks();
    press(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(image.field(Side::Output, 7, CommonField::Mute), 1);
    QVERIFY(messages.isEmpty());
    press(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(image.band(Side::Input, 6, 2), band);
    QCOMPARE(messages.size(), 1);
    QVERIFY(messages.front().startsWith(QStringLiteral("Undo: ")));
    image.modify([](ImageData& d) { d.locks.setLocked(LockFlag::InputEq, false); });
    window.ApplyLocks();

    // The device holds what the window shows: read back over a new link,
    // which forgets the history.
    const BlockSet shown = blocks(image);
    QTRY_VERIFY_WITH_TIMEOUT(blocks(image, Copy::Device) == shown, 5000);
    window.disconnectLink();
    QVERIFY(MainWindowFixture::connectAndRead(window, sim));
    QVERIFY(blocks(image) == shown);
    QCOMPARE(history.steps(), std::size_t{0});
    QVERIFY(!undo->isEnabled() && !redo->isEnabled());
    window.disconnectLink();
  }
};

}  // namespace orvane::ui

QTEST_MAIN(orvane::ui::UndoRedoTest)
#include "UndoRedoTest.moc"
