#pragma once

// The two kinds of program file kept on the PC: a one-program file (the
// working state: current program name, the sixteen channel blocks and the
// lock bytes) and an all-programs file (the thirty records of the program
// store). Each is written with the model's signature in front; files
// without one, of exactly the unsigned size, are still read by model 7304.
// Their bytes travel between laptops, sites and versions of the editor, so
// every offset here is fixed.
//
// Reading parses the whole file into a separate value first; the image is
// changed only when the file was complete and of this model, in one step.

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "model/BlockLayout.h"
#include "model/LockState.h"
#include "model/ProgramStore.h"
#include "platform/AtomicFile.h"

namespace orvane {

class ParameterImage;

namespace ProgramFile {

inline constexpr std::size_t kUnsignedOneSize = 1926;    // name, 16 blocks, 54 lock bytes
inline constexpr std::size_t kUnsignedAllSize = 56520;   // 30 program records
inline constexpr std::size_t kLargestFile = 56527 + 16;  // anything longer is not a program file

// What a one-program file holds.
struct OneProgram {
  std::array<std::uint8_t, kProgramNameBytes> name{};
  std::array<InputBlock, kChannels> inputs{};
  std::array<OutputBlock, kChannels> outputs{};
  std::array<std::uint8_t, LockState::kLockBytes> locks{};
};

// "7304.1" or "736.1".
std::string_view signature(int modelCode);

// The signed files of the image: the current program name, the edited
// blocks and the lock bytes; or the program store. Neither carries the
// device's password: six blanks stand in its place (lock bytes 48..53, and
// bytes 6..11 of each record's lock packet).
std::vector<std::uint8_t> writeOne(const ParameterImage& image, int modelCode);
std::vector<std::uint8_t> writeAll(const ParameterImage& image, int modelCode);

// The contents of a file, or nothing when it is refused: another model's
// signature (or an unsigned file read by model 736), a file that ends
// early, or one longer than its form.
std::optional<OneProgram> readOne(std::span<const std::uint8_t> bytes, int modelCode);
std::unique_ptr<ProgramStore> readAll(std::span<const std::uint8_t> bytes, int modelCode);

// Takes a one-program file into the image in one step: its name becomes
// the current program name, its blocks the device copy and then the edited
// image (with the derived data rebuilt), and its lock bytes 0..31 both the
// function locks and the device-lock copy; the system locks and the stored
// password stay as they were.
void applyOne(ParameterImage& image, const OneProgram& file);
// Replaces the program store.
void applyAll(ParameterImage& image, const ProgramStore& store);

// The current program name a one-program file's name gives (the name with
// its extension, without the folder, as UTF-8): at most its first nine
// bytes in GBK and never more than its length less six, "PC PRO" when a
// Chinese character stands among them; zero-padded.
std::array<std::uint8_t, kProgramNameBytes> nameFromFileName(std::string_view fileName);

// The file's bytes, or nothing when it cannot be opened. At most
// kLargestFile + 1 bytes are read: enough to refuse a longer file as not a
// program file, without loading a huge wrong choice into memory.
std::optional<std::vector<std::uint8_t>> readBytes(const std::filesystem::path& path);
// Replaces the file with `bytes` as a whole; when it cannot, the file that
// was there is unchanged.
AtomicFile::Result writeBytes(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

}  // namespace ProgramFile

}  // namespace orvane
