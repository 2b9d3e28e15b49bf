#include "platform/AtomicFile.h"

#include <windows.h>

#include <atomic>
#include <memory>

#include "platform/windows/SystemError.h"

namespace orvane::AtomicFile {

// The new contents go to a temporary beside the file, are flushed with
// FlushFileBuffers and take the file's name with MoveFileExW, which replaces
// the file in one step and returns only once the move is on the disk.

namespace {

namespace fs = std::filesystem;

// Writes the open file `handle` whose name is `file`; the reason when it
// could not.
using FillOpen = std::function<std::optional<std::string>(HANDLE handle, const fs::path& file)>;

constexpr int kNameAttempts = 100;
// Of the file's name in its temporary's: the temporary's name stays within
// what every file system allows for one name.
constexpr std::size_t kNameKept = 200;
// WriteFile takes a 32-bit count.
constexpr std::size_t kLargestWrite = 1 << 30;

Result failed(std::string reason, bool earlierKept) {
  return Result{false, std::move(reason), earlierKept};
}

struct HandleCloser {
  void operator()(HANDLE handle) const { ::CloseHandle(handle); }
};
using OwnedHandle = std::unique_ptr<void, HandleCloser>;

OwnedHandle own(HANDLE handle) {
  return OwnedHandle(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}

// The file a name stands for: a symbolic link or junction is followed (one
// that points nowhere is replaced itself).
fs::path resolved(const fs::path& path) {
  const OwnedHandle file =
      own(::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!file) return path;
  std::wstring target(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = ::GetFinalPathNameByHandleW(file.get(), target.data(),
                                                     static_cast<DWORD>(target.size()), FILE_NAME_NORMALIZED);
    if (length == 0) return path;
    if (length < target.size()) {
      target.resize(length);
      return target;
    }
    target.resize(length);
  }
}

struct Temporary {
  fs::path path;
  OwnedHandle handle;
};

// A name beside `target` that no other writer has taken, for this process
// and a running number; created, so no one else takes it after. Others may
// open it meanwhile, so that a writer that takes a path can fill it.
std::optional<Temporary> createTemporary(const fs::path& target, DWORD& error) {
  static std::atomic<unsigned> next{0};
  const std::wstring base = L"." + target.filename().wstring().substr(0, kNameKept) + L"." +
                            std::to_wstring(::GetCurrentProcessId()) + L"-";
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    fs::path candidate = target.parent_path() / (base + std::to_wstring(next++) + L".tmp");
    OwnedHandle handle =
        own(::CreateFileW(candidate.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (handle) return Temporary{std::move(candidate), std::move(handle)};
    error = ::GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return std::nullopt;
  }
  return std::nullopt;
}

std::optional<std::string> writeAll(HANDLE handle, std::span<const std::uint8_t> bytes) {
  while (!bytes.empty()) {
    DWORD written = 0;
    const auto chunk = static_cast<DWORD>(std::min(bytes.size(), kLargestWrite));
    if (!::WriteFile(handle, bytes.data(), chunk, &written, nullptr)) return lastSystemMessage();
    if (written == 0) return systemMessage(ERROR_WRITE_FAULT);
    bytes = bytes.subspan(written);
  }
  return std::nullopt;
}

// Fills the temporary and flushes it to the disk; closes it in any case.
std::optional<std::string> completeTemporary(Temporary& temporary, const FillOpen& fill) {
  std::optional<std::string> reason = fill(temporary.handle.get(), temporary.path);
  if (!reason && !::FlushFileBuffers(temporary.handle.get())) reason = lastSystemMessage();
  temporary.handle.reset();
  return reason;
}

// `earlier`: a plain file is there.
Result replace(const fs::path& target, const FillOpen& fill, bool earlier) {
  DWORD error = 0;
  std::optional<Temporary> temporary = createTemporary(target, error);
  if (!temporary && error == ERROR_PATH_NOT_FOUND)
    return failed("the folder '" + target.parent_path().string() + "' does not exist", earlier);
  if (!temporary) return failed("no file can be made in its folder: " + systemMessage(error), earlier);
  std::optional<std::string> reason = completeTemporary(*temporary, fill);
  if (!reason && !::MoveFileExW(temporary->path.c_str(), target.c_str(),
                                MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    reason = lastSystemMessage();
  if (reason) {
    ::DeleteFileW(temporary->path.c_str());
    return failed(std::move(*reason), earlier);
  }
  return Result{true, {}, false};
}

// A device such as NUL or a port: there is no file to keep.
Result writeInto(const fs::path& target, const FillOpen& fill) {
  const OwnedHandle device =
      own(::CreateFileW(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!device) return failed(lastSystemMessage(), false);
  std::optional<std::string> reason = fill(device.get(), target);
  return reason ? failed(std::move(*reason), false) : Result{true, {}, false};
}

// What the name stands for now: nothing, a plain file, a folder or a device.
enum class Kind : std::uint8_t { Nothing, File, Folder, Device };

Kind kindOf(const fs::path& target) {
  const OwnedHandle opened =
      own(::CreateFileW(target.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (opened && ::GetFileType(opened.get()) != FILE_TYPE_DISK) return Kind::Device;
  const DWORD attributes = ::GetFileAttributesW(target.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return Kind::Nothing;
  return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? Kind::Folder : Kind::File;
}

Result writeWith(const fs::path& path, const FillOpen& fill) {
  const fs::path target = resolved(path);
  switch (kindOf(target)) {
    case Kind::Nothing:
      return replace(target, fill, false);
    case Kind::File:
      return replace(target, fill, true);
    case Kind::Folder:
      return failed("it is a folder", false);
    case Kind::Device:
      return writeInto(target, fill);
  }
  return failed("unknown kind of file", false);
}

}  // namespace

Result write(const fs::path& path, std::span<const std::uint8_t> bytes) {
  return writeWith(path, [bytes](HANDLE handle, const fs::path&) { return writeAll(handle, bytes); });
}

Result write(const fs::path& path, const Fill& fill) {
  return writeWith(path, [&fill](HANDLE, const fs::path& file) { return fill(file); });
}

}  // namespace orvane::AtomicFile
