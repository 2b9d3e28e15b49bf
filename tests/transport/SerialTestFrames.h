#pragma once

// Frames the serial link's tests put in flight, byte by byte.

#include <cstdint>

#include "protocol/SendData.h"

namespace orvane::test {

// A level poll on the serial link to device `id`.
inline SendData levelPoll(std::uint8_t id = 5) {
  SendData f;
  f.set(4, 0xA2);   // cmd: read
  f.set(5, 0x01);   // link: serial
  f.set(7, id);     // device ID
  f.set(8, 0x00);   // value: working state
  f.set(9, 0x03);   // block: system item
  f.set(10, 0x03);  // item 3: levels
  f.set(13, 0x08);  // length: eight zero bytes
  f.finalise(0x21);
  return f;
}

}  // namespace orvane::test
