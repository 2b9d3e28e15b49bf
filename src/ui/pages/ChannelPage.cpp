#include "ui/pages/ChannelPage.h"

#include <QHBoxLayout>
#include <QTabWidget>
#include <QVBoxLayout>

#include "model/LockState.h"
#include "ui/pages/ChannelBasics.h"
#include "ui/pages/CrossoverSection.h"
#include "ui/pages/EqSection.h"
#include "ui/pages/PageTexts.h"

namespace orvane::ui {

namespace {

// The function locks that govern a page, by side.
struct PageLocks {
  int eq, crossover, delay, gain, polarity, dynamics;
};

constexpr PageLocks kInputLocks{LockFlag::InputEq,   LockFlag::InputCrossover, LockFlag::InputDelay,
                                LockFlag::InputGain, LockFlag::InputPolarity,  LockFlag::InputDynamics};
constexpr PageLocks kOutputLocks{LockFlag::OutputEq,   LockFlag::OutputCrossover, LockFlag::OutputDelay,
                                 LockFlag::OutputGain, LockFlag::OutputPolarity,  LockFlag::OutputDynamics};

}  // namespace

ChannelPage::ChannelPage(Side side, ParameterImage& image, ChannelFilters& filters, LinkGroups& links,
                         const DynamicsSetup& dynamics, QWidget* parent)
    : QWidget(parent), edit_(image, filters, links, side) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  tabs_ = new QTabWidget(this);
  tabs_->setObjectName(side == Side::Input ? "inputPageTabs" : "outputPageTabs");
  layout->addWidget(tabs_);
  eq_ = new EqSection(edit_, tabs_);
  dynamics_ = new DynamicsSection(edit_, dynamics.graph, dynamics.groups, dynamics.limit, tabs_);
  tabs_->addTab(eq_, QString());
  tabs_->addTab(buildChannelTab(), QString());
  tabs_->addTab(dynamics_, QString());
  captions_.addTab(tabs_, EqTab, PageTexts::kEqTab);
  captions_.addTab(tabs_, ChannelTab, PageTexts::kChannelTab);
  captions_.addTab(tabs_, DynamicsTab, PageTexts::kDynamicsTab);
  connect(eq_, &EqSection::graphRedraw, this, &ChannelPage::graphRedraw);
  connect(eq_, &EqSection::importRequested, this, &ChannelPage::rewImportRequested);
  connect(crossover_, &CrossoverSection::graphRedraw, this, &ChannelPage::graphRedraw);
  connect(basics_, &ChannelBasics::gainChanged, this, &ChannelPage::gainChanged);
}

QWidget* ChannelPage::buildChannelTab() {
  auto* tab = new QWidget(tabs_);
  channelRow_ = new QHBoxLayout(tab);
  channelRow_->setContentsMargins(6, 6, 6, 6);
  crossover_ = new CrossoverSection(edit_, tab);
  basics_ = new ChannelBasics(edit_, tab);
  channelRow_->addWidget(crossover_);
  channelRow_->addWidget(basics_);
  channelRow_->addStretch(1);
  return tab;
}

void ChannelPage::ShowChannel(int channel) {
  edit_.setChannel(channel);
  eq_->showAll();
  crossover_->showChannel();
  basics_->showChannel();
  dynamics_->showChannel();
  showExtras();
}

void ChannelPage::OnGraphChanged(int index) {
  if (index < eq_->bandCount())
    eq_->bandDragged(index);
  else
    crossover_->cornerDragged(index);
}

void ChannelPage::OnGraphDragging(int index) {
  if (index < eq_->bandCount())
    eq_->showBand(index);
  else
    crossover_->showChannel();
}

void ChannelPage::applyLanguage() {
  captions_.apply();
  eq_->applyLanguage();
  crossover_->applyLanguage();
  basics_->applyLanguage();
  dynamics_->applyLanguage();
}

void ChannelPage::applyLocks(const LockState& locks) {
  const PageLocks& flags = side() == Side::Input ? kInputLocks : kOutputLocks;
  eq_->setLocked(locks.isLocked(flags.eq));
  crossover_->setLocked(locks.isLocked(flags.crossover));
  basics_->lockDelay(locks.isLocked(flags.delay));
  basics_->lockGain(locks.isLocked(flags.gain));
  basics_->lockPolarity(locks.isLocked(flags.polarity));
  dynamics_->setLocked(locks.isLocked(flags.dynamics));
  // Lists refilled on unlocking show the channel's choices again.
  refreshFromImage();
}

}  // namespace orvane::ui
