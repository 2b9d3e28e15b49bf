// Arbitrary program files of both kinds read by both models. The input's
// first byte picks kind, model and shape: as it is, or cut or padded to the
// signed or unsigned size of its kind, so that most inputs get past the size
// check. A refused file leaves the image as it was; an accepted one is taken
// in and written out again with the same contents, but for the password
// bytes, which a file never carries.

#include <algorithm>
#include <array>

#include "FuzzBytes.h"
#include "ImageChecks.h"
#include "model/ParameterImage.h"
#include "model/ProgramFile.h"

using namespace orvane;
using namespace orvane::fuzz;

namespace {

enum class Shape { AsIs, Signed, Unsigned };

std::vector<std::uint8_t> shaped(std::span<const std::uint8_t> raw, Shape shape, bool all, int model) {
  std::vector<std::uint8_t> file(raw.begin(), raw.end());
  if (shape == Shape::AsIs) return file;
  const std::size_t contents = all ? ProgramFile::kUnsignedAllSize : ProgramFile::kUnsignedOneSize;
  std::size_t size = contents;
  if (shape == Shape::Signed) {
    const std::string_view signature = ProgramFile::signature(model);
    file.insert(file.begin(), signature.begin(), signature.end());
    file.insert(file.begin(), static_cast<std::uint8_t>(signature.size()));
    size += 1 + signature.size();
  }
  file.resize(size);
  return file;
}

// What `read` made of the file; a refused file must leave the image as it was.
template <class Read>
auto readChecked(const ParameterImage& image, Read read) {
  const std::vector<std::uint8_t> before = imagePicture(image);
  auto contents = read();
  if (!contents) require(imagePicture(image) == before, "a refused file changed the image");
  return contents;
}

void loadOne(ParameterImage& image, std::span<const std::uint8_t> file, int model) {
  const auto program = readChecked(image, [&] { return ProgramFile::readOne(file, model); });
  if (!program) return;
  ProgramFile::applyOne(image, *program);
  image.read([&](const ImageData& d) {
    require(d.currentProgramName == program->name, "program name not taken");
    require(d.device.inputs == program->inputs && d.device.outputs == program->outputs, "blocks not taken");
    return 0;
  });
  // Written out and read back, the image's file gives the image again.
  const std::vector<std::uint8_t> written = ProgramFile::writeOne(image, model);
  const auto again = ProgramFile::readOne(written, model);
  require(again.has_value(), "a written one-program file is refused");
  ParameterImage copy;
  ProgramFile::applyOne(copy, *again);
  require(ProgramFile::writeOne(copy, model) == written, "one-program file does not round-trip");
  require(again->name == program->name, "program name not written back");
  require(std::equal(program->locks.begin(), program->locks.begin() + 32, again->locks.begin(),
                     [](std::uint8_t read, std::uint8_t written) { return (read != 0) == (written == 1); }),
          "function locks not written back as flags");
}

// The password bytes (6..11) of every record's lock packet: a file carries
// six blanks there, whatever the device holds.
void blankPasswords(std::vector<std::uint8_t>& records) {
  for (std::size_t r = 0; r < kPrograms; ++r) {
    const auto at = records.begin() +
                    static_cast<std::ptrdiff_t>(r * kProgramRecordSize + ProgramRecordOffset::LockPacket + 6);
    std::fill(at, at + 6, ' ');
  }
}

void loadAll(ParameterImage& image, std::span<const std::uint8_t> file, int model) {
  const auto store = readChecked(image, [&] { return ProgramFile::readAll(file, model); });
  if (!store) return;
  ProgramFile::applyAll(image, *store);
  const std::vector<std::uint8_t> written = ProgramFile::writeAll(image, model);
  const auto again = ProgramFile::readAll(written, model);
  ProgramStore expected = *store;
  for (ProgramRecord& record : expected) {
    const auto packet = recordLockPacket(record);
    std::fill(packet.begin() + 6, packet.end(), ' ');
  }
  require(again != nullptr && *again == expected, "all-programs file does not round-trip");
  const auto tail = std::span(written).last(ProgramFile::kUnsignedAllSize);
  std::vector<std::uint8_t> contents(file.end() - static_cast<std::ptrdiff_t>(tail.size()), file.end());
  blankPasswords(contents);
  require(std::equal(tail.begin(), tail.end(), contents.begin()),
          "all-programs file written with other contents");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzBytes in(data, size);
  const std::uint8_t choice = in.byte();
  const bool all = (choice & 1) != 0;
  const int model = (choice & 2) != 0 ? 736 : 7304;
  const auto shape = static_cast<Shape>((choice >> 2) % 3);
  const std::vector<std::uint8_t> file = shaped(in.rest(), shape, all, model);

  ParameterImage image;
  if (all)
    loadAll(image, file, model);
  else
    loadOne(image, file, model);
  checkImageInvariants(image);
  return 0;
}
