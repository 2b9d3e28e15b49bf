#include "model/ProgramFile.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "model/NameField.h"
#include "model/ParameterImage.h"
#include "model/ProductVariant.h"

namespace orvane::ProgramFile {

namespace {

constexpr std::size_t kFunctionLocks = 32;  // lock bytes 0..31 travel with the data
constexpr std::size_t kPacketPassword = 6;  // a lock packet's bytes 6..11
constexpr std::uint8_t kBlank = 0x20;
constexpr std::size_t kExtensionBytes = 6;  // ".dia1j"
constexpr std::size_t kNameFromFileBytes = 9;
constexpr std::string_view kChineseFileName = "PC PRO";

// Length bytes that announce a longer length after them.
constexpr std::uint8_t kLength16 = 255;
constexpr std::uint16_t kLength32 = 65535;

static_assert(kUnsignedOneSize ==
              kProgramNameBytes + kChannels * (kInputBlockSize + kOutputBlockSize) + LockState::kLockBytes);
static_assert(kUnsignedAllSize == kPrograms * kProgramRecordSize);

using Bytes = std::span<const std::uint8_t>;

// The little-endian number of `width` bytes at `at`; nothing when the bytes
// end first.
std::optional<std::uint64_t> littleEndian(Bytes bytes, std::uint64_t at, std::size_t width) {
  if (at > bytes.size() || bytes.size() - at < width) return std::nullopt;
  std::uint64_t value = 0;
  for (std::size_t i = 0; i < width; ++i) value |= std::uint64_t{bytes[at + i]} << (8 * i);
  return value;
}

// A length-prefixed text at the start of a file.
struct PrefixedText {
  std::uint64_t textAt;
  std::uint64_t length;
  bool longForm;  // announced by 255 or 65535: never a signature
};

// The text's place, or nothing when the file ends within its length or its
// text. Every length is checked against the bytes there are before a byte
// of the text is looked at.
std::optional<PrefixedText> prefixedText(Bytes bytes) {
  std::uint64_t at = 0;
  auto length = littleEndian(bytes, at, 1);
  if (!length) return std::nullopt;
  at += 1;
  const bool longForm = *length == kLength16;
  if (longForm) {
    length = littleEndian(bytes, at, 2);
    if (!length) return std::nullopt;
    at += 2;
    if (*length == kLength32) {
      length = littleEndian(bytes, at, 4);
      if (!length) return std::nullopt;
      at += 4;
    }
  }
  if (*length > bytes.size() - at) return std::nullopt;
  return PrefixedText{at, *length, longForm};
}

// Where the contents begin when the file starts with `signature`; nothing
// for any other text or a file that ends within it.
std::optional<std::size_t> afterSignature(Bytes bytes, std::string_view signature) {
  const auto text = prefixedText(bytes);
  if (!text || text->longForm || text->length != signature.size()) return std::nullopt;
  const auto start = bytes.begin() + static_cast<std::ptrdiff_t>(text->textAt);
  if (!std::equal(signature.begin(), signature.end(), start)) return std::nullopt;
  return static_cast<std::size_t>(text->textAt + text->length);
}

bool readsUnsignedFiles(int modelCode) {
  return ProductVariant::forModel(modelCode).modelCode == 7304;
}

// A signed file cut short can happen to have the unsigned size; its first
// bytes are then a signature where the unsigned form has a name or a block.
bool startsWithAnySignature(Bytes bytes) {
  return afterSignature(bytes, signature(7304)) || afterSignature(bytes, signature(736));
}

// The file's contents without its signature, exactly `unsignedSize` bytes;
// nothing when the file is refused.
std::optional<Bytes> contents(Bytes bytes, int modelCode, std::size_t unsignedSize) {
  if (bytes.size() == unsignedSize) {
    if (!readsUnsignedFiles(modelCode) || startsWithAnySignature(bytes)) return std::nullopt;
    return bytes;
  }
  const auto start = afterSignature(bytes, signature(modelCode));
  if (!start || bytes.size() - *start != unsignedSize) return std::nullopt;
  return bytes.subspan(*start);
}

std::vector<std::uint8_t> signedHeader(int modelCode) {
  const std::string_view text = signature(modelCode);
  std::vector<std::uint8_t> out(1 + text.size());
  out[0] = static_cast<std::uint8_t>(text.size());
  std::copy(text.begin(), text.end(), out.begin() + 1);
  return out;
}

// Copies the next `to.size()` bytes of `from` into `to` and moves past them.
void take(Bytes& from, std::span<std::uint8_t> to) {
  std::copy_n(from.begin(), to.size(), to.begin());
  from = from.subspan(to.size());
}

template <class Range>
void append(std::vector<std::uint8_t>& out, const Range& bytes) {
  out.insert(out.end(), std::begin(bytes), std::end(bytes));
}

// A program file goes to other people and sites; the device's password
// stays behind. Six blanks, the device's own "no password", stand where the
// file would hold it. No load ever takes those bytes.
void blankPassword(std::span<std::uint8_t> passwordBytes) {
  std::ranges::fill(passwordBytes, kBlank);
}

// Two neighbouring bytes of a double-byte Chinese character.
bool holdsChineseCharacter(Bytes bytes) {
  const auto high = [](std::uint8_t b) { return b >= 0xA1 && b <= 0xFE; };
  return std::adjacent_find(bytes.begin(), bytes.end(), [&](std::uint8_t a, std::uint8_t b) {
           return high(a) && high(b);
         }) != bytes.end();
}

}  // namespace

std::string_view signature(int modelCode) {
  return ProductVariant::forModel(modelCode).modelCode == 736 ? "736.1" : "7304.1";
}

std::vector<std::uint8_t> writeOne(const ParameterImage& image, int modelCode) {
  OneProgram state = image.read([](const ImageData& d) {
    return OneProgram{d.currentProgramName, d.edited.inputs, d.edited.outputs, d.locks.bytes};
  });
  blankPassword(std::span(state.locks).subspan(LockState::kPasswordOffset, LockState::kPasswordLength));
  std::vector<std::uint8_t> out = signedHeader(modelCode);
  append(out, state.name);
  for (const InputBlock& block : state.inputs) append(out, block);
  for (const OutputBlock& block : state.outputs) append(out, block);
  append(out, state.locks);
  return out;
}

std::vector<std::uint8_t> writeAll(const ParameterImage& image, int modelCode) {
  std::vector<std::uint8_t> out = signedHeader(modelCode);
  out.reserve(out.size() + kUnsignedAllSize);
  return image.read([&](const ImageData& d) {
    for (ProgramRecord record : d.programs) {
      blankPassword(recordLockPacket(record).subspan(kPacketPassword));
      append(out, record);
    }
    return std::move(out);
  });
}

std::optional<OneProgram> readOne(std::span<const std::uint8_t> bytes, int modelCode) {
  auto from = contents(bytes, modelCode, kUnsignedOneSize);
  if (!from) return std::nullopt;
  OneProgram file;
  take(*from, file.name);
  for (InputBlock& block : file.inputs) take(*from, block);
  for (OutputBlock& block : file.outputs) take(*from, block);
  take(*from, file.locks);
  return file;
}

std::unique_ptr<ProgramStore> readAll(std::span<const std::uint8_t> bytes, int modelCode) {
  auto from = contents(bytes, modelCode, kUnsignedAllSize);
  if (!from) return nullptr;
  auto store = std::make_unique<ProgramStore>();
  for (ProgramRecord& record : *store) take(*from, record);
  return store;
}

void applyOne(ParameterImage& image, const OneProgram& file) {
  image.modify([&](ImageData& d) {
    d.currentProgramName = file.name;
    d.device.inputs = file.inputs;
    d.device.outputs = file.outputs;
    // A lock byte is a flag: whatever a file holds there, a byte other
    // than zero locks, and the image keeps it as 1.
    const auto flag = [](std::uint8_t b) { return static_cast<std::uint8_t>(b != 0); };
    std::transform(file.locks.begin(), file.locks.begin() + kFunctionLocks, d.locks.bytes.begin(), flag);
    std::transform(file.locks.begin(), file.locks.begin() + kFunctionLocks, d.locks.deviceLock.begin(), flag);
  });
  // The restore takes the image's lock itself (it is not recursive), so it
  // cannot run inside the step above and follows it. Nothing can come
  // between them that matters: the only code that moves edited rows into
  // the device copy is the worker's row comparison, which runs under the
  // protocol lock that a file load holds throughout (and does not run at
  // all without a link); and the restore overwrites every edited block, so
  // an edit made in between is replaced as one made before the load would be.
  image.restoreFromDeviceCopy();
}

void applyAll(ParameterImage& image, const ProgramStore& store) {
  image.modify([&](ImageData& d) { d.programs = store; });
}

std::array<std::uint8_t, kProgramNameBytes> nameFromFileName(std::string_view fileName) {
  std::array<std::uint8_t, kProgramNameBytes> name{};
  const std::vector<std::uint8_t> gbk = NameField::TextToField(fileName, NameField::FieldBytes(fileName));
  if (gbk.size() <= kExtensionBytes) return name;
  const std::size_t n = std::min(gbk.size() - kExtensionBytes, kNameFromFileBytes);
  if (holdsChineseCharacter(std::span(gbk).first(n))) {
    std::copy(kChineseFileName.begin(), kChineseFileName.end(), name.begin());
    return name;
  }
  // Whole characters only: a double-byte character of another range cut by
  // the limit would leave half a character in the name.
  const std::vector<std::uint8_t> head = NameField::TextToField(fileName, n);
  std::copy(head.begin(), head.end(), name.begin());
  return name;
}

std::optional<std::vector<std::uint8_t>> readBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in.is_open()) return std::nullopt;
  std::vector<std::uint8_t> bytes(kLargestFile + 1);
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  // A short read sets eof and fail; only bad means the bytes could not be read
  // (a folder, a device error).
  if (in.bad()) return std::nullopt;
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  return bytes;
}

AtomicFile::Result writeBytes(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
  return AtomicFile::write(path, bytes);
}

}  // namespace orvane::ProgramFile
