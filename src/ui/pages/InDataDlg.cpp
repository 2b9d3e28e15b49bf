#include "ui/pages/InDataDlg.h"

#include <QComboBox>
#include <algorithm>

#include "model/Choices.h"
#include "model/CrossLimits.h"
#include "model/LockState.h"
#include "model/Scales.h"
#include "ui/graphs/AGC_EXT_Map.h"
#include "ui/pages/ChannelBasics.h"
#include "ui/pages/NumField.h"
#include "ui/pages/PageTexts.h"

namespace orvane::ui {

namespace {

using namespace InputField;

constexpr std::array<DynamicsRow, 5> kAgcRows{{
    {&PageTexts::kTarget, "<ch>.agc.target"},
    {&PageTexts::kThreshold, "<ch>.agc.threshold"},
    {&PageTexts::kRatio, "<ch>.agc.ratio"},
    {&PageTexts::kResponse, "<ch>.agc.response"},
    {&PageTexts::kRelease, "<ch>.agc.release"},
}};
constexpr std::array<DynamicsRow, 4> kCompressorRows{{
    {&PageTexts::kLevel, "<ch>.comp.level"},
    {&PageTexts::kRatio, "<ch>.comp.ratio"},
    {&PageTexts::kAttack, "<ch>.comp.attack"},
    {&PageTexts::kRelease, "<ch>.comp.release"},
}};
constexpr std::array<DynamicsGroup, 2> kGroups{
    {{&PageTexts::kAgc, kAgcRows}, {&PageTexts::kCompressor, kCompressorRows}}};

int dynamicsLimit(Field field, int code, const ChannelEdit& edit) {
  return CrossLimits::dynamics(edit.image(), Side::Input, edit.channel(), field, code);
}

constexpr int kLevelClasses = 3;

}  // namespace

InDataDlg::InDataDlg(ParameterImage& image, ChannelFilters& filters, LinkGroups& links, QWidget* parent)
    : ChannelPage(Side::Input, image, filters, links, {new AGC_EXT_Map(image), kGroups, &dynamicsLimit},
                  parent) {
  setObjectName("inputPage");
  gate_ = PageControls::makeField(this, Scales::kNoiseGate);
  gate_->setObjectName("noiseGate");
  feedback_ = new QComboBox(this);
  feedback_->setObjectName("antiFeedback");
  levelClass_ = new QComboBox(this);
  levelClass_->hide();
  for (int c = 0; c < kLevelClasses; ++c) levelClass_->addItem(QString::number(c));
  basics()->addRow(PageTexts::kNoiseGate, gate_);
  basics()->addRow(PageTexts::kAntiFeedback, feedback_);
  connect(gate_, &NumField::valueEdited, this, [this](int code) { edit().write(NoiseGate, code); });
  connect(gate_, &NumField::valueHeld, this, [this](int code) { edit().write(NoiseGate, code); });
  connect(feedback_, &QComboBox::activated, this, &InDataDlg::onFeedback);
  // The priority class belongs to this input alone: linked inputs keep theirs.
  connect(levelClass_, &QComboBox::activated, this, [this](int c) { edit().writeOwn(LevelClass, c); });
  applyLanguage();
}

void InDataDlg::showExtras() {
  gate_->showValue(edit().value(NoiseGate));
  showFeedback();
  PageControls::select(levelClass_, edit().value(LevelClass));
}

// A code the list does not hold empties it and shows "NULL".
void InDataDlg::showFeedback() {
  if (!feedback_->isEnabled()) return;
  const std::optional<int> position = Choices::kFeedbackLevel.position(edit().value(Feedback));
  if (!position) {
    const std::array<BiText, 1> null{PageTexts::kNull};
    PageControls::fill(feedback_, null, 0);
    return;
  }
  PageControls::fill(feedback_, Choices::kFeedbackLevel, *position);
}

void InDataDlg::onFeedback(int item) {
  if (feedback_->count() != static_cast<int>(Choices::kFeedbackLevel.entries().size())) return;
  edit().write(Feedback, Choices::kFeedbackLevel.codeAt(item));
}

void InDataDlg::applyLanguage() {
  ChannelPage::applyLanguage();
  showFeedback();
}

void InDataDlg::applyLocks(const LockState& locks) {
  gate_->setLocked(locks.isLocked(LockFlag::NoiseGate));
  PageControls::lock(feedback_, locks.isLocked(LockFlag::InputFeedback), Choices::kFeedbackLevel, -1);
  ChannelPage::applyLocks(locks);
}

}  // namespace orvane::ui
