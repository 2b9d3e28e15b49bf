#include "model/ParameterImage.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <type_traits>

#include "model/ChannelDefaults.h"

namespace orvane {

namespace {

// The same bytes in two arrays of plain bytes (such as all blocks of a side).
template <class Blocks>
bool sameBytes(const Blocks& a, const Blocks& b) {
  static_assert(std::has_unique_object_representations_v<Blocks>, "compared byte for byte");
  return std::memcmp(a.data(), b.data(), sizeof a) == 0;
}

constexpr int kClassCount = 3;
constexpr int kTopClassLevel = 80;
constexpr std::array<std::uint8_t, kClassCount> kDefaultClassLevels{0, 40, 80};

void checkChannel(int channel) {
  if (channel < 0 || channel >= kChannels) throw std::out_of_range("channel number");
}

void checkRow(Side side, int row) {
  if (row < 0 || row >= rowCount(side)) throw std::out_of_range("row number");
}

// Byte ranges [first, last) of a block that a link-group join copies.
constexpr std::array<ByteRange, 4> kInputCopyRanges{{
    {9, 16},    // Polarity, Delay, Gain, Allvolume
    {17, 23},   // All_Feedback .. NoiseGate
    {32, 47},   // AGC and compressor
    {48, 120},  // crossover pair and EQ bands
}};
constexpr std::array<ByteRange, 4> kOutputCopyRanges{{
    {9, 16},    // Polarity, Delay, Gain, Allvolume
    {16, 22},   // limiter
    {24, 31},   // compressor
    {32, 112},  // crossover pair and EQ bands
}};

void copyRanges(std::span<const ByteRange> ranges, std::span<const std::uint8_t> from,
                std::span<std::uint8_t> to) {
  for (const ByteRange& r : ranges)
    std::copy(from.begin() + r.first, from.begin() + r.last, to.begin() + r.first);
}

}  // namespace

ParameterImage::ParameterImage() {
  initialise();
}

void ParameterImage::setListener(ImageListener* listener) {
  std::unique_lock lock(listenerMutex_);
  listener_ = listener;
}

int ParameterImage::field(Side side, int channel, Field f, Copy copy) const {
  checkChannel(channel);
  std::lock_guard lock(mutex_);
  return readField(data_.blocks(copy == Copy::Device).block(side, channel), f);
}

void ParameterImage::setField(Side side, int channel, Field f, int value, Copy copy) {
  checkChannel(channel);
  std::lock_guard lock(mutex_);
  writeField(data_.blocks(copy == Copy::Device).block(side, channel), f, value);
}

void ParameterImage::setFieldOnAllChannels(Side side, Field f, int value) {
  std::lock_guard lock(mutex_);
  for (int channel = 0; channel < kChannels; ++channel)
    writeField(data_.edited.block(side, channel), f, value);
}

EqBand ParameterImage::band(Side side, int channel, int band, Copy copy) const {
  checkChannel(channel);
  if (band < 0 || band >= bandCount(side)) throw std::out_of_range("band number");
  std::lock_guard lock(mutex_);
  return EqBand::read(data_.blocks(copy == Copy::Device).block(side, channel), side, band);
}

void ParameterImage::setBand(Side side, int channel, int band, const EqBand& record) {
  checkChannel(channel);
  if (band < 0 || band >= bandCount(side)) throw std::out_of_range("band number");
  std::lock_guard lock(mutex_);
  record.write(data_.edited.block(side, channel), side, band);
}

CrossoverPair ParameterImage::crossover(Side side, int channel, Copy copy) const {
  checkChannel(channel);
  std::lock_guard lock(mutex_);
  return CrossoverPair::read(data_.blocks(copy == Copy::Device).block(side, channel), side);
}

void ParameterImage::setCrossover(Side side, int channel, const CrossoverPair& record) {
  checkChannel(channel);
  std::lock_guard lock(mutex_);
  record.write(data_.edited.block(side, channel), side);
}

Row ParameterImage::row(Side side, int channel, int row, Copy copy) const {
  checkChannel(channel);
  checkRow(side, row);
  std::lock_guard lock(mutex_);
  Row out{};
  const auto bytes = data_.blocks(copy == Copy::Device).row(side, channel, row);
  std::copy(bytes.begin(), bytes.end(), out.begin());
  return out;
}

void ParameterImage::readBlock(Side side, int channel, Copy copy, std::span<std::uint8_t> out) const {
  checkChannel(channel);
  if (out.size() != blockSize(side)) throw std::length_error("block size");
  std::lock_guard lock(mutex_);
  const auto bytes = data_.blocks(copy == Copy::Device).block(side, channel);
  std::copy(bytes.begin(), bytes.end(), out.begin());
}

void ParameterImage::writeBlock(Side side, int channel, Copy copy, std::span<const std::uint8_t> bytes) {
  checkChannel(channel);
  if (bytes.size() != blockSize(side)) throw std::length_error("block size");
  std::lock_guard lock(mutex_);
  std::copy(bytes.begin(), bytes.end(), data_.blocks(copy == Copy::Device).block(side, channel).begin());
}

void ParameterImage::initialise() {
  {
    std::lock_guard lock(mutex_);
    ImageData& d = data_;
    d.edited = BlockSet{};
    d.device = BlockSet{};
    for (int n = 0; n < kChannels; ++n) {
      ChannelDefaults::applyInput(d.edited.block(Side::Input, n), n);
      ChannelDefaults::applyOutput(d.edited.block(Side::Output, n), n);
    }
    d.editor = EditorState{};
    d.system.applyStartupDefaults();
    d.locks.clear();
    d.currentProgramName.fill(0);
    std::memcpy(d.currentProgramName.data(), "NULL", 4);
    d.currentProgramNumber = 0;
    d.connection.fillIdTable();
    d.connection.linkType = LinkType::None;
    d.connection.deviceId = 0;
  }
  notifyAllReloaded();
}

void ParameterImage::disconnectReset() {
  {
    std::lock_guard lock(mutex_);
    ImageData& d = data_;
    for (Side side : {Side::Input, Side::Output})
      for (int n = 0; n < kChannels; ++n) ChannelDefaults::apply(side, d.edited.block(side, n), n);
    d.editor.resetChannelState();
    d.system.applyDisconnectDefaults();
    d.locks.clear();
    d.connection.linkType = LinkType::None;
  }
  notifyAllReloaded();
}

void ParameterImage::takeDeviceSnapshot() {
  std::lock_guard lock(mutex_);
  data_.device = data_.edited;
}

void ParameterImage::restoreFromDeviceCopy() {
  {
    std::lock_guard lock(mutex_);
    ImageData& d = data_;
    d.edited.inputs = d.device.inputs;
    for (int n = 0; n < kChannels; ++n) rebuildCrosspointMemo(d, n);
    normaliseClassLevels(d);
    d.edited.outputs = d.device.outputs;
    d.editor.inputMasterMemo =
        EditorState::memoFor(readField(d.edited.block(Side::Input, 0), InputField::Allvolume));
    d.editor.outputMasterMemo =
        EditorState::memoFor(readField(d.edited.block(Side::Output, 0), OutputField::Allvolume));
  }
  notifyAllReloaded();
}

void ParameterImage::copyInputChannel(int source, int destination) {
  copyChannel(Side::Input, kInputCopyRanges, source, destination);
}

void ParameterImage::copyOutputChannel(int source, int destination) {
  copyChannel(Side::Output, kOutputCopyRanges, source, destination);
}

void ParameterImage::copyChannel(Side side, std::span<const ByteRange> ranges, int source, int destination) {
  checkChannel(source);
  checkChannel(destination);
  {
    std::lock_guard lock(mutex_);
    auto to = data_.edited.block(side, destination);
    copyRanges(ranges, data_.edited.block(side, source), to);
    std::copy(to.begin(), to.end(), data_.device.block(side, destination).begin());
    if (side == Side::Input) rebuildCrosspointMemo(data_, destination);
  }
  notifyCopied(side, source, destination);
}

std::optional<RowWrite> ParameterImage::takeNextChangedRow(Side side) {
  std::lock_guard lock(mutex_);
  return takeChangedRowLocked(side);
}

std::optional<RowWrite> ParameterImage::takeNextChangedRow() {
  std::lock_guard lock(mutex_);
  if (auto input = takeChangedRowLocked(Side::Input)) return input;
  return takeChangedRowLocked(Side::Output);
}

// Called with the lock held. Where the two copies are equal no row differs,
// and only a lowered compressor row can still be due. The idle link asks on
// every exchange, so equal copies of a side cost one comparison.
std::optional<RowWrite> ParameterImage::takeChangedRowLocked(Side side) {
  const bool sideEqual = side == Side::Input ? sameBytes(data_.edited.inputs, data_.device.inputs)
                                             : sameBytes(data_.edited.outputs, data_.device.outputs);
  for (int channel = 0; channel < kChannels; ++channel) {
    const auto editedBlock = data_.edited.block(side, channel);
    if (sideEqual ||
        std::equal(editedBlock.begin(), editedBlock.end(), data_.device.block(side, channel).begin())) {
      if (side == Side::Output)
        if (auto lowered = takeLoweredCompressorRow(channel)) return lowered;
      continue;
    }
    for (int r = 0; r < rowCount(side); ++r) {
      if (side == Side::Output && (r == 2 || r == 3)) {
        if (auto lowered = takeLoweredCompressorRow(channel)) return lowered;
      }
      auto edited = data_.edited.row(side, channel, r);
      auto device = data_.device.row(side, channel, r);
      if (std::equal(edited.begin(), edited.end(), device.begin())) continue;
      std::copy(edited.begin(), edited.end(), device.begin());
      RowWrite write{side, channel, r, {}};
      std::copy(edited.begin(), edited.end(), write.bytes.begin());
      return write;
    }
  }
  return std::nullopt;
}

// Called with the lock held.
std::optional<RowWrite> ParameterImage::takeLoweredCompressorRow(int channel) {
  const int threshold = readField(data_.edited.block(Side::Output, channel), OutputField::Lim_Threshold);
  auto device = data_.device.block(Side::Output, channel);
  if (readField(device, OutputField::Comp_Level) <= threshold) return std::nullopt;
  writeField(device, OutputField::Comp_Level, threshold);
  constexpr int kCompressorRow = OutputField::Comp_Level.row();
  RowWrite write{Side::Output, channel, kCompressorRow, {}};
  const auto bytes = data_.device.row(Side::Output, channel, kCompressorRow);
  std::copy(bytes.begin(), bytes.end(), write.bytes.begin());
  return write;
}

// Called with the lock held. Inputs of one class share one level; class 2 is
// always 80 and class 1 never lies below class 0.
void ParameterImage::normaliseClassLevels(ImageData& data) {
  auto& levels = data.editor.classLevels;
  levels = kDefaultClassLevels;
  auto inClass = [](int cls) { return cls >= 0 && cls < kClassCount; };
  for (int n = 0; n < kChannels; ++n) {
    const auto block = data.edited.block(Side::Input, n);
    const int cls = readField(block, InputField::LevelClass);
    if (inClass(cls))
      levels[static_cast<std::size_t>(cls)] =
          static_cast<std::uint8_t>(readField(block, InputField::ClassLevel));
  }
  levels[2] = kTopClassLevel;
  levels[1] = std::max(levels[1], levels[0]);
  for (int n = 0; n < kChannels; ++n) {
    const auto block = data.edited.block(Side::Input, n);
    const int cls = readField(block, InputField::LevelClass);
    if (inClass(cls)) writeField(block, InputField::ClassLevel, levels[static_cast<std::size_t>(cls)]);
  }
}

// Called with the lock held. A crosspoint that is on remembers its level; one
// that is off comes back at 0 dB.
void ParameterImage::rebuildCrosspointMemo(ImageData& data, int input) {
  const auto block = data.edited.block(Side::Input, input);
  auto& memo = data.editor.crosspointMemo[static_cast<std::size_t>(input)];
  for (int output = 0; output < kChannels; ++output) {
    const int level = readField(block, InputField::mix(output));
    memo[static_cast<std::size_t>(output)] =
        static_cast<std::uint8_t>(level != 0 ? level : EditorState::kMemoLevel);
  }
}

void ParameterImage::notifyAllReloaded() {
  std::shared_lock lock(listenerMutex_);
  if (!listener_) return;
  for (Side side : {Side::Input, Side::Output})
    for (int n = 0; n < kChannels; ++n) listener_->channelReloaded(side, n);
}

void ParameterImage::notifyCopied(Side side, int source, int destination) {
  std::shared_lock lock(listenerMutex_);
  if (listener_) listener_->channelCopied(side, source, destination);
}

}  // namespace orvane
