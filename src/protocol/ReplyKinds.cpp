#include "protocol/ReplyKinds.h"

#include "protocol/SystemItem.h"

namespace orvane {

bool restartsNetworkModule(ReplyKind kind) {
  return kind == ReplyKind::NetworkNameWrite || kind == ReplyKind::NetworkFactoryReset;
}

ReplyKind replyKindOf(std::span<const std::uint8_t> request) {
  if (request.size() <= FrameOffset::Item || request[FrameOffset::Block] != BlockCode::System)
    return ReplyKind::None;
  const auto cmd = static_cast<FrameCode>(request[FrameOffset::Cmd]);
  const std::uint8_t item = request[FrameOffset::Item];
  if (item == SystemItem::NetworkName)
    return cmd == FrameCode::CmdRead ? ReplyKind::NetworkNameRead : ReplyKind::NetworkNameWrite;
  if (item == SystemItem::NetworkFactoryReset && cmd == FrameCode::CmdWrite)
    return ReplyKind::NetworkFactoryReset;
  return ReplyKind::None;
}

}  // namespace orvane
