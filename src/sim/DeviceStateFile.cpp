#include "sim/DeviceStateFile.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string_view>

#include "platform/AtomicFile.h"

namespace orvane::DeviceStateFile {

namespace {

constexpr std::string_view kMagic = "ORVSIM01";

class Writer {
 public:
  void bytes(std::span<const std::uint8_t> b) { out_.insert(out_.end(), b.begin(), b.end()); }
  void byte(std::uint8_t b) { out_.push_back(b); }
  std::vector<std::uint8_t> take() { return std::move(out_); }

 private:
  std::vector<std::uint8_t> out_;
};

class Reader {
 public:
  explicit Reader(std::span<const std::uint8_t> in) : in_(in) {}
  bool bytes(std::span<std::uint8_t> to) {
    if (in_.size() - at_ < to.size()) return false;
    std::copy_n(in_.begin() + static_cast<std::ptrdiff_t>(at_), to.size(), to.begin());
    at_ += to.size();
    return true;
  }
  bool byte(std::uint8_t& to) { return bytes(std::span(&to, 1)); }
  bool atEnd() const { return at_ == in_.size(); }

 private:
  std::span<const std::uint8_t> in_;
  std::size_t at_ = 0;
};

// One list of the parts of the state, in file order, used both ways.
template <class Stream, class Data>
bool transfer(Stream& s, Data& d) {
  bool ok = true;
  for (auto& block : d.working.inputs) ok = ok && s.bytes(block);
  for (auto& block : d.working.outputs) ok = ok && s.bytes(block);
  ok = ok && s.bytes(d.currentProgramName);
  for (auto& record : d.programs) ok = ok && s.bytes(record);
  ok = ok && s.bytes(d.workingLocks) && s.bytes(d.deviceLockSet);
  ok = ok && s.bytes(d.setup) && s.bytes(d.extended) && s.byte(d.startupProgram);
  ok = ok && s.bytes(d.firmwareVersion) && s.byte(d.deviceId);
  return ok;
}

// The writer's calls return void; wrap them so `transfer` reads the same.
struct CheckedWriter {
  Writer& w;
  bool bytes(std::span<const std::uint8_t> b) {
    w.bytes(b);
    return true;
  }
  bool byte(std::uint8_t b) {
    w.byte(b);
    return true;
  }
};

}  // namespace

std::vector<std::uint8_t> serialise(const DeviceData& data) {
  Writer w;
  w.bytes(std::span(reinterpret_cast<const std::uint8_t*>(kMagic.data()), kMagic.size()));
  CheckedWriter checked{w};
  transfer(checked, data);
  const std::size_t nameLength = std::min(data.networkName.size(), SystemAreas::kNetworkNameMax);
  w.byte(static_cast<std::uint8_t>(nameLength));
  w.bytes(std::span(data.networkName).first(nameLength));
  return w.take();
}

std::optional<std::string> parse(std::span<const std::uint8_t> bytes, DeviceData& data) {
  Reader r(bytes);
  std::array<std::uint8_t, kMagic.size()> magic{};
  if (!r.bytes(magic) || !std::equal(magic.begin(), magic.end(), kMagic.begin()))
    return "not a simulator state file";
  DeviceData read = data;
  std::uint8_t nameLength = 0;
  bool ok = transfer(r, read) && r.byte(nameLength);
  read.networkName.assign(nameLength, 0);
  ok = ok && r.bytes(read.networkName) && r.atEnd();
  if (!ok) return "the state file is damaged (wrong size)";
  if (read.deviceId < 1 || read.deviceId > DeviceData::kMaxDeviceId)
    return "the state file names no valid device ID";
  data = std::move(read);
  return std::nullopt;
}

std::optional<std::string> save(const std::string& path, const DeviceData& data) {
  const AtomicFile::Result written = AtomicFile::write(path, serialise(data));
  if (!written) return "cannot write " + path + ": " + written.explain();
  return std::nullopt;
}

std::optional<std::string> load(const std::string& path, DeviceData& data) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return "cannot read " + path;
  const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                        std::istreambuf_iterator<char>());
  if (auto error = parse(bytes, data)) return path + ": " + *error;
  return std::nullopt;
}

}  // namespace orvane::DeviceStateFile
