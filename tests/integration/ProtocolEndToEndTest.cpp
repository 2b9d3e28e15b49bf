// The editor's protocol core against a simulated device, through the
// in-process link: the full read after connecting, edits reaching the
// device, the round trips of device programs, and a misbehaving device.
// Every test starts from a device whose whole state differs from the
// factory's and from the editor's start-up values, so that nothing can pass
// by matching defaults.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <iterator>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "link/Command.h"
#include "model/ChannelDefaults.h"
#include "model/ChannelRecords.h"
#include "sim/DeviceResponder.h"
#include "sim/InProcessTransport.h"
#include "support/RecordingNotifier.h"
#include "support/SameBlocks.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;

// Long enough for any exchange sequence here, even under ThreadSanitizer;
// nothing is measured against it.
constexpr auto kPatience = std::chrono::milliseconds(20s);

// Seeds of the distinctive data: the device's own state, the programs the
// editor stores one by one and the program set it stores at once.
constexpr int kWorkingSeed = 40;
constexpr int kStoredSeed = 100;
constexpr int kProgramSetSeed = 200;

constexpr std::uint8_t kWrite = static_cast<std::uint8_t>(FrameCode::CmdWrite);
constexpr std::uint8_t kRead = static_cast<std::uint8_t>(FrameCode::CmdRead);

// --- distinctive device data ---------------------------------------------------

std::string twoDigits(int n) {
  return {static_cast<char>('0' + n / 10 % 10), static_cast<char>('0' + n % 10)};
}

ProgramName nameBytes(std::string_view text) {
  ProgramName name{};
  std::copy_n(text.begin(), std::min(text.size(), name.size()), name.begin());
  return name;
}

void writeChannelName(std::span<std::uint8_t> block, char side, int seed, int channel) {
  const std::string name = side + twoDigits(seed) + "-" + std::to_string(channel);
  std::fill_n(block.begin(), kNameBytes, std::uint8_t{0});
  std::copy(name.begin(), name.end(), block.begin());
}

// Factory blocks with names, gains, delays, mutes, a crosspoint and an EQ
// band changed by `seed`. Level classes and dynamics keep their factory
// values, so the editor takes the blocks exactly as they are.
BlockSet distinctiveBlocks(int seed) {
  BlockSet blocks;
  for (int channel = 0; channel < kChannels; ++channel) {
    const auto input = blocks.block(Side::Input, channel);
    ChannelDefaults::applyInput(input, channel);
    writeChannelName(input, 'I', seed, channel);
    writeField(input, InputField::Gain, 200 + 3 * seed + channel);
    writeField(input, InputField::Delay, 40 * seed + channel);
    writeField(input, InputField::Mute, (seed + channel) % 2);
    writeField(input, InputField::mix((channel + seed) % kChannels), 30 + seed % 90);
    EqBand inputBand = EqBand::read(input, Side::Input, channel);
    inputBand.Gain = 300 + 2 * seed + channel;
    inputBand.write(input, Side::Input, channel);

    const auto output = blocks.block(Side::Output, channel);
    ChannelDefaults::applyOutput(output, channel);
    writeChannelName(output, 'O', seed, channel);
    writeField(output, OutputField::Gain, 250 + 2 * seed + channel);
    writeField(output, OutputField::Delay, 30 * seed + 2 * channel);
    writeField(output, OutputField::Mute, (seed + channel + 1) % 2);
    EqBand outputBand = EqBand::read(output, Side::Output, channel + 1);
    outputBand.Q = 10 + seed % 50;
    outputBand.write(output, Side::Output, channel + 1);
  }
  return blocks;
}

BlockSet blocksOf(const ProgramRecord& record) {
  BlockSet blocks;
  for (Side side : {Side::Input, Side::Output})
    for (int channel = 0; channel < kChannels; ++channel)
      std::ranges::copy(recordBlock(record, side, channel), blocks.block(side, channel).begin());
  return blocks;
}

void putBlocks(ProgramRecord& record, const BlockSet& blocks) {
  for (Side side : {Side::Input, Side::Output})
    for (int channel = 0; channel < kChannels; ++channel)
      std::ranges::copy(blocks.block(side, channel), recordBlock(record, side, channel).begin());
}

ProgramName nameOf(const ProgramRecord& record) {
  ProgramName name{};
  std::ranges::copy(recordName(record), name.begin());
  return name;
}

LockPacketBytes lockPacketOf(const ProgramRecord& record) {
  LockPacketBytes packet{};
  std::ranges::copy(recordLockPacket(record), packet.begin());
  return packet;
}

// Flags without a function stay clear, as the lock dialog leaves them.
constexpr std::array<std::uint8_t, 6> kUsedFlagBits{0xFF, 0x7F, 0xFF, 0x03, 0xFF, 0x01};

// Function and system locks and a six-character password, all by `seed`.
LockPacketBytes lockPacketFor(int seed) {
  LockPacketBytes packet{};
  for (std::size_t i = 0; i < kUsedFlagBits.size(); ++i)
    packet[i] = static_cast<std::uint8_t>((37 * seed + 59 * static_cast<int>(i) + 11) & kUsedFlagBits[i]);
  const std::string password = "pw" + twoDigits(seed) + "zq";
  std::ranges::copy(password, packet.begin() + 6);
  return packet;
}

bool packetFlag(const LockPacketBytes& packet, int flag) {
  return ((packet[static_cast<std::size_t>(flag / 8)] >> (flag % 8)) & 1) != 0;
}

// The editor's lock flags and password as `packet` holds them.
void setLocks(LockState& locks, const LockPacketBytes& packet) {
  for (int flag = 0; flag < static_cast<int>(LockState::kFlagCount); ++flag)
    locks.setLocked(flag, packetFlag(packet, flag));
  locks.password.assign(packet.begin() + 6, packet.end());
}

ProgramRecord distinctiveRecord(int seed, std::string_view name) {
  ProgramRecord record{};
  putBlocks(record, distinctiveBlocks(seed));
  std::ranges::copy(nameBytes(name), recordName(record).begin());
  std::ranges::copy(lockPacketFor(seed), recordLockPacket(record).begin());
  return record;
}

void makeDistinctive(DeviceData& d) {
  d.working = distinctiveBlocks(kWorkingSeed);
  d.currentProgramName = nameBytes("Main hall live");
  for (int p = 1; p <= kPrograms; ++p) d.program(p) = distinctiveRecord(p, "Device prog " + twoDigits(p));
  d.workingLocks = lockPacketFor(kWorkingSeed);
  d.deviceLockSet = lockPacketFor(kWorkingSeed + 1);
  for (std::size_t i = 0; i < d.setup.size(); ++i) d.setup[i] = static_cast<std::uint8_t>(7 * i + 3);
  for (std::size_t i = 0; i < d.extended.size(); ++i) d.extended[i] = static_cast<std::uint8_t>(13 * i + 1);
  d.startupProgram = 17;
  const std::string_view network = "Orvane rig 7";
  d.networkName.assign(network.begin(), network.end());
  const std::string_view firmware = "J-DV1.37";
  std::ranges::copy(firmware, d.firmwareVersion.begin());
  for (std::size_t i = 0; i < d.levels.size(); ++i) d.levels[i] = static_cast<std::uint8_t>(9 * i + 2);
}

// --- what the device saw ---------------------------------------------------------

struct Request {
  std::uint8_t cmd, value, block, item, row;
  std::vector<std::uint8_t> payload;

  bool isLevelPoll() const {
    return cmd == kRead && block == BlockCode::System && item == SystemItem::Levels;
  }
  bool isRowWrite() const {
    return cmd == kWrite && (block == BlockCode::Input || block == BlockCode::Output) && payload.size() == 8;
  }
  bool sameHeader(const Request& other) const {
    return cmd == other.cmd && value == other.value && block == other.block && item == other.item &&
           row == other.row;
  }
};

using Requests = std::vector<Request>;

// Every request the device heard, in order, for the test thread to wait on.
class RequestLog {
 public:
  void add(const SendData& frame) {
    {
      std::lock_guard lock(mutex_);
      requests_.push_back({frame.cmd(), frame.value(), frame.block(), frame.item(), frame.row(),
                           std::vector<std::uint8_t>(frame.payload().begin(), frame.payload().end())});
    }
    changed_.notify_all();
  }
  Requests all() const {
    std::lock_guard lock(mutex_);
    return requests_;
  }
  std::size_t size() const {
    std::lock_guard lock(mutex_);
    return requests_.size();
  }
  bool waitUntil(const std::function<bool(const Requests&)>& done) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, kPatience, [&] { return done(requests_); });
  }

 private:
  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  Requests requests_;
};

// The last frame of a 16-block transfer of `program`.
std::function<bool(const Request&)> lastBlockOf(std::uint8_t cmd, int program, int row) {
  return [=](const Request& r) {
    return r.cmd == cmd && r.block == BlockCode::Output && r.item == kChannels - 1 && r.value == program &&
           r.row == row;
  };
}

class ProtocolEndToEndTest : public ::testing::Test {
 protected:
  ProtocolEndToEndTest() {
    device.modify(makeDistinctive);
    responder.setRequestObserver([this](const SendData& request) { log.add(request); });
    command.attachTransport(LinkType::Usb, std::make_unique<InProcessTransport>(
                                               command.linkContext(LinkType::Usb), responder, LinkType::Usb));
  }
  void TearDown() override { command.Shutdown(); }

  // The main window's connection sequence: open the link and queue the full
  // read under the protocol lock, then let the worker go.
  void connectAndQueueFullRead() {
    {
      std::lock_guard lock(command.protocolLock());
      ASSERT_TRUE(command.OpenLink(LinkType::Usb, ""));
      image.modify([](ImageData& d) { d.connection.linkType = LinkType::Usb; });
      command.levelRequest().request();
      command.ReadDeviceSettings();
      ASSERT_TRUE(command.RecallProgram(0));
    }
    command.WakeWorker();
  }

  void connectAndReadDevice() {
    const int readsBefore = notifier.count(Message::ChannelDataRead);
    ASSERT_NO_FATAL_FAILURE(connectAndQueueFullRead());
    ASSERT_TRUE(notifier.waitFor(Message::ChannelDataRead, readsBefore + 1, kPatience));
  }

  // The link closed and forgotten, as on disconnecting or after a lost link.
  void disconnect() {
    command.CloseLink(LinkType::Usb);
    image.modify([](ImageData& d) { d.connection.linkType = LinkType::None; });
  }

  // Waits until the device has answered every frame up to the first one
  // from `from` on that `isLast` picks. The worker polls the levels only
  // once the queue is empty and every edited row has gone, and only after
  // the reply to the frame before, so a poll after that frame shows that
  // the device has taken everything.
  bool waitUntilAnsweredThrough(std::size_t from, const std::function<bool(const Request&)>& isLast) {
    return log.waitUntil([&](const Requests& seen) {
      if (seen.size() <= from) return false;
      const auto last = std::find_if(seen.begin() + static_cast<std::ptrdiff_t>(from), seen.end(), isLast);
      return last != seen.end() && std::any_of(last + 1, seen.end(), std::mem_fn(&Request::isLevelPoll));
    });
  }

  BlockSet edited() const {
    return image.read([](const ImageData& d) { return d.edited; });
  }
  BlockSet deviceWorking() const {
    return device.read([](const DeviceData& d) { return d.working; });
  }

  // Everything the full read brings over, compared with the device.
  void expectEditorMirrorsDevice() {
    const DeviceData expected = device.read([](const DeviceData& d) { return d; });
    const ImageData actual = image.read([](const ImageData& d) { return d; });
    EXPECT_TRUE(sameBlocks(actual.edited, expected.working));
    EXPECT_TRUE(sameBlocks(actual.device, expected.working));
    EXPECT_EQ(actual.system.setup, expected.setup);
    EXPECT_EQ(actual.system.extended, expected.extended);
    EXPECT_EQ(actual.system.startupProgram, expected.startupProgram);
    EXPECT_EQ(actual.system.networkName,
              std::string(expected.networkName.begin(), expected.networkName.end()));
    EXPECT_EQ(actual.currentProgramName, expected.currentProgramName);
    for (int p = 1; p <= kPrograms; ++p)
      EXPECT_EQ(nameOf(actual.programs[p - 1]), nameOf(expected.program(p))) << "program " << p;
    EXPECT_EQ(actual.status.firmwareVersion, expected.firmwareVersion);

    // Program 0 brings every flag and the password, program 31 the record
    // of function locks that came with the device's data.
    for (int flag = 0; flag < static_cast<int>(LockState::kFlagCount); ++flag) {
      EXPECT_EQ(actual.locks.isLocked(flag), packetFlag(expected.workingLocks, flag)) << "flag " << flag;
      const bool deviceLocked = flag < 32 && packetFlag(expected.deviceLockSet, flag);
      EXPECT_EQ(actual.locks.deviceLock[static_cast<std::size_t>(flag)] != 0, deviceLocked)
          << "device lock " << flag;
    }
    EXPECT_EQ(actual.locks.password, "pw" + twoDigits(kWorkingSeed) + "zq");
  }

  ParameterImage image;
  RecordingNotifier notifier;
  DeviceState device;
  RequestLog log;
  DeviceResponder responder{device};
  Command command{image, notifier};
};

// --- connecting -------------------------------------------------------------------

TEST_F(ProtocolEndToEndTest, TheFullReadAfterConnectingMirrorsTheDevice) {
  connectAndReadDevice();
  ASSERT_TRUE(notifier.waitFor(Message::FirmwareVersionRead, 1, kPatience));
  expectEditorMirrorsDevice();

  // With the check passed the level polls are taken again.
  ASSERT_TRUE(notifier.waitFor(Message::LevelsRead, 1, kPatience));
  const LevelBytes levels = device.read([](const DeviceData& d) { return d.levels; });
  const DeviceStatus status = image.read([](const ImageData& d) { return d.status; });
  EXPECT_TRUE(std::equal(status.inputLevels.begin(), status.inputLevels.end(), levels.begin()));
  EXPECT_TRUE(std::equal(status.outputLevels.begin(), status.outputLevels.end(), levels.begin() + 8));

  // The edited image came from the device: the worker finds nothing to write.
  const std::size_t from = log.size();
  ASSERT_TRUE(log.waitUntil([&](const Requests& seen) { return seen.size() >= from + 10; }));
  const Requests after = log.all();
  EXPECT_TRUE(std::none_of(after.begin() + static_cast<std::ptrdiff_t>(from), after.end(),
                           std::mem_fn(&Request::isRowWrite)));
  EXPECT_TRUE(sameBlocks(deviceWorking(), distinctiveBlocks(kWorkingSeed)));
}

TEST_F(ProtocolEndToEndTest, EditedRowsReachTheDeviceAsThreeRowWrites) {
  connectAndReadDevice();
  const std::size_t from = log.size();

  // As a page edits: straight into the edited image, no lock, no request.
  image.setField(Side::Input, 2, InputField::Gain, 123);
  EqBand band = image.band(Side::Input, 6, 3);
  band.Gain = 250;
  band.Q = 40;
  image.setBand(Side::Input, 6, 3, band);
  image.setField(Side::Output, 4, OutputField::Delay, 4321);

  // Three writes, then enough polls to show that nothing else follows.
  const auto writesThenPolls = [&](const Requests& seen) {
    int writes = 0, pollsAfterLastWrite = 0;
    for (std::size_t i = from; i < seen.size(); ++i) {
      if (seen[i].isRowWrite()) {
        ++writes;
        pollsAfterLastWrite = 0;
      } else if (seen[i].isLevelPoll() && writes >= 3) {
        ++pollsAfterLastWrite;
      }
    }
    return writes >= 3 && pollsAfterLastWrite >= 5;
  };
  ASSERT_TRUE(log.waitUntil(writesThenPolls));

  Requests writes;
  const Requests seen = log.all();
  std::copy_if(seen.begin() + static_cast<std::ptrdiff_t>(from), seen.end(), std::back_inserter(writes),
               std::mem_fn(&Request::isRowWrite));
  ASSERT_EQ(writes.size(), 3u);
  const Row gainRow = image.row(Side::Input, 2, 1);
  const Row bandRow = image.row(Side::Input, 6, 10);
  const Row delayRow = image.row(Side::Output, 4, 1);
  EXPECT_TRUE(writes[0].sameHeader({kWrite, 0, BlockCode::Input, 2, 1, {}}));
  EXPECT_EQ(writes[0].payload, std::vector<std::uint8_t>(gainRow.begin(), gainRow.end()));
  EXPECT_TRUE(writes[1].sameHeader({kWrite, 0, BlockCode::Input, 6, 10, {}}));
  EXPECT_EQ(writes[1].payload, std::vector<std::uint8_t>(bandRow.begin(), bandRow.end()));
  EXPECT_TRUE(writes[2].sameHeader({kWrite, 0, BlockCode::Output, 4, 1, {}}));
  EXPECT_EQ(writes[2].payload, std::vector<std::uint8_t>(delayRow.begin(), delayRow.end()));

  EXPECT_TRUE(sameBlocks(deviceWorking(), edited()));
  EXPECT_EQ(readField(deviceWorking().block(Side::Output, 4), OutputField::Delay), 4321);
}

// --- device programs --------------------------------------------------------------

TEST_F(ProtocolEndToEndTest, EveryProgramMakesTheRoundTripThroughTheDevice) {
  connectAndReadDevice();

  // The program manager's Save: the edits, the name in the program record
  // and as the current name, the lock flags, then StoreProgram.
  std::array<ProgramRecord, kPrograms> stored{};
  for (int p = 1; p <= kPrograms; ++p) {
    const ProgramRecord record = distinctiveRecord(kStoredSeed + p, "Stored " + twoDigits(p));
    stored[p - 1] = record;
    const BlockSet edits = blocksOf(record);
    const std::size_t from = log.size();
    for (Side side : {Side::Input, Side::Output})
      for (int channel = 0; channel < kChannels; ++channel)
        image.writeBlock(side, channel, Copy::Edited, edits.block(side, channel));
    image.modify([&](ImageData& d) {
      std::ranges::copy(recordName(record), recordName(d.programs[p - 1]).begin());
      std::ranges::copy(recordName(record), d.currentProgramName.begin());
      d.currentProgramNumber = p;
      setLocks(d.locks, lockPacketOf(record));
    });
    ASSERT_TRUE(command.StoreProgram(p));
    ASSERT_TRUE(waitUntilAnsweredThrough(from, lastBlockOf(kWrite, p, 0))) << "program " << p;
    EXPECT_FALSE(notifier.transferStates().back());

    // Storing leaves the editor as it was, and the edits reach the working state too.
    EXPECT_TRUE(sameBlocks(edited(), edits)) << "after storing program " << p;
    EXPECT_TRUE(sameBlocks(deviceWorking(), edits)) << "after storing program " << p;
  }
  // A store is no read: the connection's full read stays the only one announced.
  EXPECT_EQ(notifier.count(Message::ChannelDataRead), 1);
  device.read([&](const DeviceData& d) {
    for (int p = 1; p <= kPrograms; ++p) {
      EXPECT_TRUE(sameBlocks(blocksOf(d.program(p)), blocksOf(stored[p - 1]))) << "program " << p;
      EXPECT_EQ(nameOf(d.program(p)), nameOf(stored[p - 1])) << "program " << p;
      EXPECT_EQ(lockPacketOf(d.program(p)), lockPacketOf(stored[p - 1])) << "program " << p;
    }
  });

  // Reading all programs back fills blocks and lock packets of an emptied
  // program store; names are not part of that read.
  image.modify([](ImageData& d) { d.programs = ProgramStore{}; });
  ASSERT_TRUE(command.ReadAllPrograms());
  ASSERT_TRUE(notifier.waitFor(Message::AllProgramsRead, 1, kPatience));
  const ProgramStore readBack = image.read([](const ImageData& d) { return d.programs; });
  for (int p = 1; p <= kPrograms; ++p) {
    EXPECT_TRUE(sameBlocks(blocksOf(readBack[p - 1]), blocksOf(stored[p - 1]))) << "program " << p;
    EXPECT_EQ(lockPacketOf(readBack[p - 1]), lockPacketOf(stored[p - 1])) << "program " << p;
    EXPECT_EQ(nameOf(readBack[p - 1]), ProgramName{}) << "program " << p;
  }

  // The names come back with the next connection's full read.
  disconnect();
  connectAndReadDevice();
  const ProgramStore named = image.read([](const ImageData& d) { return d.programs; });
  for (int p = 1; p <= kPrograms; ++p)
    EXPECT_EQ(nameOf(named[p - 1]), nameOf(stored[p - 1])) << "program " << p;

  // Recalling a program makes it the device's working state and the edited
  // image, and brings its function locks as locks that came with the data.
  for (int p : {7, 30, 1}) {
    const int readsBefore = notifier.count(Message::ChannelDataRead);
    ASSERT_TRUE(command.RecallProgram(p));
    ASSERT_TRUE(notifier.waitFor(Message::ChannelDataRead, readsBefore + 1, kPatience)) << "program " << p;
    const BlockSet expected = blocksOf(stored[p - 1]);
    EXPECT_TRUE(sameBlocks(edited(), expected)) << "program " << p;
    EXPECT_TRUE(sameBlocks(deviceWorking(), expected)) << "program " << p;
    const LockPacketBytes packet = lockPacketOf(stored[p - 1]);
    const LockState locks = image.read([](const ImageData& d) { return d.locks; });
    for (int flag = 0; flag < 32; ++flag) {
      EXPECT_EQ(locks.isLocked(flag), packetFlag(packet, flag)) << "program " << p << " flag " << flag;
      EXPECT_EQ(locks.deviceLock[static_cast<std::size_t>(flag)] != 0, packetFlag(packet, flag))
          << "program " << p << " flag " << flag;
    }
  }
}

TEST_F(ProtocolEndToEndTest, StoringAllProgramsFillsTheDevicesProgramStore) {
  connectAndReadDevice();
  ProgramStore set{};
  for (int p = 1; p <= kPrograms; ++p)
    set[p - 1] = distinctiveRecord(kProgramSetSeed + p, "Set " + twoDigits(p));
  image.modify([&](ImageData& d) { d.programs = set; });
  const int readsBefore = notifier.count(Message::ChannelDataRead);

  const std::size_t from = log.size();
  ASSERT_TRUE(command.StoreAllPrograms());
  ASSERT_TRUE(waitUntilAnsweredThrough(from, lastBlockOf(kWrite, kPrograms, kProgramStoreRow)));
  EXPECT_FALSE(notifier.transferStates().back());

  device.read([&](const DeviceData& d) {
    for (int p = 1; p <= kPrograms; ++p) {
      EXPECT_TRUE(sameBlocks(blocksOf(d.program(p)), blocksOf(set[p - 1]))) << "program " << p;
      EXPECT_EQ(nameOf(d.program(p)), nameOf(set[p - 1])) << "program " << p;
      EXPECT_EQ(lockPacketOf(d.program(p)), lockPacketOf(set[p - 1])) << "program " << p;
    }
  });
  // Only the device's program store changed, and nothing was announced as read.
  EXPECT_TRUE(sameBlocks(deviceWorking(), distinctiveBlocks(kWorkingSeed)));
  EXPECT_TRUE(sameBlocks(edited(), distinctiveBlocks(kWorkingSeed)));
  EXPECT_EQ(notifier.count(Message::AllProgramsRead), 0);
  EXPECT_EQ(notifier.count(Message::ChannelDataRead), readsBefore);
}

// --- a misbehaving device ---------------------------------------------------------

class DeviceFaultTest : public ProtocolEndToEndTest {};

TEST_F(DeviceFaultTest, ACorruptingDeviceIsStillReadCompletely) {
  responder.setFaults(FaultPlan{.corruptEvery = 2});
  connectAndReadDevice();
  ASSERT_TRUE(notifier.waitFor(Message::FirmwareVersionRead, 1, kPatience));
  expectEditorMirrorsDevice();

  // The second reply (the firmware version's) was spoilt: its request went twice.
  Requests queued;
  const Requests seen = log.all();
  std::copy_if(seen.begin(), seen.end(), std::back_inserter(queued),
               [](const Request& r) { return !r.isLevelPoll(); });
  ASSERT_GE(queued.size(), 3u);
  EXPECT_EQ(queued[0].item, SystemItem::ConnectionCheck);
  EXPECT_EQ(queued[1].item, SystemItem::FirmwareVersion);
  EXPECT_TRUE(queued[2].sameHeader(queued[1]));
  EXPECT_EQ(notifier.count(Message::LinkLost), 0);
}

TEST_F(DeviceFaultTest, ADeviceThatFailsTheConnectionCheckLosesTheLink) {
  responder.setFaults(FaultPlan{.failConnectionCheck = true});
  connectAndQueueFullRead();
  ASSERT_TRUE(notifier.waitFor(Message::LinkLost, 1, kPatience));
  // The check was never passed; closing the link drops it.
  EXPECT_TRUE(command.connectionCheck().pending());
  disconnect();
  EXPECT_FALSE(command.connectionCheck().pending());

  const PostedMessage lost = notifier.messages().front();
  EXPECT_EQ(lost.message, Message::LinkLost);
  EXPECT_EQ(lost.wParam, static_cast<std::intptr_t>(LinkType::Usb));
  EXPECT_EQ(lost.lParam, 0);
  const Requests seen = log.all();
  ASSERT_GE(seen.size(), static_cast<std::size_t>(InProcessTransport::kAttempts));
  for (std::size_t i = 0; i < InProcessTransport::kAttempts; ++i)
    EXPECT_EQ(seen[i].item, SystemItem::ConnectionCheck) << "attempt " << i + 1;

  // Nothing the device said about itself was taken.
  EXPECT_EQ(notifier.count(Message::FirmwareVersionRead), 0);
  const ImageData d = image.read([](const ImageData& data) { return data; });
  EXPECT_EQ(d.status.firmwareVersion, FirmwareText{});
  EXPECT_NE(d.system.networkName, "Orvane rig 7");
}

}  // namespace
}  // namespace orvane
