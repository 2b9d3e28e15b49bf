#pragma once

// The editor's model of one device: edited image, device copy, program store,
// system areas, locks, editor state. Every page, dialog and transfer works on
// it; it is shared by the user-interface thread, the communication worker and
// the transport threads, so every access goes through this class and its lock.

#include <functional>
#include <iterator>
#include <mutex>
#include <optional>
#include <ranges>
#include <shared_mutex>
#include <type_traits>
#include <utility>

#include "model/ChannelRecords.h"
#include "model/ImageData.h"
#include "model/ImageListener.h"

namespace orvane {

enum class Copy : std::uint8_t { Edited, Device };

template <class T>
inline constexpr bool isReferenceWrapper = false;
template <class T>
inline constexpr bool isReferenceWrapper<std::reference_wrapper<T>> = true;

// A value that still points into what it was taken from: a reference, a
// pointer or an iterator, a reference wrapper, or a view such as std::span
// or std::string_view. Taken out of the image, it would be used after the
// image's lock is released, racing with the other threads.
template <class T>
concept RefersIntoStorage =
    std::is_reference_v<T> || std::is_pointer_v<T> || std::input_or_output_iterator<T> ||
    std::ranges::borrowed_range<T> || std::ranges::view<T> || isReferenceWrapper<T>;

// One 8-byte row the worker is about to write to the device.
struct RowWrite {
  Side side;
  int channel;
  int row;
  Row bytes;
};

class ParameterImage {
 public:
  ParameterImage();
  ParameterImage(const ParameterImage&) = delete;
  ParameterImage& operator=(const ParameterImage&) = delete;

  // The listener is told of wholesale block changes; null for none. Waits
  // for calls in progress, so a listener removed here is never called again.
  void setListener(ImageListener* listener);

  // --- typed access to the channel blocks --------------------------------
  int field(Side side, int channel, Field f, Copy copy = Copy::Edited) const;
  void setField(Side side, int channel, Field f, int value, Copy copy = Copy::Edited);
  // Writes a value shared by all channels of a side (`Allvolume`,
  // `All_Feedback`) into all eight edited blocks at once.
  void setFieldOnAllChannels(Side side, Field f, int value);
  EqBand band(Side side, int channel, int band, Copy copy = Copy::Edited) const;
  void setBand(Side side, int channel, int band, const EqBand& record);
  CrossoverPair crossover(Side side, int channel, Copy copy = Copy::Edited) const;
  void setCrossover(Side side, int channel, const CrossoverPair& record);
  Row row(Side side, int channel, int row, Copy copy = Copy::Edited) const;
  // Whole blocks; the span must be exactly blockSize(side) long.
  void readBlock(Side side, int channel, Copy copy, std::span<std::uint8_t> out) const;
  void writeBlock(Side side, int channel, Copy copy, std::span<const std::uint8_t> bytes);

  // --- operations ----------------------------------------------------------
  // Every start-up default: channel blocks, memos, class levels, selection,
  // system areas, locks, current program, ID table, link type and device ID.
  void initialise();
  // The edited image back to its channel defaults after a link closed or
  // was lost; the selection and the program store are kept.
  void disconnectReset();
  // Device copy := edited image, so nothing is sent until the user edits.
  void takeDeviceSnapshot();
  // Edited image := device copy, then class levels, crosspoint memo and
  // master memos rebuilt from it.
  void restoreFromDeviceCopy();
  // Processing parameters of one channel into another (link-group join);
  // the destination block is also taken into the device copy, because the
  // caller sends it whole.
  void copyInputChannel(int source, int destination);
  void copyOutputChannel(int source, int destination);

  // The worker's comparison: finds the first row of `side` (lower channels
  // and rows first) where the edited image differs from the device copy,
  // takes it into the device copy and returns it. Outputs never let the
  // device hold a compressor level above the limiter threshold it is about
  // to receive: that lowered row 3 goes first.
  std::optional<RowWrite> takeNextChangedRow(Side side);
  // The same over the whole image, inputs before outputs, in one look: an
  // input edited before an output is never written after it.
  std::optional<RowWrite> takeNextChangedRow();

  // --- race-free access to everything else ---------------------------------
  // `f` runs under the lock and returns a copy of what it needs; a result
  // that refers into the image does not compile.
  template <class F>
  requires(!RefersIntoStorage<std::invoke_result_t<F, const ImageData&>>) decltype(auto) read(F&& f) const {
    std::lock_guard lock(mutex_);
    return std::forward<F>(f)(std::as_const(data_));
  }
  template <class F>
  requires(!RefersIntoStorage<std::invoke_result_t<F, ImageData&>>) decltype(auto) modify(F&& f) {
    std::lock_guard lock(mutex_);
    return std::forward<F>(f)(data_);
  }

 private:
  void copyChannel(Side side, std::span<const ByteRange> ranges, int source, int destination);
  void notifyAllReloaded();
  void notifyCopied(Side side, int source, int destination);
  static void normaliseClassLevels(ImageData& data);
  static void rebuildCrosspointMemo(ImageData& data, int input);
  std::optional<RowWrite> takeChangedRowLocked(Side side);
  std::optional<RowWrite> takeLoweredCompressorRow(int channel);

  mutable std::mutex mutex_;
  ImageData data_;
  mutable std::shared_mutex listenerMutex_;
  ImageListener* listener_ = nullptr;
};

}  // namespace orvane
