#pragma once

// The input page: every processing parameter of the selected input that the
// strips do not show — the eight EQ bands, the crossover, the delay as time
// and distance, gain and polarity, the noise gate and the anti-feedback
// level, and the AGC and compressor beside their transfer curve.

#include "ui/pages/ChannelPage.h"

class QComboBox;

namespace orvane::ui {

class NumField;

class InDataDlg : public ChannelPage {
  Q_OBJECT

 public:
  InDataDlg(ParameterImage& image, ChannelFilters& filters, LinkGroups& links, QWidget* parent = nullptr);

  NumField* noiseGate() const { return gate_; }
  QComboBox* antiFeedback() const { return feedback_; }
  // The priority class of the input; kept hidden.
  QComboBox* levelClass() const { return levelClass_; }

  void applyLanguage() override;
  void applyLocks(const LockState& locks) override;

 protected:
  void showExtras() override;

 private:
  void onFeedback(int item);
  void showFeedback();

  NumField* gate_ = nullptr;
  QComboBox* feedback_ = nullptr;
  QComboBox* levelClass_ = nullptr;
};

}  // namespace orvane::ui
