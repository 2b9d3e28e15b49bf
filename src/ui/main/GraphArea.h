#pragma once

// The area of the main window that holds the EQ graph of the channel being
// edited, under its title.

#include <QFrame>

#include "ui/widgets/WindowPart.h"

class QLabel;

namespace orvane {
class ChannelFilters;
class ParameterImage;
}  // namespace orvane

namespace orvane::ui {

class CFStatic;

class GraphArea : public QFrame, public WindowPart {
  Q_OBJECT

 public:
  GraphArea(ParameterImage& image, ChannelFilters& filters, QWidget* parent = nullptr);

  CFStatic* graph() const { return graph_; }

  void refreshFromImage() override;
  void applyLanguage() override;
  void applyLocks(const LockState& locks) override;

 private:
  QLabel* title_ = nullptr;
  CFStatic* graph_ = nullptr;
};

}  // namespace orvane::ui
