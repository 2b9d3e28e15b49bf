#pragma once

// The output page: every processing parameter of the selected output that
// the strips do not show — the nine EQ bands, the crossover with its filter
// families, the delay as time and distance, gain and polarity, and the
// compressor and limiter beside their transfer curve.

#include "ui/pages/ChannelPage.h"

namespace orvane::ui {

class OutDataDlg : public ChannelPage {
  Q_OBJECT

 public:
  OutDataDlg(ParameterImage& image, ChannelFilters& filters, LinkGroups& links, QWidget* parent = nullptr);
};

}  // namespace orvane::ui
