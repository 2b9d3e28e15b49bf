// The input and output pages in the main window: the limits fields set each
// other, band types and bypass, delay forms, anti-feedback items, ratios,
// following by linked channels, the graphs both ways, the import of Room EQ
// Wizard filters, locks, the link to a device and how the pages look at
// 1366 x 768.

#include <QComboBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include "MainWindowFixture.h"
#include "ScriptedChooser.h"
#include "dsp/CKTVEQ.h"
#include "model/Choices.h"
#include "model/Language.h"
#include "model/ParameterCatalog.h"
#include "model/ParameterImage.h"
#include "model/Scales.h"
#include "ui/SimProcess.h"
#include "ui/common/MessageBoxes.h"
#include "ui/common/UiText.h"
#include "ui/graphs/CFStatic.h"
#include "ui/graphs/DynamicsGraph.h"
#include "ui/main/ChannelStrip.h"
#include "ui/main/DisplayDlg.h"
#include "ui/main/OrvaneDlg.h"
#include "ui/main/WindowParts.h"
#include "ui/pages/ChannelBasics.h"
#include "ui/pages/CrossoverSection.h"
#include "ui/pages/EqBandColumn.h"
#include "ui/pages/EqSection.h"
#include "ui/pages/InDataDlg.h"
#include "ui/pages/NumEdit.h"
#include "ui/pages/NumField.h"
#include "ui/pages/NumTexts.h"
#include "ui/pages/OutDataDlg.h"
#include "ui/widgets/Fader.h"
#include "ui/widgets/ToggleButton.h"

namespace orvane::ui {

namespace {

void type(NumField* field, const QString& text) {
  field->edit()->setFocus();
  field->edit()->selectAll();
  QTest::keyClicks(field->edit(), text);
  field->edit()->commit();
}

void choose(QComboBox* list, int index) {
  list->setCurrentIndex(index);
  emit list->activated(index);
}

QString shown(const NumField* field) {
  return field->edit()->text();
}

}  // namespace

class ChannelPagesTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<ParameterImage> image_;
  std::unique_ptr<OrvaneDlg> window_;
  // The window's strips, pages and link machinery.
  WindowParts parts() const { return WindowParts(*window_); }

  InDataDlg* in() const { return parts().inputPage(); }
  OutDataDlg* out() const { return parts().outputPage(); }
  int field(Side side, int channel, Field f) const { return image_->field(side, channel, f); }
  int band(Side side, int channel, int n, Field BandFields::*f) const {
    return field(side, channel, bandFields(side, n).*f);
  }
  ChannelPage* page(Side side) const {
    return side == Side::Input ? static_cast<ChannelPage*>(in()) : static_cast<ChannelPage*>(out());
  }
  void select(Side side, int channel) {
    window_->SelectPage(side == Side::Input ? Page::Input : Page::Output, channel);
  }
  void locks(int flag, bool on) {
    image_->modify([&](ImageData& d) { d.locks.setLocked(flag, on); });
    window_->ApplyLocks();
  }

 private slots:
  void init() {
    image_ = std::make_unique<ParameterImage>();
    window_ = MainWindowFixture::open(*image_);
    QVERIFY(window_);
  }
  void cleanup() {
    MessageBoxes::setSink({});
    window_.reset();
    image_.reset();
    Language::setFlag(0);
  }

  // Every numeric field of both pages is on the scale of one of the side's
  // catalog entries (the delay also in its two distance forms), and every
  // drop list holds its entry's choices in the language shown.
  void fieldsAndListsComeFromTheCatalog() {
    const auto same = [](const NumFormat& a, const NumFormat& b) {
      return a.kind == b.kind && a.step == b.step && a.offset == b.offset && a.minimum == b.minimum &&
             a.maximum == b.maximum;
    };
    for (const Side side : {Side::Input, Side::Output}) {
      std::vector<NumFormat> scales{NumFormat::of(Scales::kDelayMetres), NumFormat::of(Scales::kDelayFeet)};
      for (const CatalogFamily& family : ParameterCatalog::families())
        if (family.side == side && family.entry->value.scale)
          scales.push_back(NumFormat::of(*family.entry->value.scale));
      const QList<NumField*> fields = page(side)->findChildren<NumField*>();
      QVERIFY(fields.size() > 20);
      for (const NumField* field : fields) {
        const NumFormat& format = field->edit()->format();
        QVERIFY2(std::ranges::any_of(scales, [&](const NumFormat& s) { return same(s, format); }),
                 qPrintable(field->objectName()));
      }
    }
    const auto items = [](const QComboBox* list) {
      QStringList texts;
      for (int i = 0; i < list->count(); ++i) texts << list->itemText(i);
      return texts;
    };
    const auto choices = [](const ChoiceList& list) {
      QStringList texts;
      for (const std::string_view text : list.shownTexts())
        texts << QString::fromUtf8(text.data(), text.size());
      return texts;
    };
    for (const int language : {0, 1}) {
      Language::setFlag(language);
      window_->ApplyLanguage();
      select(Side::Output, 0);
      const EqBandColumn* band = out()->eq()->column(0);
      QCOMPARE(items(band->type()), choices(Choices::kBandType));
      QCOMPARE(items(band->slope()), choices(Choices::kShelfSlope));
      QCOMPARE(items(out()->findChild<QComboBox*>("highPassSlope")), choices(Choices::kCrossoverSlope));
      QCOMPARE(items(out()->findChild<QComboBox*>("lowPassFamily")), choices(Choices::kCrossoverFamily));
      select(Side::Input, 0);
      QCOMPARE(items(in()->antiFeedback()), choices(Choices::kFeedbackLevel));
    }
  }

  // A value past its neighbour's limit is stored as the limit, and the field
  // shows what was stored.
  void crossLimitsClampAndSetTheFieldBack() {
    struct Case {
      Side side;
      Field neighbour;
      int neighbourCode;
      Field edited;
      QString typed;
      int stored;
    };
    const CrossoverFields in = crossoverFields(Side::Input);
    const CrossoverFields out = crossoverFields(Side::Output);
    const std::vector<Case> cases{
        {Side::Input, in.XFQCY_Hi, 2000, in.XFQCY_Lo, "5000", 2000},
        {Side::Input, in.XFQCY_Lo, 300, in.XFQCY_Hi, "100", 300},
        {Side::Output, out.XFQCY_Hi, 8000, out.XFQCY_Lo, "9000", 8000},
        // The AGC target sits 500 codes (50 dB) below the compressor scale.
        {Side::Input, InputField::AGC_TargetLevel, 700, InputField::Comp_Level, "-25", 200},
        {Side::Input, InputField::Comp_Level, 100, InputField::AGC_TargetLevel, "0", 600},
        {Side::Input, InputField::AGC_Threshold, 400, InputField::AGC_TargetLevel, "-60", 400},
        {Side::Input, InputField::AGC_TargetLevel, 500, InputField::AGC_Threshold, "-10", 500},
        {Side::Output, OutputField::Lim_Threshold, 250, OutputField::Comp_Level, "5", 250},
        {Side::Output, OutputField::Comp_Level, 200, OutputField::Lim_Threshold, "-20", 200},
    };
    for (const Case& c : cases) {
      if (c.edited == InputField::AGC_TargetLevel) image_->setField(c.side, 2, InputField::AGC_Threshold, 0);
      image_->setField(c.side, 2, c.neighbour, c.neighbourCode);
      select(c.side, 2);
      NumField* edited = nullptr;
      if (c.edited.offset == crossoverOffset(c.side) || c.edited.offset == crossoverOffset(c.side) + 4)
        edited = page(c.side)->crossover()->frequency(c.edited.offset == crossoverOffset(c.side));
      else
        edited = page(c.side)->dynamics()->field(c.edited);
      type(edited, c.typed);
      QCOMPARE(field(c.side, 2, c.edited), c.stored);
      QCOMPARE(edited->value(), c.stored);
    }
  }

  // A shelf keeps to its side of 2000 Hz and shows a slope instead of the
  // bandwidth; linked inputs change alike, others not.
  void bandTypesAndBypassOnALinkGroup() {
    parts().linkGroups().join(Side::Input, 1, 2);
    select(Side::Input, 1);
    EqSection* eq = in()->eq();
    image_->setField(Side::Input, 1, bandFields(Side::Input, 3).FQCY, 5023);
    parts().linkGroups().follow(Side::Input, 1, std::array{bandFields(Side::Input, 3).FQCY});
    window_->RefreshAll();
    choose(eq->column(3)->type(), 1);
    for (int channel : {1, 2}) {
      QCOMPARE(band(Side::Input, channel, 3, &BandFields::Type), 1);
      QCOMPARE(band(Side::Input, channel, 3, &BandFields::FQCY), 2000);
    }
    QCOMPARE(band(Side::Input, 5, 3, &BandFields::Type), 0);
    QVERIFY(!eq->column(3)->octaves()->isVisible() && !eq->column(3)->q()->isVisible());
    QVERIFY(eq->column(3)->slope()->isVisible());
    QCOMPARE(eq->column(3)->frequency()->maximum(), 2000);
    choose(eq->column(0)->type(), 2);
    QCOMPARE(band(Side::Input, 2, 0, &BandFields::FQCY), 2000);
    QCOMPARE(eq->column(0)->frequency()->minimum(), 2000);

    // Bypass flattens every band of the group and gives each its gain back.
    type(eq->column(4)->gain(), "6");
    type(eq->column(6)->gain(), "-3.5");
    QCOMPARE(band(Side::Input, 2, 4, &BandFields::Gain), 460);
    QVERIFY(eq->column(4)->toggle()->isChecked());
    eq->bypass()->click();
    QVERIFY(eq->bypass()->isChecked());
    for (int channel : {1, 2})
      for (int n = 0; n < 8; ++n) QCOMPARE(band(Side::Input, channel, n, &BandFields::Gain), 400);
    QCOMPARE(parts().filters().input(2).element(4).GainDb(), 0.0);
    eq->bypass()->click();
    for (int channel : {1, 2}) {
      QCOMPARE(band(Side::Input, channel, 4, &BandFields::Gain), 460);
      QCOMPARE(band(Side::Input, channel, 6, &BandFields::Gain), 365);
    }
    QCOMPARE(eq->column(6)->fader()->value(), 365);
    // A band switched off keeps its gain, also across a frequency change.
    eq->column(4)->toggle()->click();
    QCOMPARE(band(Side::Input, 2, 4, &BandFields::Gain), 400);
    type(eq->column(4)->frequency(), "3000");
    eq->column(4)->toggle()->click();
    QCOMPARE(band(Side::Input, 2, 4, &BandFields::Gain), 460);
    QCOMPARE(band(Side::Input, 2, 4, &BandFields::FQCY), 3000);
    QCOMPARE(band(Side::Input, 5, 4, &BandFields::Gain), 400);
  }

  // Time, metres and feet hold one code; typing any of them shows the
  // other two from it.
  void delayFormsShareOneCode() {
    select(Side::Output, 0);
    ChannelBasics* basics = out()->basics();
    struct Case {
      int form;
      QString typed;
      int code;
      QStringList texts;
    };
    const std::vector<Case> cases{
        {0, "5", 240, {"5.000", "1.718", "5.637"}},
        {1, "3.434", 480, {"10", "3.436", "11.27"}},
        {2, "100", 558, {"88", "30", "99"}},
    };
    for (const Case& c : cases) {
      type(basics->delay(c.form), c.typed);
      QCOMPARE(field(Side::Output, 0, CommonField::Delay), c.code);
      const QStringList texts{shown(basics->delay(0)), shown(basics->delay(1)), shown(basics->delay(2))};
      QCOMPARE(texts, c.texts);
    }
  }

  // Anti-feedback items store 0, 5, 7, 9, 11; a code not in the list shows
  // "NULL". Ratios show snapped without writing; the hidden lists set whole
  // ratios.
  void listsAndRatios() {
    select(Side::Input, 3);
    QComboBox* feedback = in()->antiFeedback();
    for (const auto& [item, code] : std::vector<std::pair<int, int>>{{0, 0}, {2, 7}, {4, 11}}) {
      choose(feedback, item);
      QCOMPARE(field(Side::Input, 3, InputField::Feedback), code);
    }
    image_->setField(Side::Input, 3, InputField::Feedback, 6);
    window_->RefreshAll();
    QCOMPARE(feedback->count(), 1);
    QCOMPARE(feedback->currentText(), QStringLiteral("NULL"));
    image_->setField(Side::Input, 3, InputField::Feedback, 9);
    window_->RefreshAll();
    QCOMPARE(feedback->currentIndex(), 3);

    image_->setField(Side::Input, 3, InputField::Comp_ratio, 13);
    window_->RefreshAll();
    NumField* ratio = in()->dynamics()->field(InputField::Comp_ratio);
    QCOMPARE(shown(ratio), QStringLiteral("2.5:1"));
    QCOMPARE(field(Side::Input, 3, InputField::Comp_ratio), 13);
    QComboBox* agcRatios = in()->dynamics()->ratioList(InputField::AGC_Ratio);
    QVERIFY(!agcRatios->isVisible());
    choose(agcRatios, 3);
    QCOMPARE(field(Side::Input, 3, InputField::AGC_Ratio), 31);
    QCOMPARE(shown(in()->dynamics()->field(InputField::AGC_Ratio)), QStringLiteral("1:4.0"));
    choose(in()->levelClass(), 1);
    QCOMPARE(field(Side::Input, 3, InputField::LevelClass), 1);
  }

  // Changes on a page reach every channel of the group and no other; the
  // priority class stays with its input; strips show linked gains.
  void linkedChannelsFollowThePages() {
    parts().linkGroups().join(Side::Input, 1, 2);
    parts().linkGroups().join(Side::Output, 3, 4);
    select(Side::Input, 1);
    type(in()->basics()->gain(), "-6");
    in()->basics()->polarity()->click();
    type(in()->noiseGate(), "-70");
    type(in()->dynamics()->field(InputField::Comp_A), "20");
    choose(in()->crossover()->slope(true), 2);
    choose(in()->levelClass(), 0);
    const std::vector<std::pair<Field, int>> expected{{CommonField::Gain, 240},
                                                      {CommonField::Polarity, 0},
                                                      {InputField::NoiseGate, 50},
                                                      {InputField::Comp_A, 26},
                                                      {crossoverFields(Side::Input).XSLope_Lo, 2}};
    for (const auto& [f, code] : expected) {
      QCOMPARE(field(Side::Input, 1, f), code);
      QCOMPARE(field(Side::Input, 2, f), code);
      QVERIFY(field(Side::Input, 5, f) != code);
    }
    QCOMPARE(field(Side::Input, 2, InputField::LevelClass), 2);
    QCOMPARE(parts().inputStrip(2)->fader()->value(), 240);
    QVERIFY(in()->basics()->polarityTwin()->isChecked());

    select(Side::Output, 3);
    const CFilter::Response before = parts().filters().output(4).highPass().response();
    type(out()->crossover()->frequency(true), "200");
    choose(out()->crossover()->family(true), 1);
    QCOMPARE(field(Side::Output, 4, crossoverFields(Side::Output).XMode_Lo), 1);
    QVERIFY(parts().filters().output(4).highPass().response() != before);
    QCOMPARE(field(Side::Output, 5, crossoverFields(Side::Output).XMode_Lo), 0);

    // A strip's gain shows on the page of its channel.
    parts().outputStrip(3)->fader()->setValue(100);
    emit parts().outputStrip(3)->fader()->valueChanged(100);
    QCOMPARE(out()->basics()->gain()->value(), 100);
  }

  // A point dragged on either graph shows on the page and reaches the
  // group; a field edited redraws the dynamics curve.
  void graphsAndPagesAgree() {
    parts().linkGroups().join(Side::Input, 0, 1);
    select(Side::Input, 0);
    CFilter& element = parts().filters().input(0).element(2);
    element.SetFrequency(3000);
    element.SetGainCode(480);
    emit parts().graph()->graphChanged(2, CFStatic::kInput);
    QCOMPARE(in()->eq()->column(2)->frequency()->value(), 3000);
    QCOMPARE(in()->eq()->column(2)->fader()->value(), 480);
    QCOMPARE(band(Side::Input, 1, 2, &BandFields::FQCY), 3000);
    QCOMPARE(parts().filters().input(1).element(2).GainDb(), 8.0);

    DynamicsGraph* curve = in()->dynamics()->graph();
    image_->setField(Side::Input, 0, InputField::AGC_Threshold, 250);
    emit curve->fieldDragged(InputField::AGC_Threshold, 250);
    QCOMPARE(shown(in()->dynamics()->field(InputField::AGC_Threshold)), QStringLiteral("-55.0"));
    QCOMPARE(field(Side::Input, 1, InputField::AGC_Threshold), 250);
    const QImage before = curve->grab().toImage();
    type(in()->dynamics()->field(InputField::Comp_Level), "-10");
    QVERIFY(curve->grab().toImage() != before);
  }

  // A filter file from the chooser fills the bands of the output and of its
  // linked output, their filter models and the page; a file with an unknown
  // filter type is explained and changes nothing; the EQ lock takes the
  // button away.
  void rewFiltersImportIntoALinkGroup() {
    Language::setFlag(1);
    QTemporaryDir dir;
    const auto write = [&](const QString& name, const QByteArray& text) {
      QFile file(dir.filePath(name));
      QVERIFY(file.open(QIODevice::WriteOnly) && file.write(text) == text.size());
    };
    write("room.txt",
          "Filter Settings file\r\n\r\nRoom EQ V5.20\r\n"
          "Filter  1: ON  PK       Fc   63.0 Hz  Gain  -4.5 dB  Q  2.10\r\n"
          "Filter  2: ON  None\r\n"
          "Filter  3: ON  HS 12dB  Fc  8.00 kHz  Gain   2.0 dB\r\n");
    write("crossover.txt", "Room EQ V5.20\nFilter  1: ON  XO  Fc 80 Hz\n");
    QStringList paths{dir.filePath("room.txt"), dir.filePath("crossover.txt")};
    parts().setFileChooser(std::make_unique<ScriptedChooser>(&paths, parts().session().variant()));
    QStringList messages;
    MessageBoxes::setSink([&](const QString&, const QString& text) { messages << text; });
    parts().linkGroups().join(Side::Output, 2, 3);
    image_->setBand(Side::Output, 3, 8, {10000, 480, 25, 0, 0});
    select(Side::Output, 2);
    EqSection* eq = out()->eq();
    const auto original = image_->read([](const ImageData& d) { return d.edited; });

    QTest::mouseClick(eq->importButton(), Qt::LeftButton);
    for (int channel : {2, 3}) {
      QCOMPARE(image_->band(Side::Output, channel, 0), (EqBand{62, 355, 63, 0, 0}));
      QCOMPARE(image_->band(Side::Output, channel, 1), (EqBand{8000, 420, 25, 1, 2}));
      for (int n = 2; n < 9; ++n) QCOMPARE(band(Side::Output, channel, n, &BandFields::Gain), 400);
      QCOMPARE(parts().filters().output(channel).element(1).GainDb(), 2.0);
      QVERIFY(parts().filters().output(channel).element(8).IsFlat());
    }
    QCOMPARE(band(Side::Output, 4, 0, &BandFields::FQCY), 40);
    QCOMPARE(shown(eq->column(0)->frequency()), QStringLiteral("62"));
    QCOMPARE(eq->column(1)->slope()->currentIndex(), 1);
    QVERIFY(messages.isEmpty());

    const auto before = image_->read([](const ImageData& d) { return d.edited; });
    eq->importButton()->click();
    QCOMPARE(messages, QStringList{"The filters were not imported:\nline 2: unknown filter type 'XO'"});
    QVERIFY(image_->read([&](const ImageData& d) { return d.edited == before; }));

    locks(LockFlag::OutputEq, true);
    QVERIFY(!eq->importButton()->isEnabled());
    locks(LockFlag::OutputEq, false);
    QVERIFY(eq->importButton()->isEnabled());

    // The import was one step, which one undo takes back from the group.
    QTRY_COMPARE(parts().session().history().steps(), std::size_t{1});
    QTest::mouseClick(parts().topBar()->undoButton(), Qt::LeftButton);
    QVERIFY(image_->read([&](const ImageData& d) { return d.edited == original; }));
    QVERIFY(parts().filters().output(3).element(8).GainDb() != 0.0);
  }

  // Each lock takes its controls away and gives them back with their lists.
  void locksTakeControlsAway() {
    select(Side::Input, 0);
    EqBandColumn* column = in()->eq()->column(5);
    locks(LockFlag::InputEq, true);
    QVERIFY(!in()->eq()->bypass()->isVisible() && !column->toggle()->isVisible() &&
            !column->fader()->isVisible());
    QVERIFY(!column->type()->isEnabled() && column->frequency()->isLocked() && column->gain()->isLocked());
    QCOMPARE(column->type()->count(), 1);
    QCOMPARE(column->type()->currentText(), uiText(NumTexts::kLock));
    locks(LockFlag::InputEq, false);
    QVERIFY(column->toggle()->isVisible() && column->type()->isEnabled());
    QCOMPARE(column->type()->count(), 3);
    QCOMPARE(column->type()->currentIndex(), 0);

    in()->tabs()->setCurrentIndex(ChannelPage::ChannelTab);
    const std::vector<int> flags{LockFlag::InputCrossover, LockFlag::InputDelay, LockFlag::InputGain,
                                 LockFlag::InputPolarity,  LockFlag::NoiseGate,  LockFlag::InputFeedback,
                                 LockFlag::InputDynamics};
    for (int flag : flags) locks(flag, true);
    ChannelBasics* basics = in()->basics();
    QVERIFY(in()->crossover()->frequency(false)->isLocked() && !in()->crossover()->slope(true)->isVisible());
    QVERIFY(basics->delay(1)->isLocked() && basics->gain()->isLocked() && !basics->gainFader()->isVisible());
    QVERIFY(!basics->polarity()->isEnabled() && !basics->polarityTwin()->isVisible());
    QVERIFY(in()->noiseGate()->isLocked() && !in()->antiFeedback()->isEnabled());
    QCOMPARE(in()->antiFeedback()->currentText(), uiText(NumTexts::kLock));
    QVERIFY(in()->dynamics()->field(InputField::AGC_Ratio)->isLocked());
    QCOMPARE(shown(basics->delay(0)), uiText(NumTexts::kLock));

    select(Side::Output, 0);
    out()->tabs()->setCurrentIndex(ChannelPage::ChannelTab);
    locks(LockFlag::OutputCrossover, true);
    locks(LockFlag::OutputDynamics, true);
    QVERIFY(!out()->crossover()->family(false)->isVisible());
    QVERIFY(out()->dynamics()->field(OutputField::Lim_Release)->isLocked());
    QVERIFY(!out()->basics()->delay(2)->isLocked());
  }

  // With the window connected to the device, page changes and their linked
  // copies are there when the device is read again.
  void pagesReachTheDevice() {
    SimProcess sim;
    QVERIFY(MainWindowFixture::connectAndRead(*window_, sim));
    parts().linkGroups().join(Side::Input, 6, 7);
    parts().linkGroups().join(Side::Output, 0, 2);
    select(Side::Input, 6);
    type(in()->eq()->column(4)->gain(), "4.5");
    type(in()->dynamics()->field(InputField::AGC_TargetLevel), "-50");
    select(Side::Output, 0);
    out()->basics()->polarity()->click();
    type(out()->dynamics()->field(OutputField::Lim_Attack), "10");
    const std::vector<std::tuple<Side, int, Field, int>> sent{
        {Side::Input, 6, bandFields(Side::Input, 4).Gain, 445},
        {Side::Input, 7, bandFields(Side::Input, 4).Gain, 445},
        {Side::Input, 7, InputField::AGC_TargetLevel, 300},
        {Side::Output, 0, CommonField::Polarity, 0},
        {Side::Output, 2, CommonField::Polarity, 0},
        {Side::Output, 2, OutputField::Lim_Attack, 16},
    };
    for (const auto& [side, channel, f, code] : sent)
      QTRY_COMPARE_WITH_TIMEOUT(image_->field(side, channel, f, Copy::Device), code, 5000);
    QTest::qWait(300);
    window_->disconnectLink();
    QVERIFY(window_->connectTo(LinkType::Network, sim.networkTarget(), 0));
    for (const auto& [side, channel, f, code] : sent)
      QTRY_COMPARE_WITH_TIMEOUT(field(side, channel, f), code, 15000);
    QTRY_COMPARE_WITH_TIMEOUT(out()->basics()->polarity()->isChecked(), true, 5000);
    window_->disconnectLink();
  }

  // Every tab of both pages, in both languages: the window stays at
  // 1366 x 768 and every shown control lies inside the page area.
  void screenshots() {
    const QString dir = QCoreApplication::applicationDirPath();
    const QWidget* area = window_->findChild<QWidget*>("pageArea");
    for (int language : {0, 1}) {
      Language::setFlag(language);
      window_->ApplyLanguage();
      for (Side side : {Side::Input, Side::Output}) {
        select(side, 1);
        for (int tab = 0; tab < 3; ++tab) {
          page(side)->tabs()->setCurrentIndex(tab);
          QTest::qWait(30);
          QCOMPARE(window_->size(), QSize(1366, 768));
          const QRect inside = area->rect();
          for (const QWidget* w : page(side)->tabs()->currentWidget()->findChildren<QWidget*>()) {
            if (!w->isVisible()) continue;
            const QRect at(w->mapTo(area, QPoint(0, 0)), w->size());
            QVERIFY2(inside.contains(at), qPrintable(w->metaObject()->className()));
          }
          const QString name = QStringLiteral("/%1-page-%2-%3.png")
                                   .arg(side == Side::Input ? "input" : "output")
                                   .arg(tab)
                                   .arg(language ? "en" : "zh");
          QVERIFY(window_->grab().save(dir + name));
        }
      }
    }
  }
};

}  // namespace orvane::ui

QTEST_MAIN(orvane::ui::ChannelPagesTest)
#include "ChannelPagesTest.moc"
