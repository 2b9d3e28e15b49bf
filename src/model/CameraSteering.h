#pragma once

// Steering a PTZ camera through the device: the steering fields (camera ID,
// speed, preset) are patched into the ready-made messages of the camera
// command table, and each steering button sends one message when pressed
// and one when released.
//
// The patch functions say whether the table changed; re-entering the value
// a field already shows changes nothing. Values are clamped into the ranges
// of the protocol first.

#include <optional>
#include <vector>

#include "model/CameraCommands.h"

namespace orvane::CameraSteering {

inline constexpr int kGoToPreset = 10;
inline constexpr int kSetPreset = 11;
inline constexpr int kPelcoStop = 12;

// Byte 22 of the extended set-up block: 0 Pelco-D, anything else VISCA.
CameraProtocol protocolOf(std::uint8_t protocolByte);

struct Range {
  int min;
  int max;
};
struct Ranges {
  Range cameraId;
  Range speed;
  Range preset;
};
Ranges ranges(CameraProtocol protocol);

// What the steering fields show for `protocol`, read back from its table.
struct Fields {
  int cameraId;
  int speed;
  int preset;
};
Fields fields(const CameraCommands& table, CameraProtocol protocol);

// Pelco-D: address byte of every message. VISCA: 0x80 + ID as first byte.
bool setCameraId(CameraCommands& table, CameraProtocol protocol, int cameraId);
// Pelco-D: speed - 1 into the tilt (0, 1) and pan (2, 3) messages. VISCA: pan
// speed s and tilt speed min(s, 20) into messages 0-3 and 13.
bool setSpeed(CameraCommands& table, CameraProtocol protocol, int speed);
// Pelco-D: p into go-to and set preset. VISCA: memory number p - 1.
bool setPreset(CameraCommands& table, CameraProtocol protocol, int preset);

// Each button's value is the number of the message it sends when pressed.
enum class Button {
  Up = 0,
  Down = 1,
  Left = 2,
  Right = 3,
  FocusFar = 4,
  FocusNear = 5,
  ZoomWide = 6,   // "Small magnification"
  ZoomTele = 7,   // "Large magnification"
  IrisClose = 8,  // "Small aperture"
  IrisOpen = 9,   // "Large aperture"
};
struct ButtonMessages {
  int press;
  int release;
};
// Nothing when the protocol has no such command (VISCA has no iris): the
// button stays disabled.
std::optional<ButtonMessages> buttonMessages(Button button, CameraProtocol protocol);

// The message numbers that sending message `number` puts on the link, in
// order: with Pelco-D a go-to or set preset is followed by stop.
std::vector<int> messagesToSend(CameraProtocol protocol, int number);

}  // namespace orvane::CameraSteering
