#pragma once

// Program files and their parts with distinct bytes everywhere, for the
// tests of reading and writing them.

#include <cstdint>
#include <string_view>
#include <vector>

#include "model/ParameterImage.h"
#include "model/ProgramFile.h"

namespace orvane {

using Bytes = std::vector<std::uint8_t>;

inline void put(Bytes& out, std::string_view text) {
  out.insert(out.end(), text.begin(), text.end());
}

// Distinct bytes for every place of the sixteen channel blocks. Every input
// is in level class 2 at level 80, which the restore leaves as it is.
inline std::uint8_t blockByte(Side side, int channel, std::size_t i) {
  if (side == Side::Input && i == 19) return 2;
  if (side == Side::Input && i == 20) return 80;
  return static_cast<std::uint8_t>(i * 5 + static_cast<std::size_t>(channel) * 37 +
                                   (side == Side::Output) * 101);
}
inline void putBlocks(Bytes& out) {
  for (Side side : {Side::Input, Side::Output})
    for (int c = 0; c < kChannels; ++c)
      for (std::size_t i = 0; i < blockSize(side); ++i) out.push_back(blockByte(side, c, i));
}

// Lock bytes of the file: every third flag set, then the password "FILEPW".
inline std::uint8_t fileLock(std::size_t k) {
  return k < 48 ? k % 3 == 0 : static_cast<std::uint8_t>("FILEPW"[k - 48]);
}

// The signed form: length byte and signature text before the contents.
inline Bytes withSignature(std::string_view signature, Bytes contents) {
  Bytes out{static_cast<std::uint8_t>(signature.size())};
  put(out, signature);
  out.insert(out.end(), contents.begin(), contents.end());
  return signature.empty() ? contents : out;
}

// One program: 16-byte name, 960 input bytes, 896 output bytes, 54 lock bytes.
inline Bytes oneProgramFile(std::string_view signature) {
  Bytes out;
  put(out, {"Hall A\0\0\0\0\0\0\0\0\0\0", 16});
  putBlocks(out);
  for (std::size_t k = 0; k < 54; ++k) out.push_back(fileLock(k));
  return withSignature(signature, out);
}

// Program record p: 960 input bytes, 896 output bytes, 16-byte name, 12-byte
// lock packet (input label locked, no password).
inline Bytes programRecord(int p) {
  Bytes out;
  putBlocks(out);
  out.back() = static_cast<std::uint8_t>(p);  // the last EQ byte of output 8 tells the programs apart
  put(out, {"Prog \0\0\0\0\0\0\0\0\0\0\0", 16});
  out[out.size() - 11] = static_cast<std::uint8_t>('A' + p);
  put(out, {"\x01\x00\x00\x00\x00\x00      ", 12});
  return out;
}

// All programs: the records of programs 1..30.
inline Bytes allProgramsFile(std::string_view signature) {
  Bytes out;
  for (int p = 1; p <= kPrograms; ++p) {
    const Bytes record = programRecord(p);
    out.insert(out.end(), record.begin(), record.end());
  }
  return withSignature(signature, out);
}

}  // namespace orvane
