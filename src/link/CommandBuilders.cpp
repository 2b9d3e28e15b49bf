#include "link/CommandBuilders.h"

#include <algorithm>
#include <vector>

#include "protocol/LockPacket.h"

namespace orvane {

namespace {

constexpr int kLastProgram = 30;
constexpr std::uint8_t kProgramOpLength = 12;

std::vector<std::uint8_t> bytesOf(std::span<const std::uint8_t> bytes) {
  return {bytes.begin(), bytes.end()};
}

std::vector<std::uint8_t> byteAndZeros(std::uint8_t first) {
  std::vector<std::uint8_t> payload(FrameBuilder::kDefaultLength, 0);
  payload[0] = first;
  return payload;
}

}  // namespace

CommandBuilders::CommandBuilders(ParameterImage& image, SendDataQueue& queue, FrameBuilder& frames)
    : image_(image), queue_(queue), frames_(frames) {}

FrameHeader CommandBuilders::header(LinkType link, FrameCode cmd, int value, int block, int item,
                                    int row) const {
  FrameHeader h;
  h.cmd = cmd;
  h.link = static_cast<std::uint8_t>(link);
  h.deviceId =
      link == LinkType::Serial
          ? static_cast<std::uint8_t>(image_.read([](const ImageData& d) { return d.connection.deviceId; }))
          : 0;
  h.value = static_cast<std::uint8_t>(value);
  h.block = static_cast<std::uint8_t>(block);
  h.item = static_cast<std::uint8_t>(item);
  h.row = static_cast<std::uint8_t>(row);
  return h;
}

void CommandBuilders::RequestSystemItem(LinkType link, int value, int item, int progress) {
  auto frame = frames_.make(header(link, FrameCode::CmdRead, value, BlockCode::System, item));
  if (progress >= 0) {
    frame->showProgress = true;
    frame->progressPos = static_cast<std::int16_t>(progress);
  }
  if (item == SystemItem::NetworkName) frame->replyKind = ReplyKind::NetworkNameRead;
  append(std::move(frame));
}

std::vector<std::uint8_t> CommandBuilders::systemItemPayload(int value, int item, ReplyKind& kind) const {
  return image_.read([&](const ImageData& d) -> std::vector<std::uint8_t> {
    switch (item) {
      case SystemItem::ProgramName:
        if (value >= 1 && value <= kLastProgram) {
          const auto& record = d.programs[static_cast<std::size_t>(value - 1)];
          return bytesOf(std::span(record).subspan(ProgramRecordOffset::Name, kProgramNameBytes));
        }
        return bytesOf(d.currentProgramName);
      case SystemItem::StartupProgram:
        return byteAndZeros(d.system.startupProgram);
      case SystemItem::NetworkFactoryReset:
        kind = ReplyKind::NetworkFactoryReset;
        return std::vector<std::uint8_t>(FrameBuilder::kDefaultLength, 0);
      case SystemItem::NetworkName: {
        kind = ReplyKind::NetworkNameWrite;
        const std::size_t n = std::min(d.system.networkName.size(), SystemAreas::kNetworkNameMax);
        return {d.system.networkName.begin(), d.system.networkName.begin() + static_cast<std::ptrdiff_t>(n)};
      }
      case SystemItem::SetupBlock:
        return bytesOf(d.system.setup);
      case SystemItem::ExtendedBlock:
        return bytesOf(d.system.extended);
      default:
        return std::vector<std::uint8_t>(FrameBuilder::kDefaultLength, 0);
    }
  });
}

void CommandBuilders::SendSystemItemFrame(LinkType link, int value, int item) {
  ReplyKind kind = ReplyKind::None;
  const auto payload = systemItemPayload(value, item, kind);
  auto frame = frames_.make(header(link, FrameCode::CmdWrite, value, BlockCode::System, item), payload);
  frame->replyKind = kind;
  append(std::move(frame));
}

// One camera message as it stands in the table; a number the table has no
// message for goes out empty.
void CommandBuilders::appendCameraMessage(LinkType link, CameraProtocol protocol, int number) {
  CameraMessage message;
  if (number >= 0 && number < CameraCommands::kMessages)
    message = image_.read([&](const ImageData& d) { return d.system.camera.message(protocol, number); });
  append(frames_.make(header(link, FrameCode::CmdWrite, 0, BlockCode::System, SystemItem::CameraMessage),
                      message.view()));
}

void CommandBuilders::SendPresetRow(LinkType link, int index) {
  appendCameraMessage(link, CameraProtocol::PelcoD, index);
}

void CommandBuilders::SendPresetRowEx(LinkType link, int kind) {
  appendCameraMessage(link, CameraProtocol::SonyVisca, kind);
}

void CommandBuilders::SendProgramOp(LinkType link, ProgramOp op, int program, bool withData) {
  std::array<std::uint8_t, kProgramOpLength> payload{};
  image_.read([&](const ImageData& d) {
    if (op == ProgramOp::WriteLocks && withData) {
      payload = LockPacket::build(d.locks);
    } else if (op == ProgramOp::WriteStoredLocks && program >= 1 && program <= kLastProgram) {
      const auto& record = d.programs[static_cast<std::size_t>(program - 1)];
      std::copy_n(record.begin() + ProgramRecordOffset::LockPacket, kLockPacketBytes, payload.begin());
    }
  });
  append(
      frames_.make(header(link, FrameCode::CmdProgram, program, static_cast<std::uint8_t>(op), 0), payload));
}

void CommandBuilders::SendDeviceId(LinkType link, FrameCode cmd, int id) {
  const auto idByte = static_cast<std::uint8_t>(id);
  if (cmd == FrameCode::CmdWrite) {
    append(frames_.make(header(link, FrameCode::CmdWrite, 0, BlockCode::System, SystemItem::DeviceId),
                        byteAndZeros(idByte)));
    image_.modify([&](ImageData& d) { d.connection.deviceId = id; });
    return;
  }
  FrameHeader h = header(link, cmd, 0, BlockCode::System, SystemItem::DeviceId);
  h.deviceId = idByte;
  auto frame = frames_.make(h);
  frame->idProbe = true;
  frame->showProgress = true;
  frame->progressPos = static_cast<std::int16_t>(id);
  append(std::move(frame));
}

void CommandBuilders::appendBlockTransfer(LinkType link, FrameCode cmd, int program, int& counter, int row) {
  const bool endsTransfer = row != kProgramStoreRow || program == kLastProgram;
  for (Side side : {Side::Input, Side::Output}) {
    for (int channel = 0; channel < kChannels; ++channel) {
      const int block = side == Side::Input ? BlockCode::Input : BlockCode::Output;
      const FrameHeader h = header(link, cmd, program, block, channel, row);
      std::unique_ptr<SendData> frame;
      if (cmd == FrameCode::CmdRead) {
        frame = frames_.make(h);
      } else {
        std::vector<std::uint8_t> payload(blockSize(side));
        if (row == kProgramStoreRow && program >= 1 && program <= kLastProgram)
          image_.read([&](const ImageData& d) {
            const auto from = recordBlock(d.programs[static_cast<std::size_t>(program - 1)], side, channel);
            std::copy(from.begin(), from.end(), payload.begin());
          });
        else
          image_.readBlock(side, channel, Copy::Edited, payload);
        frame = frames_.make(h, payload);
      }
      frame->showProgress = true;
      frame->progressPos = static_cast<std::int16_t>(counter++);
      frame->lastOfTransfer = endsTransfer && side == Side::Output && channel == kChannels - 1;
      append(std::move(frame));
    }
  }
}

void CommandBuilders::RequestAllBlocks(LinkType link, int program, int& counter, int row) {
  appendBlockTransfer(link, FrameCode::CmdRead, program, counter, row);
}

void CommandBuilders::SendAllBlocks(LinkType link, int program, int& counter, int row) {
  appendBlockTransfer(link, FrameCode::CmdWrite, program, counter, row);
}

void CommandBuilders::SendInputBlock(LinkType link, int channel) {
  InputBlock block{};
  image_.readBlock(Side::Input, channel, Copy::Edited, block);
  append(frames_.make(header(link, FrameCode::CmdWrite, 0, BlockCode::Input, channel), block));
}

void CommandBuilders::SendOutputBlock(LinkType link, int channel) {
  OutputBlock block{};
  image_.readBlock(Side::Output, channel, Copy::Edited, block);
  append(frames_.make(header(link, FrameCode::CmdWrite, 0, BlockCode::Output, channel), block));
}

void CommandBuilders::SendInputRow(LinkType link, int channel, int row) {
  append(frames_.make(header(link, FrameCode::CmdWrite, 0, BlockCode::Input, channel, row),
                      image_.row(Side::Input, channel, row)));
}

void CommandBuilders::SendOutputRow(LinkType link, int channel, int row) {
  append(frames_.make(header(link, FrameCode::CmdWrite, 0, BlockCode::Output, channel, row),
                      image_.row(Side::Output, channel, row)));
}

}  // namespace orvane
