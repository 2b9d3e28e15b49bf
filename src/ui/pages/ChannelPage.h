#pragma once

// What the input page and the output page share: the edited channel, and
// three tabs that group its parameters the way an installer works through
// them: the equaliser; the crossover with delay, gain and polarity; the
// dynamics beside their graph. The page writes each change into the edited
// image, from where the communication worker sends the changed rows.

#include <QWidget>

#include "ui/pages/ChannelEdit.h"
#include "ui/pages/DynamicsSection.h"
#include "ui/widgets/WindowPart.h"

class QHBoxLayout;
class QTabWidget;

namespace orvane::ui {

class ChannelBasics;
class CrossoverSection;
class DynamicsGraph;
class EqSection;

// The dynamics a page shows: its graph (not yet parented), the groups of
// fields and the limits between them.
struct DynamicsSetup {
  DynamicsGraph* graph;
  std::span<const DynamicsGroup> groups;
  DynamicsLimit limit;
};

class ChannelPage : public QWidget, public WindowPart {
  Q_OBJECT

 public:
  enum Tab { EqTab, ChannelTab, DynamicsTab };

  // Loads every control from channel `channel` (0..7) of the edited image.
  void ShowChannel(int channel);
  // The EQ graph moved element `index` of the edited channel.
  void OnGraphChanged(int index);
  // The EQ graph is dragging element `index`: its controls show each step.
  void OnGraphDragging(int index);

  Side side() const { return edit_.side(); }
  int channel() const { return edit_.channel(); }
  QTabWidget* tabs() const { return tabs_; }
  EqSection* eq() const { return eq_; }
  CrossoverSection* crossover() const { return crossover_; }
  ChannelBasics* basics() const { return basics_; }
  DynamicsSection* dynamics() const { return dynamics_; }

  void refreshFromImage() override { ShowChannel(channel()); }
  void applyLanguage() override;
  void applyLocks(const LockState& locks) override;

 signals:
  // The EQ graph should redraw, showing element `selected` (or none: -1).
  void graphRedraw(int selected);
  // The gain of `channel` changed; its strip shows it.
  void gainChanged(int channel);
  // The user asked to import a Room EQ Wizard filter file into the channel.
  void rewImportRequested();

 protected:
  ChannelPage(Side side, ParameterImage& image, ChannelFilters& filters, LinkGroups& links,
              const DynamicsSetup& dynamics, QWidget* parent);

  ChannelEdit& edit() { return edit_; }
  // The row of the channel tab that holds the crossover, the delay and the
  // gain, for what a side adds.
  QHBoxLayout* channelRow() const { return channelRow_; }
  // What a side shows beyond the shared controls.
  virtual void showExtras() {}

 private:
  QWidget* buildChannelTab();

  ChannelEdit edit_;
  QTabWidget* tabs_ = nullptr;
  EqSection* eq_ = nullptr;
  CrossoverSection* crossover_ = nullptr;
  ChannelBasics* basics_ = nullptr;
  DynamicsSection* dynamics_ = nullptr;
  QHBoxLayout* channelRow_ = nullptr;
  CaptionSet captions_;
};

}  // namespace orvane::ui
