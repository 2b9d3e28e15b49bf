// The channel strips, master section and crosspoint buttons of the main
// window: what each control writes into the image and which rows the worker
// then finds changed.

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPainter>
#include <QtTest>

#include "link/SystemLinks.h"
#include "model/Crosspoints.h"
#include "model/NameField.h"
#include "model/ParameterImage.h"
#include "ui/SimProcess.h"
#include "ui/common/MessageBoxes.h"
#include "ui/main/ChannelStrip.h"
#include "ui/main/CrosspointGrid.h"
#include "ui/main/DisplayDlg.h"
#include "ui/main/MasterPanel.h"
#include "ui/main/OrvaneApp.h"
#include "ui/main/OrvaneDlg.h"
#include "ui/main/SystemTransports.h"
#include "ui/main/WindowParts.h"
#include "ui/pages/NumEdit.h"
#include "ui/pages/NumField.h"
#include "ui/widgets/ConsoleLook.h"
#include "ui/widgets/Fader.h"
#include "ui/widgets/ToggleButton.h"

namespace orvane::ui {

namespace {

struct RowId {
  Side side;
  int channel;
  int row;
  friend bool operator==(const RowId&, const RowId&) = default;
};

// Every row the worker would write now, in its order, inputs first.
std::vector<RowId> changedRows(ParameterImage& image) {
  std::vector<RowId> rows;
  for (Side side : {Side::Input, Side::Output})
    while (const std::optional<RowWrite> write = image.takeNextChangedRow(side))
      rows.push_back({write->side, write->channel, write->row});
  return rows;
}

// Types `text` into a numeric field and takes it, as leaving the field does.
void typeInto(NumField* field, const QString& text) {
  field->edit()->selectAll();
  QTest::keyClicks(field->edit(), text);
  field->edit()->commit();
}

// Types text of any script, one character at a time.
void typeText(QWidget* widget, const QString& text) {
  for (QChar c : text) QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

// The colour of the top edge of a strip's frame in a picture of the window.
QColor frameColour(const QImage& image, const QWidget* strip) {
  return image.pixelColor(strip->mapTo(strip->window(), QPoint(strip->width() / 2, 1)));
}

// True when every character of `text` is drawn with `font` as a glyph of its
// own: a character without a glyph comes out as the same box (or nothing) as
// a code point no font has.
bool drawnAsGlyphs(const QString& text, const QFont& font) {
  const auto draw = [&font](const QString& s) {
    QImage image(48, 48, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(image.rect(), Qt::AlignCenter, s);
    return image;
  };
  QImage blank(48, 48, QImage::Format_RGB32);
  blank.fill(Qt::black);
  const QImage missing = draw(QString(QChar(0x0378)));
  for (QChar c : text) {
    if (c.isSpace()) continue;
    const QImage glyph = draw(QString(c));
    if (glyph == missing || glyph == blank) return false;
  }
  return true;
}

}  // namespace

class StripsTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<ParameterImage> image_;
  std::unique_ptr<OrvaneDlg> window_;
  // The window's strips, pages and link machinery.
  WindowParts parts() const { return WindowParts(*window_); }
  QStringList messages_;

  ChannelStrip* input(int n) { return parts().inputStrip(n); }
  ChannelStrip* output(int n) { return parts().outputStrip(n); }
  int in(int n, Field f) { return image_->field(Side::Input, n, f); }
  int out(int n, Field f) { return image_->field(Side::Output, n, f); }
  QString nameOf(Side side, int n) {
    return image_->read([&](const ImageData& d) {
      return QString::fromStdString(NameField::FieldToText(d.edited.block(side, n), kNameBytes));
    });
  }

 private slots:
  void initTestCase() {
    OrvaneApp::applyConsoleLook(*static_cast<QApplication*>(QCoreApplication::instance()));
  }

  void init() {
    Language::setFlag(0);
    messages_.clear();
    MessageBoxes::setSink([this](const QString&, const QString& text) { messages_ << text; });
    image_ = std::make_unique<ParameterImage>();
    window_ = std::make_unique<OrvaneDlg>(*image_, SystemLinks::attach, SystemTransports::listSerialPorts);
    window_->resize(1366, 768);
    window_->show();
    image_->takeDeviceSnapshot();
  }

  void cleanup() {
    window_.reset();
    image_.reset();
    MessageBoxes::setSink(nullptr);
    Language::setFlag(0);
    QVERIFY2(messages_.isEmpty(), qPrintable(messages_.join('\n')));
  }

  void windowFitsTheSmallScreen() {
    const QSize least = window_->minimumSizeHint();
    QVERIFY2(least.width() <= 1366 && least.height() <= 768,
             qPrintable(QStringLiteral("%1 x %2").arg(least.width()).arg(least.height())));
  }

  void gainEditFollowsTheLinkGroup() {
    parts().linkGroups().join(Side::Input, 0, 3);
    parts().linkGroups().join(Side::Input, 0, 6);
    image_->takeDeviceSnapshot();

    input(0)->fader()->setFocus();
    QTest::keyClick(input(0)->fader(), Qt::Key_Up);
    for (int n : {0, 3, 6}) {
      QCOMPARE(in(n, CommonField::Gain), 301);
      QCOMPARE(input(n)->fader()->value(), 301);
      QCOMPARE(input(n)->gainField()->value(), 301);
    }
    QCOMPARE(in(1, CommonField::Gain), 300);
    QCOMPARE(changedRows(*image_),
             (std::vector<RowId>{{Side::Input, 0, 1}, {Side::Input, 3, 1}, {Side::Input, 6, 1}}));

    // Typed into the field of an unlinked output: that output alone.
    typeInto(output(2)->gainField(), "-6");
    QCOMPARE(out(2, CommonField::Gain), 240);
    QCOMPARE(output(2)->fader()->value(), 240);
    QCOMPARE(changedRows(*image_), (std::vector<RowId>{{Side::Output, 2, 1}}));
  }

  void muteButtonsWriteOnlyTheirChannel() {
    parts().linkGroups().join(Side::Output, 0, 1);
    image_->takeDeviceSnapshot();
    QVERIFY(output(1)->muteButton()->isChecked());
    QTest::mouseClick(output(1)->muteButton(), Qt::LeftButton);
    QCOMPARE(out(1, CommonField::Mute), 0);
    QCOMPARE(out(0, CommonField::Mute), 1);
    QCOMPARE(changedRows(*image_), (std::vector<RowId>{{Side::Output, 1, 1}}));
  }

  void masterMuteBringsBackTheMemo() {
    MasterPanel* master = parts().masterPanel();
    typeInto(master->levelField(), "-20");
    for (int n = 0; n < kChannels; ++n) QCOMPARE(in(n, CommonField::Allvolume), 400);
    typeInto(master->levelField(), "-60");
    QCOMPARE(master->levelField()->edit()->text(), QStringLiteral("OFF"));
    QVERIFY(!master->muteButton()->isChecked());
    for (int n = 0; n < kChannels; ++n) QCOMPARE(in(n, CommonField::Allvolume), 0);
    QCOMPARE(image_->read([](const ImageData& d) { return d.editor.inputMasterMemo; }), 120);

    QTest::mouseClick(master->muteButton(), Qt::LeftButton);
    for (int n = 0; n < kChannels; ++n) QCOMPARE(in(n, CommonField::Allvolume), 120);
    QVERIFY(master->muteButton()->isChecked());
    QCOMPARE(master->fader()->value(), 120);
    QTest::mouseClick(master->muteButton(), Qt::LeftButton);
    for (int n = 0; n < kChannels; ++n) QCOMPARE(in(n, CommonField::Allvolume), 0);
    QVERIFY(!master->muteButton()->isChecked());

    // On the output page the same controls work on the outputs only.
    const int outputLevel = out(0, CommonField::Allvolume);
    QVERIFY(outputLevel != 0);
    window_->SelectPage(Page::Output, 3);
    QCOMPARE(master->fader()->value(), outputLevel);
    QTest::mouseClick(master->muteButton(), Qt::LeftButton);
    for (int n = 0; n < kChannels; ++n) QCOMPARE(out(n, CommonField::Allvolume), 0);
    QTest::mouseClick(master->muteButton(), Qt::LeftButton);
    for (int n = 0; n < kChannels; ++n) QCOMPARE(out(n, CommonField::Allvolume), outputLevel);
    for (int n = 0; n < kChannels; ++n) QCOMPARE(in(n, CommonField::Allvolume), 0);
  }

  void antiFeedbackSendsOneRow() {
    ToggleButton* button = parts().masterPanel()->antiFeedbackButton();
    const bool before = in(0, InputField::All_Feedback) != 0;
    QCOMPARE(button->isChecked(), before);
    for (bool expected : {!before, before}) {
      QTest::mouseClick(button, Qt::LeftButton);
      QCOMPARE(button->isChecked(), expected);
      for (int n = 0; n < kChannels; ++n) QCOMPARE(in(n, InputField::All_Feedback), expected ? 1 : 0);
      QCOMPARE(changedRows(*image_), (std::vector<RowId>{{Side::Input, 0, 2}}));
    }
  }

  void crosspointButtonsKeepTheMemo() {
    ToggleButton* button = parts().crosspointGrid()->button(2, 5);
    QVERIFY(!button->isChecked());
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(in(2, InputField::mix(5)), 120);
    QVERIFY(button->isChecked());
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(in(2, InputField::mix(5)), 0);
    QVERIFY(!button->isChecked());
    QCOMPARE(changedRows(*image_), (std::vector<RowId>{}));  // back where it was

    Crosspoints::setLevel(*image_, 2, 5, 60);
    window_->RefreshAll();
    QVERIFY(button->isChecked());
    QTest::mouseClick(button, Qt::LeftButton);
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(in(2, InputField::mix(5)), 60);

    // A linked input does not follow a crosspoint.
    parts().linkGroups().join(Side::Input, parts().linkGroups().group(Side::Input, 1), 4);
    image_->takeDeviceSnapshot();
    QTest::mouseClick(parts().crosspointGrid()->button(1, 0), Qt::LeftButton);
    QCOMPARE(in(1, InputField::mix(0)), 120);
    QCOMPARE(in(4, InputField::mix(0)), 0);
    QCOMPARE(changedRows(*image_), (std::vector<RowId>{{Side::Input, 1, 3}}));
  }

  void joiningThroughTheListTakesTheGroupsParameters() {
    parts().linkGroups().join(Side::Input, 0, 3);
    // Members of one group may differ in fields that do not follow.
    image_->setField(Side::Input, 0, CommonField::Gain, 100);
    image_->setField(Side::Input, 3, CommonField::Gain, 200);
    image_->setField(Side::Input, 3, CommonField::Delay, 50);
    image_->setField(Side::Input, 3, CommonField::Polarity, 1);
    image_->setField(Side::Input, 6, CommonField::Mute, 0);
    image_->setField(Side::Input, 6, InputField::mix(2), 77);
    image_->modify([](ImageData& d) {
      NameField::TextToField("Six", d.edited.block(Side::Input, 6).first(kNameBytes));
    });
    window_->RefreshAll();
    QCOMPARE(input(3)->linkList()->currentIndex(), 0);

    emit input(6)->linkList()->activated(0);
    QCOMPARE(in(6, CommonField::Gain), 200);
    QCOMPARE(in(6, CommonField::Delay), 50);
    QCOMPARE(in(6, CommonField::Polarity), 1);
    QCOMPARE(in(6, CommonField::LinkGroup), 1);
    QCOMPARE(in(6, CommonField::Mute), 0);
    QCOMPARE(in(6, InputField::mix(2)), 77);
    QCOMPARE(nameOf(Side::Input, 6), QStringLiteral("Six"));
    QCOMPARE(input(6)->fader()->value(), 200);
    QCOMPARE(input(6)->linkList()->currentIndex(), 0);
    QVERIFY(!input(6)->muteButton()->isChecked());

    // The list names the groups in the language shown.
    QCOMPARE(input(6)->linkList()->itemText(7), QStringLiteral("联调H"));
    QCOMPARE(output(0)->linkList()->itemText(0), QStringLiteral("联调1"));
    Language::setFlag(1);
    window_->ApplyLanguage();
    QCOMPARE(input(6)->linkList()->itemText(7), QStringLiteral("Link H"));
    QCOMPARE(input(6)->linkList()->currentIndex(), 0);
    QCOMPARE(output(7)->linkList()->itemText(7), QStringLiteral("Link 8"));
  }

  void namesAreWrittenOnlyWhenEdited() {
    NameEdit* edit = input(1)->nameEdit();
    emit edit->editingFinished();
    QCOMPARE(changedRows(*image_), (std::vector<RowId>{}));

    edit->clear();
    QTest::keyClicks(edit, "VocalMic1X");
    QCOMPARE(edit->text(), QStringLiteral("VocalMic"));
    emit edit->editingFinished();
    QCOMPARE(nameOf(Side::Input, 1), QStringLiteral("VocalMic"));
    QCOMPARE(changedRows(*image_), (std::vector<RowId>{{Side::Input, 1, 0}}));

    // Four Chinese characters fill the eight bytes.
    NameEdit* outputName = output(4)->nameEdit();
    outputName->clear();
    typeText(outputName, QStringLiteral("主音箱左侧"));
    QCOMPARE(outputName->text(), QStringLiteral("主音箱左"));
    emit outputName->editingFinished();
    QCOMPARE(nameOf(Side::Output, 4), QStringLiteral("主音箱左"));
    QCOMPARE(changedRows(*image_), (std::vector<RowId>{{Side::Output, 4, 0}}));
  }

  void locksDisableAndHideValues() {
    image_->modify([](ImageData& d) {
      d.locks.setLocked(LockFlag::InputLabel, true);
      d.locks.setLocked(LockFlag::OutputGain, true);
      d.locks.setLocked(LockFlag::Matrix, true);
      d.locks.setLocked(LockFlag::InputLink, true);
    });
    window_->ApplyLocks();
    for (int n = 0; n < kChannels; ++n) {
      QCOMPARE(input(n)->nameEdit()->text(), QStringLiteral("锁定"));
      QVERIFY(!input(n)->nameEdit()->isEnabled());
      QVERIFY(output(n)->nameEdit()->isEnabled());
      QCOMPARE(output(n)->gainField()->edit()->text(), QStringLiteral("锁定"));
      QVERIFY(output(n)->fader()->isLocked());
      QVERIFY(!input(n)->fader()->isLocked());
      QVERIFY(!input(n)->linkList()->isEnabled());
      QVERIFY(!parts().crosspointGrid()->button(n, n)->isEnabled());
    }
    // A full refresh leaves locked names alone and writes nothing.
    window_->RefreshAll();
    QCOMPARE(input(0)->nameEdit()->text(), QStringLiteral("锁定"));
    emit input(0)->nameEdit()->editingFinished();
    QCOMPARE(changedRows(*image_), (std::vector<RowId>{}));

    Language::setFlag(1);
    window_->ApplyLanguage();
    for (int n = 0; n < kChannels; ++n) QCOMPARE(input(n)->nameEdit()->text(), QStringLiteral("Lock"));
    QCOMPARE(output(3)->gainField()->edit()->text(), QStringLiteral("Lock"));

    image_->modify([](ImageData& d) { d.locks.clear(); });
    window_->ApplyLocks();
    QCOMPARE(input(0)->nameEdit()->text(), nameOf(Side::Input, 0));
    QVERIFY(input(0)->nameEdit()->isEnabled());
    QCOMPARE(input(2)->linkList()->currentText(), QStringLiteral("Link C"));
    QCOMPARE(output(3)->gainField()->edit()->text(), QStringLiteral("0.0dB"));
  }

  void selectingMovesTheHighlightAndTheMaster() {
    QVERIFY(input(0)->isSelected());
    QVERIFY(input(0)->curveButton()->isChecked());
    image_->setFieldOnAllChannels(Side::Output, CommonField::Allvolume, 500);

    QTest::mouseClick(input(4)->selectButton(), Qt::LeftButton);
    QVERIFY(!input(0)->isSelected());
    QVERIFY(!input(0)->curveButton()->isChecked());
    QVERIFY(input(4)->isSelected() && input(4)->selectButton()->isChecked());

    // The curve of the edited channel cannot be switched off; others can.
    QTest::mouseClick(input(4)->curveButton(), Qt::LeftButton);
    QVERIFY(input(4)->curveButton()->isChecked());
    QTest::mouseClick(input(1)->curveButton(), Qt::LeftButton);
    QVERIFY(input(1)->curveButton()->isChecked());
    QVERIFY(image_->read([](const ImageData& d) { return d.editor.inputCurveVisible[1]; }));

    QTest::mouseClick(output(6)->selectButton(), Qt::LeftButton);
    QVERIFY(!input(4)->isSelected());
    QVERIFY(output(6)->isSelected());
    QCOMPARE(parts().masterPanel()->fader()->value(), 500);
    // Selecting it again changes nothing; the select button stays on.
    QTest::mouseClick(output(6)->selectButton(), Qt::LeftButton);
    QVERIFY(output(6)->selectButton()->isChecked());
    QCOMPARE(image_->read([](const ImageData& d) { return d.editor.selectedPage; }), Page::Output);

    // A full refresh keeps only the edited channel's curve.
    window_->RefreshAll();
    QVERIFY(!input(1)->curveButton()->isChecked());
    QVERIFY(output(6)->curveButton()->isChecked());
  }

  // What a user sees on the 1366 x 768 console in both languages: the frame
  // of the strip being edited in the highlight colour and no other, and
  // captions drawn as real glyphs. The pictures are kept for a human eye.
  void screenshots() {
    window_->resize(1366, 768);
    const QString dir = QCoreApplication::applicationDirPath();
    const auto shoot = [&](int language, Page page, int channel, const QString& name) {
      Language::setFlag(language);
      window_->ApplyLanguage();
      window_->SelectPage(page, channel);
      QTest::qWait(50);
      const QImage image = window_->grab().toImage();
      QVERIFY(image.save(dir + "/" + name));
      const QColor highlight(ConsoleLook::kHighlight);
      for (int n = 0; n < kChannels; ++n) {
        QCOMPARE(frameColour(image, input(n)) == highlight, page == Page::Input && n == channel);
        QCOMPARE(frameColour(image, output(n)) == highlight, page == Page::Output && n == channel);
      }
      for (const QString& caption : {input(0)->muteButton()->text(), window_->findChild<QLabel*>()->text(),
                                     input(3)->linkList()->currentText()}) {
        QVERIFY(!caption.isEmpty());
        QVERIFY2(drawnAsGlyphs(caption, window_->font()), qPrintable(caption));
      }
    };
    shoot(0, Page::Input, 2, "strips-input-zh.png");
    QCOMPARE(input(0)->muteButton()->text(), QStringLiteral("静音"));
    shoot(1, Page::Input, 2, "strips-input-en.png");
    shoot(1, Page::Output, 5, "strips-output-en.png");
    shoot(0, Page::Output, 5, "strips-output-zh.png");
  }

  void gainEditReachesTheSimulator() {
    SimProcess sim;
    QVERIFY(sim.started());
    QVERIFY(window_->connectTo(LinkType::Network, sim.networkTarget(), 0));
    QTRY_VERIFY_WITH_TIMEOUT(parts().transferPopup()->isVisible(), 5000);
    QTRY_VERIFY_WITH_TIMEOUT(!parts().transferPopup()->transferInProgress(), 10000);
    QTRY_VERIFY_WITH_TIMEOUT(window_->isEnabled(), 5000);

    typeInto(input(4)->gainField(), "-5");
    QCOMPARE(in(4, CommonField::Gain), 250);
    QTRY_COMPARE_WITH_TIMEOUT(image_->field(Side::Input, 4, CommonField::Gain, Copy::Device), 250, 5000);
    QTest::qWait(500);
    window_->disconnectLink();
    QCOMPARE(in(4, CommonField::Gain), 300);
    QCOMPARE(input(4)->fader()->value(), 300);

    // Read back from the simulator: it holds the edit.
    QVERIFY(window_->connectTo(LinkType::Network, sim.networkTarget(), 0));
    QTRY_COMPARE_WITH_TIMEOUT(in(4, CommonField::Gain), 250, 10000);
    QTRY_COMPARE_WITH_TIMEOUT(input(4)->fader()->value(), 250, 5000);
    window_->disconnectLink();
  }
};

}  // namespace orvane::ui

QTEST_MAIN(orvane::ui::StripsTest)
#include "StripsTest.moc"
