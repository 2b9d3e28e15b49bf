#pragma once

// Level meter of one channel: a column of eight lamps lit from the status
// byte the device sends for that channel in every level reply.
//
// Level replies arrive as fast as the link answers the idle poll, so the
// meter asks for a redraw only when one of its lamps actually changes; the
// same byte arriving again costs nothing.

#include <QColor>
#include <QWidget>
#include <array>
#include <cstdint>

namespace orvane::ui {

class SLamp : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kLampCount = 8;
  using LampStates = std::array<bool, kLampCount>;  // lamp 0 at the bottom

  // Input meters stand beside the input strips, output meters under the
  // output strips; they place the three indicator bits differently.
  enum class Layout { Output = 0, Input = 1 };

  explicit SLamp(QWidget* parent = nullptr);
  explicit SLamp(Layout layout, QWidget* parent = nullptr);

  // QWidget::setLayout(QLayout*) stays reachable next to the meter's own.
  using QWidget::setLayout;
  void setLayout(Layout layout);
  Layout lampLayout() const { return layout_; }

  // Lamps of a level byte: bits 0..3 the level step (above 8 counts as 8),
  // bits 4, 5 and 6 the indicators. The window feeds input bytes to input
  // meters and output bytes to output meters; the meter's layout decides
  // the lamp colours.
  void showInputLevel(std::uint8_t level);
  void showOutputLevel(std::uint8_t level);

  // All lamps dark, redrawn even if they were dark already (link closed).
  void reset();

  const LampStates& lampStates() const { return states_; }
  QColor lampColor(int lamp) const;

  // How often the meter has asked to be redrawn; the level poll relies on
  // this staying still while the bytes do.
  int redrawRequests() const { return redrawRequests_; }

  static LampStates statesFor(Layout layout, std::uint8_t level);
  static int litLevelLamps(std::uint8_t level);
  static QColor lampColor(Layout layout, int lamp);

  // Lamp `lamp` inside a meter `height` pixels high and `width` wide.
  static QRect lampRect(int width, int height, int lamp);

  static QColor backgroundColor() { return {76, 85, 118}; }

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void applyStates(const LampStates& states);
  void requestRedraw();

  Layout layout_ = Layout::Input;
  LampStates states_{};
  int redrawRequests_ = 0;
};

}  // namespace orvane::ui
