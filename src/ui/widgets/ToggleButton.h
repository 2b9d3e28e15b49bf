#pragma once

// Two-state button of the editor window: mute, curve, anti-feedback and,
// without a label, the small square crosspoint buttons.
//
// The label is real text, so it follows the language switch. Use clicked()
// for the user's presses: toggled() also fires when the window shows a state
// from the parameter image with setChecked().

#include <QAbstractButton>
#include <QColor>

namespace orvane::ui {

class ToggleButton : public QAbstractButton {
  Q_OBJECT

 public:
  explicit ToggleButton(QWidget* parent = nullptr);
  explicit ToggleButton(const QString& text, QWidget* parent = nullptr);

  // Face colour of the "on" state.
  void setOnColor(const QColor& color);
  QColor onColor() const { return onColor_; }

  // Buttons of the selected strip wear the highlight outline.
  void setHighlighted(bool highlighted);
  bool isHighlighted() const { return highlighted_; }

  // The face as drawn for the current state: on colour, off face, and their
  // dimmed forms when disabled.
  QColor faceColor() const;

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  QColor textColor() const;

  QColor onColor_;
  bool highlighted_ = false;
};

}  // namespace orvane::ui
