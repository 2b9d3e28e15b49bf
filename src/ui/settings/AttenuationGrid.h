#pragma once

// The automatic attenuations of the set-up dialogs: chairman,
// representative and cascade for conference and for discussion mode. The
// chairman is never attenuated; its fields only show 0.0dB.

#include <QGroupBox>
#include <array>

#include "model/SetupSettings.h"

namespace orvane {
class SetupSession;
}

namespace orvane::ui {

class NumField;

class AttenuationGrid : public QGroupBox {
  Q_OBJECT

 public:
  AttenuationGrid(SetupSession& session, QWidget* parent);

  NumField* field(Attenuation which) const { return fields_[static_cast<std::size_t>(which)]; }
  // Chairman field of conference (0) or discussion (1) mode.
  NumField* chairmanField(int mode) const { return chairman_[static_cast<std::size_t>(mode)]; }

 private:
  SetupSession& session_;
  std::array<NumField*, 4> fields_{};  // in the order of Attenuation
  std::array<NumField*, 2> chairman_{};
};

}  // namespace orvane::ui
