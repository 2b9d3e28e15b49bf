#pragma once

// Process-wide connection data: which link is open, the device ID used on
// the RS-485 bus, and the table of IDs found by the last bus search.

#include <array>
#include <cstdint>

namespace orvane {

enum class LinkType : std::uint8_t { None = 0, Serial = 1, Usb = 2, Network = 3 };

struct ConnectionState {
  static constexpr int kMaxDeviceId = 250;

  LinkType linkType = LinkType::None;
  int deviceId = 0;
  // Entry n - 1 is n when device n answered the last search, else 0. Before
  // any search every entry holds its ID.
  std::array<std::uint8_t, kMaxDeviceId> idTable{};

  void fillIdTable() {
    for (int n = 1; n <= kMaxDeviceId; ++n)
      idTable[static_cast<std::size_t>(n - 1)] = static_cast<std::uint8_t>(n);
  }
};

}  // namespace orvane
