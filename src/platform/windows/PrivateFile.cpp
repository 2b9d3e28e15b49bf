#include "platform/PrivateFile.h"

// clang-format off
#include <windows.h>
#include <aclapi.h>
// clang-format on

#include <memory>
#include <vector>

#include "platform/windows/SystemError.h"

namespace orvane::PrivateFile {

// Windows has no mode bits: what is checked is the file's owner and its
// access list. The file must belong to the user running the program, and no
// entry of its list may let anyone but that user, the system itself or the
// machine's administrators (who may take any file anyway) read or change
// it. A file with no access list at all is open to everyone.

namespace {

struct LocalFreer {
  void operator()(void* memory) const { ::LocalFree(memory); }
};

struct HandleCloser {
  void operator()(HANDLE handle) const { ::CloseHandle(handle); }
};
using OwnedHandle = std::unique_ptr<void, HandleCloser>;

// What lets someone read or change a file's contents.
constexpr ACCESS_MASK kReadOrWrite = FILE_READ_DATA | FILE_WRITE_DATA | FILE_APPEND_DATA | GENERIC_READ |
                                     GENERIC_WRITE | GENERIC_ALL | WRITE_DAC | WRITE_OWNER;

// The user the program runs as: its security identifier, in `buffer`.
PSID currentUser(std::vector<std::uint8_t>& buffer) {
  HANDLE token = nullptr;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token)) return nullptr;
  const OwnedHandle owned(token);
  DWORD size = 0;
  ::GetTokenInformation(token, TokenUser, nullptr, 0, &size);
  buffer.resize(size);
  if (!::GetTokenInformation(token, TokenUser, buffer.data(), size, &size)) return nullptr;
  return reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid;
}

bool isWellKnown(PSID sid, WELL_KNOWN_SID_TYPE type) {
  return ::IsWellKnownSid(sid, type);
}

// Whether the entry lets someone other than `user` read or change the file.
bool opensToOthers(const ACE_HEADER* entry, PSID user) {
  if (entry->AceType != ACCESS_ALLOWED_ACE_TYPE || (entry->AceFlags & INHERIT_ONLY_ACE)) return false;
  const auto* allowed = reinterpret_cast<const ACCESS_ALLOWED_ACE*>(entry);
  if ((allowed->Mask & kReadOrWrite) == 0) return false;
  const auto sid = const_cast<PSID>(static_cast<const void*>(&allowed->SidStart));
  return !::EqualSid(sid, user) && !isWellKnown(sid, WinLocalSystemSid) &&
         !isWellKnown(sid, WinBuiltinAdministratorsSid) && !isWellKnown(sid, WinCreatorOwnerSid);
}

// Why the open file `file` (`named`: "the access code file F") may not hold
// a secret; empty when it may.
std::string ownerProblem(HANDLE file, const std::string& named, const std::string& name) {
  BY_HANDLE_FILE_INFORMATION information{};
  if (!::GetFileInformationByHandle(file, &information))
    return "cannot read " + named + ": " + lastSystemMessage();
  if (information.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT))
    return named + " is not a plain file";
  PSID owner = nullptr;
  PACL list = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  const DWORD error =
      ::GetSecurityInfo(file, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, &owner,
                        nullptr, &list, nullptr, &descriptor);
  if (error != ERROR_SUCCESS) return "cannot read the access list of " + named + ": " + systemMessage(error);
  const std::unique_ptr<void, LocalFreer> freed(descriptor);
  std::vector<std::uint8_t> userBuffer;
  const PSID user = currentUser(userBuffer);
  if (user == nullptr) return "cannot tell the user who runs this program: " + lastSystemMessage();
  if (owner == nullptr || !::EqualSid(owner, user)) return named + " belongs to another user";
  const std::string advice =
      ": make it private with icacls \"" + name + "\" /inheritance:r /grant:r %USERNAME%:F";
  if (list == nullptr) return "other users may read " + named + advice;
  for (DWORD i = 0; i < list->AceCount; ++i) {
    void* entry = nullptr;
    if (::GetAce(list, i, &entry) && opensToOthers(static_cast<const ACE_HEADER*>(entry), user))
      return "other users may read " + named + advice;
  }
  return {};
}

// An access list that lets the user `user` alone at the file: everyone
// else is refused explicitly after the user's entry, since Wine keeps the
// list as the file's Unix mode and would leave it readable by others
// otherwise. `buffer` holds the list.
PACL userOnly(PSID user, std::vector<std::uint8_t>& buffer) {
  std::vector<std::uint8_t> everyone(SECURITY_MAX_SID_SIZE);
  DWORD everyoneSize = static_cast<DWORD>(everyone.size());
  if (!::CreateWellKnownSid(WinWorldSid, nullptr, everyone.data(), &everyoneSize)) return nullptr;
  buffer.resize(1024);
  auto* list = reinterpret_cast<PACL>(buffer.data());
  if (!::InitializeAcl(list, static_cast<DWORD>(buffer.size()), ACL_REVISION) ||
      !::AddAccessAllowedAce(list, ACL_REVISION, FILE_ALL_ACCESS, user) ||
      !::AddAccessDeniedAce(list, ACL_REVISION, FILE_ALL_ACCESS, everyone.data()))
    return nullptr;
  return list;
}

}  // namespace

std::string create(const std::filesystem::path& file, std::string_view text) {
  std::vector<std::uint8_t> userBuffer, listBuffer;
  const PSID user = currentUser(userBuffer);
  const PACL list = user ? userOnly(user, listBuffer) : nullptr;
  SECURITY_DESCRIPTOR descriptor{};
  if (list == nullptr || !::InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION) ||
      !::SetSecurityDescriptorDacl(&descriptor, TRUE, list, FALSE) ||
      !::SetSecurityDescriptorControl(&descriptor, SE_DACL_PROTECTED, SE_DACL_PROTECTED))
    return lastSystemMessage();
  SECURITY_ATTRIBUTES attributes{sizeof attributes, &descriptor, FALSE};
  const HANDLE created =
      ::CreateFileW(file.c_str(), GENERIC_WRITE, 0, &attributes, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (created == INVALID_HANDLE_VALUE) return lastSystemMessage();
  OwnedHandle handle(created);
  DWORD size = 0;
  const bool written = ::WriteFile(created, text.data(), static_cast<DWORD>(text.size()), &size, nullptr) &&
                       size == text.size() && ::FlushFileBuffers(created);
  const std::string reason = written ? std::string() : lastSystemMessage();
  handle.reset();
  if (!written) ::DeleteFileW(file.c_str());
  return reason;
}

Line firstLine(const std::filesystem::path& file, const std::string& what, std::size_t longest) {
  const std::string name = file.string();
  const std::string named = "the " + what + " file " + name;
  // A link is not followed, as elsewhere: the file itself must be private.
  const HANDLE opened = ::CreateFileW(file.c_str(), GENERIC_READ | READ_CONTROL, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (opened == INVALID_HANDLE_VALUE) return {{}, "cannot read " + named + ": " + lastSystemMessage()};
  const OwnedHandle handle(opened);
  Line line{{}, ownerProblem(opened, named, name)};
  if (!line.error.empty()) return line;
  // One byte more than the longest, to tell a file that is too long.
  std::vector<char> bytes(longest + 1);
  DWORD size = 0;
  if (!::ReadFile(opened, bytes.data(), static_cast<DWORD>(bytes.size()), &size, nullptr) || size > longest)
    return {{}, named + " holds no " + what};
  std::string_view text(bytes.data(), size);
  text = text.substr(0, text.find('\n'));
  if (text.ends_with('\r')) text.remove_suffix(1);
  line.text = text;
  return line;
}

}  // namespace orvane::PrivateFile
