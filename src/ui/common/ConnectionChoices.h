#pragma once

#include <QString>

namespace orvane::ui {

// What the user chose in the connection dialog; kept for the whole run so
// the dialog opens with the last choices.
struct ConnectionChoices {
  // A neutral address in the range devices leave the factory with; it is
  // only the preset of the dialog's field.
  static constexpr const char* kFactoryAddress = "192.168.1.200";

  QString serialPort;
  int deviceId = 0;
  QString networkAddress = QString::fromLatin1(kFactoryAddress);
};

}  // namespace orvane::ui
