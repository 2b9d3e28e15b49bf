// The EQ graph driven with real mouse events: drags write the image, the
// owner hears of them at most every 200 ms, locks keep bands still, and a
// drag in the main window reaches the link group and the simulated device.

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QtTest>

#include "MainWindowFixture.h"
#include "model/Language.h"
#include "model/ParameterImage.h"
#include "ui/SimProcess.h"
#include "ui/graphs/CFStatic.h"
#include "ui/graphs/EqGraphPainter.h"
#include "ui/main/DisplayDlg.h"
#include "ui/main/OrvaneDlg.h"
#include "ui/main/WindowParts.h"
#include "ui/pages/EqBandColumn.h"
#include "ui/pages/EqSection.h"
#include "ui/pages/InDataDlg.h"
#include "ui/pages/NumField.h"
#include "ui/widgets/Fader.h"

namespace orvane::ui {

namespace {

QPoint centreOf(const GraphRect& r) {
  return {r.centre().x, r.centre().y};
}

// Hovers over `from`, presses there, moves by `by` in `steps` moves `pauseMs`
// apart, releases.
void drag(QWidget* widget, QPoint from, QPoint by, int steps = 4, int pauseMs = 0) {
  QTest::mouseMove(widget, from);
  QTest::mousePress(widget, Qt::LeftButton, Qt::NoModifier, from);
  for (int i = 1; i <= steps; ++i) {
    QTest::mouseMove(widget, from + by * i / steps);
    if (pauseMs > 0) QTest::qWait(pauseMs);
  }
  QTest::mouseRelease(widget, Qt::LeftButton, Qt::NoModifier, from + by);
}

// True when some pixel of `image` has exactly `colour`.
bool holdsColour(const QImage& image, QColor colour) {
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixelColor(x, y) == colour) return true;
  return false;
}

}  // namespace

class EqGraphTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<ParameterImage> image_;
  std::unique_ptr<ChannelFilters> filters_;
  std::unique_ptr<CFStatic> graph_;

  const ElementGeometry& element(int index) { return graph_->geometry(Side::Input, 0).element(index); }

 private slots:
  void init() {
    image_ = std::make_unique<ParameterImage>();
    image_->setBand(Side::Input, 0, 0, {1000, 460, 25, 0, 0});
    image_->setCrossover(Side::Input, 0, {100, 0, 2, 20000, 0, 2});
    filters_ = std::make_unique<ChannelFilters>(*image_);
    graph_ = std::make_unique<CFStatic>(*image_, *filters_);
    graph_->resize(645, 270);  // a 600 x 240 plot: 2 pixels per dB
    graph_->show();
    QVERIFY(QTest::qWaitForWindowExposed(graph_.get()));
    graph_->ShowInput(0);
  }
  void cleanup() {
    graph_.reset();
    filters_.reset();
    image_.reset();
  }

  void draggingABandWritesItsRecord() {
    QSignalSpy told(graph_.get(), &CFStatic::graphChanged);
    drag(graph_.get(), centreOf(element(0).marker()), QPoint(100, 60));
    const EqBand band = image_->band(Side::Input, 0, 0);
    QVERIFY(band.FQCY > 2500);
    QCOMPARE(band.Gain, 460 - 30 * 10);  // 60 px down at 2 px/dB
    QTRY_COMPARE(told.count(), 1);
    QCOMPARE(told.front(), (QList<QVariant>{0, int{CFStatic::kInput}}));
    // The worker finds the band's row changed.
    QVERIFY(image_->takeNextChangedRow(Side::Input).has_value());
    // The bandwidth handle of the band now under the pointer.
    const int before = image_->band(Side::Input, 0, 0).Q;
    drag(graph_.get(), centreOf(element(0).rightHandle()), QPoint(60, 0));
    QVERIFY(image_->band(Side::Input, 0, 0).Q > before);
  }

  // A long drag tells the owner about five times a second, naming the last
  // element dragged.
  void aLongDragNotifiesEveryFifthOfASecond() {
    QSignalSpy told(graph_.get(), &CFStatic::graphChanged);
    QElapsedTimer clock;
    clock.start();
    drag(graph_.get(), centreOf(element(8).marker()), QPoint(200, 0), 50, 20);
    const auto elapsed = clock.elapsed();
    QTest::qWait(250);
    QVERIFY2(told.count() >= 2 && told.count() <= elapsed / CFStatic::kNotifyMs + 2,
             qPrintable(QString::number(told.count())));
    QCOMPARE(told.back().front().toInt(), 8);
    QVERIFY(image_->crossover(Side::Input, 0).XFQCY_Lo > 100);
  }

  // An element already under the pointer when its kind is locked is let go:
  // neither its marker nor a bandwidth handle can be pressed and dragged.
  void aLockTakesTheElementUnderThePointerAway() {
    struct Case {
      const char* what;
      int element;
      bool handle;
      int lock;
    };
    for (const Case& c :
         {Case{"band", 0, false, LockFlag::InputEq}, Case{"handle", 0, true, LockFlag::InputEq},
          Case{"LC", 8, false, LockFlag::InputCrossover}}) {
      cleanup();
      init();
      const EqBand band = image_->band(Side::Input, 0, 0);
      const CrossoverPair crossover = image_->crossover(Side::Input, 0);
      QTest::mouseMove(graph_.get(), centreOf(element(c.element).marker()));
      const QPoint from =
          c.handle ? centreOf(element(c.element).rightHandle()) : centreOf(element(c.element).marker());
      QTest::mouseMove(graph_.get(), from);
      image_->modify([&](ImageData& d) { d.locks.setLocked(c.lock, true); });
      QTest::mousePress(graph_.get(), Qt::LeftButton, Qt::NoModifier, from);
      for (int i = 1; i <= 4; ++i) QTest::mouseMove(graph_.get(), from + QPoint(25, 15) * i);
      QTest::mouseRelease(graph_.get(), Qt::LeftButton, Qt::NoModifier, from + QPoint(100, 60));
      QVERIFY2(image_->band(Side::Input, 0, 0) == band, c.what);
      QVERIFY2(image_->crossover(Side::Input, 0) == crossover, c.what);
    }
  }

  void theEqLockKeepsBandsStillButNotTheCrossover() {
    image_->modify([](ImageData& d) { d.locks.setLocked(LockFlag::InputEq, true); });
    drag(graph_.get(), centreOf(element(0).marker()), QPoint(100, 60));
    QCOMPARE(image_->band(Side::Input, 0, 0).Gain, 460);
    drag(graph_.get(), centreOf(element(8).marker()), QPoint(100, 0));
    QVERIFY(image_->crossover(Side::Input, 0).XFQCY_Lo > 100);
  }

  // The main window at 1366 x 768 in both languages: an input with three
  // overlays, an output with its crossover and nine bands. The pictures are
  // kept for a human eye; each overlay's colour must be on the graph.
  void screenshots() {
    ParameterImage image;
    for (int band = 0; band < 8; ++band) {
      image.setBand(Side::Input, 2, band, {40 * (band + 1) * (band + 2), 460 - 40 * (band % 3), 60, 0, 0});
      image.setBand(Side::Input, 5, band, {90 * (band + 1) * (band + 1), 340 + 20 * band, 80, 0, 0});
    }
    image.setCrossover(Side::Input, 7, {200, 0, 2, 6000, 0, 2});
    image.setCrossover(Side::Output, 1, {80, 0, 2, 12000, 0, 3});
    image.setBand(Side::Output, 1, 4, {1500, 480, 30, 0, 0});
    OrvaneDlg window(image, nullptr, nullptr);
    window.resize(1366, 768);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const WindowParts parts(window);
    const QString dir = QCoreApplication::applicationDirPath();
    for (int language : {0, 1}) {
      Language::setFlag(language);
      window.ApplyLanguage();
      window.SelectPage(Page::Input, 2);
      image.modify([](ImageData& d) {
        d.editor.inputCurveVisible = {false, false, false, false, false, true, false, true};
        d.editor.outputCurveVisible = {false, false, false, true, false, false, false, false};
      });
      parts.graph()->Redraw(3);
      QTest::qWait(50);
      const QImage input = parts.graph()->grab().toImage();
      QVERIFY(input.save(dir + QStringLiteral("/graph-input-%1.png").arg(language ? "en" : "zh")));
      for (const auto& [side, channel] : {std::pair{Side::Input, 2}, {Side::Input, 5}, {Side::Input, 7}})
        QVERIFY2(holdsColour(input, EqGraphPainter::colourOf(ChannelColour::of(side, channel))),
                 qPrintable(QString::number(channel)));
      window.SelectPage(Page::Output, 1);
      parts.graph()->Redraw(10);
      QTest::qWait(50);
      QVERIFY(window.grab().save(dir + QStringLiteral("/graph-output-%1.png").arg(language ? "en" : "zh")));
      QVERIFY(holdsColour(parts.graph()->grab().toImage(),
                          EqGraphPainter::colourOf(ChannelColour::of(Side::Output, 1))));
    }
    Language::setFlag(0);
  }

  // In the main window the band's readouts follow each step of a drag, and a
  // drag not yet reported when another channel is chosen still reaches the
  // dragged channel's link group, not the group of the channel chosen.
  void aDragFollowsLiveAndStaysWithItsChannel() {
    ParameterImage image;
    const std::unique_ptr<OrvaneDlg> opened = MainWindowFixture::open(image);
    QVERIFY(opened);
    OrvaneDlg& window = *opened;
    const WindowParts parts(window);
    parts.linkGroups().join(Side::Input, 0, 5);
    parts.linkGroups().join(Side::Input, 3, 4);
    window.SelectPage(Page::Input, 0);
    const EqBand untouched = image.band(Side::Input, 3, 4);
    CFStatic* graph = parts.graph();
    QSignalSpy told(graph, &CFStatic::graphChanged);
    const QPoint from = centreOf(graph->geometry(Side::Input, 0).element(4).marker());
    QTest::mouseMove(graph, from);
    QTest::mousePress(graph, Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(graph, from + QPoint(20, -15));
    QTest::mouseMove(graph, from + QPoint(40, -30));
    QTest::mouseRelease(graph, Qt::LeftButton, Qt::NoModifier, from + QPoint(40, -30));
    const EqBand dragged = image.band(Side::Input, 0, 4);
    QVERIFY(dragged.Gain > 400);
    QCOMPARE(told.count(), 0);
    EqBandColumn* column = parts.inputPage()->eq()->column(4);
    QCOMPARE(column->fader()->value(), dragged.Gain);
    QCOMPARE(column->frequency()->value(), dragged.FQCY);

    // Choosing D reports the drag at once, while the page still shows A.
    window.SelectPage(Page::Input, 3);
    QCOMPARE(told.count(), 1);
    QCOMPARE(image.band(Side::Input, 5, 4), dragged);
    QCOMPARE(image.band(Side::Input, 3, 4), untouched);
    QCOMPARE(image.band(Side::Input, 4, 4), untouched);
  }

  // A band dragged on the graph of the connected window reaches the other
  // members of the channel's link group (and only them) and the device:
  // read back after a new connection, both are there.
  void aDraggedBandReachesTheGroupAndTheDevice() {
    ParameterImage image;
    const std::unique_ptr<OrvaneDlg> opened = MainWindowFixture::open(image);
    QVERIFY(opened);
    OrvaneDlg& window = *opened;
    const WindowParts parts(window);
    SimProcess sim;
    QVERIFY(MainWindowFixture::connectAndRead(window, sim));
    parts.linkGroups().join(Side::Input, 0, 5);
    CFStatic* graph = parts.graph();
    QSignalSpy told(graph, &CFStatic::graphChanged);
    const GraphRect marker = graph->geometry(Side::Input, 0).element(2).marker();
    drag(graph, centreOf(marker), QPoint(40, -30));
    QTRY_COMPARE(told.count(), 1);
    const EqBand dragged = image.band(Side::Input, 0, 2);
    QVERIFY(dragged.Gain > 400);
    QCOMPARE(image.band(Side::Input, 5, 2), dragged);
    QVERIFY(image.band(Side::Input, 4, 2) != dragged);
    QCOMPARE(parts.filters().input(5).element(2).GainCode(), dragged.Gain);
    QTRY_COMPARE_WITH_TIMEOUT(image.band(Side::Input, 5, 2, Copy::Device), dragged, 5000);
    QTest::qWait(300);
    window.disconnectLink();
    QVERIFY(image.band(Side::Input, 0, 2) != dragged);
    QVERIFY(window.connectTo(LinkType::Network, sim.networkTarget(), 0));
    QTRY_COMPARE_WITH_TIMEOUT(image.band(Side::Input, 0, 2), dragged, 15000);
    QCOMPARE(image.band(Side::Input, 5, 2), dragged);
    window.disconnectLink();
  }
};

}  // namespace orvane::ui

QTEST_MAIN(orvane::ui::EqGraphTest)
#include "EqGraphTest.moc"
