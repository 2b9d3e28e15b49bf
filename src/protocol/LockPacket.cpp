#include "protocol/LockPacket.h"

#include <algorithm>

namespace orvane::LockPacket {

namespace {

constexpr int kFunctionFlags = 32;
constexpr int kWorkingState = 0;
constexpr int kDeviceLockSet = 31;

bool bit(std::span<const std::uint8_t, 12> packet, int flag) {
  return (packet[static_cast<std::size_t>(flag / 8)] >> (flag % 8)) & 1;
}

// The password as the device holds it: up to the first zero byte, blanks
// removed at both ends. A device that never had a password may send zeros.
std::string passwordText(std::span<const std::uint8_t> chars) {
  std::string text(chars.begin(), std::find(chars.begin(), chars.end(), std::uint8_t{0}));
  const auto first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  const auto last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

}  // namespace

Packet build(const LockState& locks) {
  Packet packet{};
  for (int flag = 0; flag < static_cast<int>(LockState::kFlagCount); ++flag)
    if (locks.isLocked(flag))
      packet[static_cast<std::size_t>(flag / 8)] |= static_cast<std::uint8_t>(1u << (flag % 8));
  std::fill(packet.begin() + 6, packet.end(), std::uint8_t{' '});
  const std::size_t n = std::min(locks.password.size(), LockState::kPasswordLength);
  std::copy_n(locks.password.begin(), n, packet.begin() + 6);
  return packet;
}

void apply(std::span<const std::uint8_t, 12> packet, int program, LockState& locks) {
  if (program == kWorkingState) {
    for (int flag = 0; flag < static_cast<int>(LockState::kFlagCount); ++flag)
      locks.setLocked(flag, bit(packet, flag));
    std::copy(packet.begin() + 6, packet.end(), locks.bytes.begin() + LockState::kPasswordOffset);
    locks.password = passwordText(packet.subspan(6));
    return;
  }
  for (int flag = 0; flag < kFunctionFlags; ++flag) {
    const bool locked = bit(packet, flag);
    locks.deviceLock[static_cast<std::size_t>(flag)] = locked ? 1 : 0;
    if (program != kDeviceLockSet) locks.setLocked(flag, locked);
  }
}

}  // namespace orvane::LockPacket
