#include "ui/pages/InMicDlg.h"

#include <QGridLayout>
#include <QLabel>

#include "model/Crosspoints.h"
#include "ui/common/UiText.h"
#include "ui/pages/MixCell.h"

namespace orvane::ui {

namespace {

constexpr BiText kTitle{"Matrix mixer: input (row) into output (column)", "矩阵混音: 输入(行) 到 输出(列)"};

std::size_t at(int channel) {
  return static_cast<std::size_t>(channel);
}

int mixLevel(const ParameterImage& image, int input, int output) {
  return image.field(Side::Input, input, InputField::mix(output));
}

}  // namespace

InMicDlg::InMicDlg(ParameterImage& image, QWidget* parent) : QWidget(parent), image_(image) {
  setObjectName("matrixPage");
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(4, 2, 4, 4);
  grid->setSpacing(3);
  title_ = new QLabel(this);
  grid->addWidget(title_, 0, 0, 1, kChannels + 1);
  for (int t = 0; t < kChannels; ++t)
    grid->addWidget(new QLabel(QString::number(t + 1), this), 1, t + 1, Qt::AlignHCenter);
  for (int a = 0; a < kChannels; ++a) {
    grid->addWidget(new QLabel(QString(QChar('A' + a)), this), a + 2, 0, Qt::AlignRight | Qt::AlignVCenter);
    for (int t = 0; t < kChannels; ++t) {
      auto* cell = new MixCell(this);
      cell->setObjectName(QStringLiteral("mix%1%2").arg(a).arg(t));
      connect(cell, &MixCell::levelEdited, this, [this, a, t](int level) { onLevel(a, t, level); });
      connect(cell, &MixCell::toggled, this, [this, a, t] { onToggle(a, t); });
      cells_[at(a)][at(t)] = cell;
      grid->addWidget(cell, a + 2, t + 1);
    }
  }
}

MixCell* InMicDlg::cell(int input, int output) const {
  return cells_.at(at(input)).at(at(output));
}

void InMicDlg::ShowAll() {
  for (int a = 0; a < kChannels; ++a)
    for (int t = 0; t < kChannels; ++t) cell(a, t)->showLevel(mixLevel(image_, a, t));
}

void InMicDlg::onLevel(int input, int output, int level) {
  Crosspoints::setLevel(image_, input, output, level);
}

// Switched on, the crosspoint takes the level it had when it was switched
// off (or that was last set); switched off, it keeps that level in mind.
void InMicDlg::onToggle(int input, int output) {
  Crosspoints::toggle(image_, input, output);
  cell(input, output)->showLevel(mixLevel(image_, input, output));
}

void InMicDlg::applyLanguage() {
  title_->setText(uiText(kTitle));
  for (auto& row : cells_)
    for (MixCell* c : row) c->showLevel(c->level());
}

void InMicDlg::applyLocks(const LockState& locks) {
  const bool locked = locks.isLocked(LockFlag::Matrix);
  for (auto& row : cells_)
    for (MixCell* c : row) c->setLocked(locked);
}

}  // namespace orvane::ui
