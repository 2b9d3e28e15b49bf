#include <QHBoxLayout>
#include <QImage>
#include <QSignalSpy>
#include <QtTest>
#include <cmath>

#include "model/Language.h"
#include "ui/graphs/AGC_EXT_Map.h"
#include "ui/graphs/COM_EXT_LIMStatic.h"

using namespace orvane;
using namespace orvane::ui;

namespace {

namespace I = InputField;
namespace O = OutputField;
using A = AgcCurveGeometry::Handle;
using C = CompLimCurveGeometry::Handle;
constexpr int kInput = 1, kOutput = 2;
const QColor kInputColour(223, 18, 123), kOutputColour(128, 128, 192);

// Both graphs side by side in a window, as the pages place them, bound to
// an input with AGC and compressor and an output with compressor and
// limiter in use.
struct Window {
  ParameterImage image;
  QWidget window;
  AGC_EXT_Map agc{image};
  COM_EXT_LIMStatic compLim{image};

  Window() {
    const std::pair<Field, int> in[] = {{I::AGC_Threshold, 300},
                                        {I::AGC_TargetLevel, 600},
                                        {I::AGC_Ratio, 21},
                                        {I::Comp_Level, 300},
                                        {I::Comp_ratio, 31}};
    for (const auto& [field, code] : in) image.setField(Side::Input, kInput, field, code);
    const std::pair<Field, int> out[] = {{O::Comp_Level, 200}, {O::Lim_Threshold, 400}, {O::Comp_ratio, 21}};
    for (const auto& [field, code] : out) image.setField(Side::Output, kOutput, field, code);
    auto* layout = new QHBoxLayout(&window);
    for (QWidget* graph : {static_cast<QWidget*>(&agc), static_cast<QWidget*>(&compLim)}) {
      graph->setFixedSize(260, 220);
      layout->addWidget(graph);
    }
    agc.ShowChannel(kInput);
    compLim.ShowChannel(kOutput);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
  }

  void lockBoth() {
    image.modify([](ImageData& d) {
      d.locks.setLocked(LockFlag::InputDynamics, true);
      d.locks.setLocked(LockFlag::OutputDynamics, true);
    });
    agc.Redraw();
    compLim.Redraw();
  }
};

// Where the pointer grabs `handle` of `graph`, and the field it writes.
template <class Graph, class Handle>
std::pair<QPoint, Field> grip(const Graph& graph, Handle handle) {
  const PlotPoint p = graph.geometry().point(handle);
  return {QPoint(static_cast<int>(std::lround(p.x)), static_cast<int>(std::lround(p.y))),
          std::remove_cvref_t<decltype(graph.geometry())>::infoOf(handle).field};
}

// Hovers the handle at `from`, presses, moves the pointer `dy` pixels down
// (up when negative) and lets go. The pointer comes from a pixel beside the
// centre: a move to where it already is does not reach the widget.
void dragVertically(QWidget& graph, QPoint from, int dy) {
  QTest::mouseMove(&graph, from + QPoint(1, 1));
  QTest::mouseMove(&graph, from);
  QTest::mousePress(&graph, Qt::LeftButton, Qt::NoModifier, from);
  QTest::mouseMove(&graph, from + QPoint(0, dy / 2));
  QTest::mouseMove(&graph, from + QPoint(0, dy));
  QTest::mouseRelease(&graph, Qt::LeftButton, Qt::NoModifier, from + QPoint(0, dy));
}

// Pixels within a small distance of `colour`: anti-aliasing blends the
// curve's edges only.
int pixelsNear(const QImage& image, QColor colour) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QColor c = image.pixelColor(x, y);
      const int distance = std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green()) +
                           std::abs(c.blue() - colour.blue());
      count += distance < 20;
    }
  return count;
}

// What a drag should store besides an exact code.
constexpr int kChanged = -1;         // a ratio: any other code
constexpr int kLevelAtPointer = -2;  // the level under the released pointer

struct Drag {
  bool input;
  int handle, dy, expected;
};

}  // namespace

Q_DECLARE_METATYPE(Drag)

class DynamicsGraphTest : public QObject {
  Q_OBJECT

 private slots:
  void draggingAHandleWritesItsFieldAndTellsThePage_data();
  void draggingAHandleWritesItsFieldAndTellsThePage();
  void lockedGraphIgnoresTheMouseAndShowsARedDiagonal();
  void screenshotsInBothLanguages();
};

void DynamicsGraphTest::draggingAHandleWritesItsFieldAndTellsThePage_data() {
  QTest::addColumn<Drag>("drag");
  QTest::newRow("AGC threshold up") << Drag{true, int(A::Threshold), -20, kLevelAtPointer};
  QTest::newRow("AGC target down") << Drag{true, int(A::Target), 10, kLevelAtPointer};
  // The compressor sits at level 300 + 500 of the AGC's scale.
  QTest::newRow("AGC target stops at the compressor") << Drag{true, int(A::Target), -100, 800};
  QTest::newRow("AGC ratio down") << Drag{true, int(A::Ratio), 8, kChanged};
  QTest::newRow("compressor ratio down") << Drag{true, int(A::CompressorRatio), 5, kChanged};
  QTest::newRow("limiter down") << Drag{false, int(C::LimiterThreshold), 10, kLevelAtPointer};
  QTest::newRow("output ratio above its point is 1:1") << Drag{false, int(C::CompressorRatio), -120, 1};
}

void DynamicsGraphTest::draggingAHandleWritesItsFieldAndTellsThePage() {
  QFETCH(Drag, drag);
  auto [input, handle, dy, expected] = drag;
  Window w;
  DynamicsGraph& graph = input ? static_cast<DynamicsGraph&>(w.agc) : w.compLim;
  const Side side = input ? Side::Input : Side::Output;
  const int channel = input ? kInput : kOutput;
  const auto [from, field] = input ? grip(w.agc, A(handle)) : grip(w.compLim, C(handle));
  const int before = w.image.field(side, channel, field);
  const int neighbour = w.image.field(side, channel + 1, field);
  QSignalSpy spy(&graph, &DynamicsGraph::fieldDragged);
  dragVertically(graph, from, dy);
  const int after = w.image.field(side, channel, field);
  const DynamicsPlot& plot = input ? w.agc.geometry().plot() : w.compLim.geometry().plot();
  if (expected == kLevelAtPointer) expected = plot.levelAt(from.y() + dy);
  if (expected != kChanged) QCOMPARE(after, expected);
  QVERIFY(after != before);
  QVERIFY(!spy.isEmpty());
  QCOMPARE(spy.last().at(0).value<Field>(), field);
  QCOMPARE(spy.last().at(1).toInt(), after);
  // Only the shown channel is written; the page copies to linked ones.
  QCOMPARE(w.image.field(side, channel + 1, field), neighbour);
}

void DynamicsGraphTest::lockedGraphIgnoresTheMouseAndShowsARedDiagonal() {
  Window w;
  w.lockBoth();
  QSignalSpy agcSpy(&w.agc, &DynamicsGraph::fieldDragged);
  QSignalSpy compLimSpy(&w.compLim, &DynamicsGraph::fieldDragged);
  dragVertically(w.agc, grip(w.agc, A::Threshold).first, -20);
  dragVertically(w.compLim, grip(w.compLim, C::LimiterThreshold).first, 30);
  QCOMPARE(w.image.field(Side::Input, kInput, I::AGC_Threshold), 300);
  QCOMPARE(w.image.field(Side::Output, kOutput, O::Lim_Threshold), 400);
  QCOMPARE(agcSpy.count() + compLimSpy.count(), 0);
  QCOMPARE(w.agc.cursor().shape(), Qt::ArrowCursor);
  for (const auto& [graph, colour] :
       {std::pair<QWidget*, QColor>{&w.agc, kInputColour}, {&w.compLim, kOutputColour}}) {
    const QImage shot = graph->grab().toImage();
    QCOMPARE(pixelsNear(shot, colour), 0);
    QVERIFY(pixelsNear(shot, Qt::red) > 100);
  }
}

void DynamicsGraphTest::screenshotsInBothLanguages() {
  const QString dir = QCoreApplication::applicationDirPath();
  for (const auto& [flag, name] : {std::pair{1, "en"}, std::pair{0, "zh"}}) {
    Language::setFlag(flag);
    Window w;
    QTest::mouseMove(&w.agc, grip(w.agc, A::CompressorRatio).first);
    QCOMPARE(w.agc.cursor().shape(), Qt::SizeVerCursor);
    QTest::mouseMove(&w.compLim, grip(w.compLim, C::CompressorLevel).first);
    QCOMPARE(w.compLim.cursor().shape(), Qt::SizeBDiagCursor);
    const QImage shot = w.window.grab().toImage();
    QVERIFY(shot.save(dir + QStringLiteral("/dynamics-graphs-%1.png").arg(name)));
    // Each curve shows in its channel's colour, no red: nothing is locked.
    QVERIFY(pixelsNear(w.agc.grab().toImage(), kInputColour) > 100);
    QVERIFY(pixelsNear(w.compLim.grab().toImage(), kOutputColour) > 100);
    QCOMPARE(pixelsNear(shot, Qt::red), 0);
    w.lockBoth();
    QVERIFY(w.window.grab().save(dir + QStringLiteral("/dynamics-graphs-locked-%1.png").arg(name)));
  }
}

QTEST_MAIN(DynamicsGraphTest)
#include "DynamicsGraphTest.moc"
