#include <gtest/gtest.h>
// clang-format off
#include <windows.h>
#include <aclapi.h>
// clang-format on

#include <fstream>
#include <vector>

#include "platform/PrivateFile.h"
#include "support/ScratchDir.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;

// Who may read the file, besides the user running the test.
enum class Readers : std::uint8_t { UserOnly, Everyone, Anyone };

// Gives `file` an access list of its own (none inherited from its folder):
// the user alone, the user and everyone, or no list at all. For the user
// alone, everyone else is refused explicitly after the user's entry: Wine
// keeps the list as the file's Unix mode, which leaves a file readable by
// others unless an entry says otherwise.
void restrict(const fs::path& file, Readers readers) {
  HANDLE token = nullptr;
  ASSERT_TRUE(::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token));
  DWORD size = 0;
  ::GetTokenInformation(token, TokenUser, nullptr, 0, &size);
  std::vector<std::uint8_t> user(size);
  ASSERT_TRUE(::GetTokenInformation(token, TokenUser, user.data(), size, &size));
  ::CloseHandle(token);
  std::vector<std::uint8_t> everyone(SECURITY_MAX_SID_SIZE);
  DWORD everyoneSize = everyone.size();
  ASSERT_TRUE(::CreateWellKnownSid(WinWorldSid, nullptr, everyone.data(), &everyoneSize));
  std::vector<std::uint8_t> list(1024);
  auto* acl = reinterpret_cast<PACL>(list.data());
  ASSERT_TRUE(::InitializeAcl(acl, list.size(), ACL_REVISION));
  ASSERT_TRUE(::AddAccessAllowedAce(acl, ACL_REVISION, FILE_ALL_ACCESS,
                                    reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid));
  if (readers == Readers::Everyone) {
    ASSERT_TRUE(::AddAccessAllowedAce(acl, ACL_REVISION, FILE_GENERIC_READ, everyone.data()));
  } else {
    ASSERT_TRUE(::AddAccessDeniedAce(acl, ACL_REVISION, FILE_ALL_ACCESS, everyone.data()));
  }
  std::wstring name = file.wstring();
  ASSERT_EQ(::SetNamedSecurityInfoW(name.data(), SE_FILE_OBJECT,
                                    DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION, nullptr,
                                    nullptr, readers == Readers::Anyone ? nullptr : acl, nullptr),
            static_cast<DWORD>(ERROR_SUCCESS));
}

TEST(PrivateFile, TakesTheFirstLineOfAFileOnlyItsUserMayRead) {
  ScratchDir dir{"private-file"};
  const std::string code = dir.file("code");
  const std::string named = "the access code file " + code;
  const std::string advice =
      ": make it private with icacls \"" + code + "\" /inheritance:r /grant:r %USERNAME%:F";
  const struct {
    const char* what;
    std::string contents;
    Readers readers;
    PrivateFile::Line expected;
  } cases[] = {
      {"private", "s3cret\r\nmore\r\n", Readers::UserOnly, {"s3cret", ""}},
      {"readable by everyone", "s3cret\n", Readers::Everyone, {"", "other users may read " + named + advice}},
      {"open to anyone", "s3cret\n", Readers::Anyone, {"", "other users may read " + named + advice}},
      {"too long", std::string(40, 'x'), Readers::UserOnly, {"", named + " holds no access code"}},
  };
  for (const auto& c : cases) {
    fs::remove(code);
    std::ofstream(code, std::ios::binary) << c.contents;
    restrict(code, c.readers);
    const PrivateFile::Line line = PrivateFile::firstLine(code, "access code", 32);
    EXPECT_EQ(line.text, c.expected.text) << c.what;
    EXPECT_EQ(line.error, c.expected.error) << c.what;
  }
  fs::remove(code);
  EXPECT_TRUE(
      PrivateFile::firstLine(code, "access code", 32).error.starts_with("cannot read " + named + ": "));
  fs::create_directory(code);
  EXPECT_FALSE(PrivateFile::firstLine(code, "access code", 32).error.empty());
}

}  // namespace
}  // namespace orvane
