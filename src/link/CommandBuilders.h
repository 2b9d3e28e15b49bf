#pragma once

// The builders of device requests. Each builds one frame (or the sixteen of a
// whole-state transfer), fills it from the image, finalises it and appends it
// to the send queue; none sends or wakes the worker. The caller holds the
// protocol lock.

#include "model/ParameterImage.h"
#include "protocol/FrameBuilder.h"
#include "protocol/SendDataQueue.h"
#include "protocol/SystemItem.h"

namespace orvane {

class CommandBuilders {
 public:
  CommandBuilders(ParameterImage& image, SendDataQueue& queue, FrameBuilder& frames);

  // `progress` >= 0 makes the frame drive the progress bar at that position.
  void RequestSystemItem(LinkType link, int value, int item, int progress = -1);
  void SendSystemItemFrame(LinkType link, int value, int item);
  void SendPresetRow(LinkType link, int index);
  void SendPresetRowEx(LinkType link, int kind);
  void SendProgramOp(LinkType link, ProgramOp op, int program, bool withData);
  // cmd CmdWrite: tell the device its new ID (the editor follows at once);
  // otherwise an ID-search probe addressed to `id`.
  void SendDeviceId(LinkType link, FrameCode cmd, int id);
  void RequestAllBlocks(LinkType link, int program, int& counter, int row);
  void SendAllBlocks(LinkType link, int program, int& counter, int row);
  void SendInputBlock(LinkType link, int channel);
  void SendOutputBlock(LinkType link, int channel);
  void SendInputRow(LinkType link, int channel, int row);
  void SendOutputRow(LinkType link, int channel, int row);

  // Header of a frame on `link`: serial frames carry the current device ID.
  FrameHeader header(LinkType link, FrameCode cmd, int value, int block, int item, int row = 0) const;

 private:
  void append(std::unique_ptr<SendData> frame) { queue_.append(std::move(frame)); }
  std::vector<std::uint8_t> systemItemPayload(int value, int item, ReplyKind& kind) const;
  void appendCameraMessage(LinkType link, CameraProtocol protocol, int number);
  void appendBlockTransfer(LinkType link, FrameCode cmd, int program, int& counter, int row);

  ParameterImage& image_;
  SendDataQueue& queue_;
  FrameBuilder& frames_;
};

}  // namespace orvane
