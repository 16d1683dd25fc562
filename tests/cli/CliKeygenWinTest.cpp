// keygen's file on Windows: made only when no file has its name, and, read
// back through the security API, owned by the current user with one access
// entry, the current user's, not inherited, in a DACL that inherits nothing
// from the folder.
#include <windows.h>
#include <aclapi.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "CliNewFile.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> CurrentUser() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return {};
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<std::uint8_t> user(size);
    const bool ok = size && GetTokenInformation(token, TokenUser, user.data(), size, &size);
    CloseHandle(token);
    return ok ? user : std::vector<std::uint8_t>{};
}

std::string Read(const fs::path& path) {
    std::ifstream f(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
}

class Folder {
 public:
    Folder() : path_(fs::temp_directory_path() / ("rizer-keygen-" + std::to_string(GetCurrentProcessId()))) {
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~Folder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;
    const fs::path& Path() const { return path_; }

 private:
    fs::path path_;
};

// Wine keeps no security descriptor for a file: it maps the one given at
// creation to the Unix mode and reads back one made from that mode.
bool UnderWine() { return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr; }

TEST(CliKeygenWin, ANewFileOnlyAndNeverOverAnother) {
    const Folder folder;
    const fs::path file = folder.Path() / "riZER.key";
    std::string reason;
    ASSERT_EQ(cli::WriteNewPrivateFile(file.string(), "# key\r\n", &reason), cli::NewFile::Written) << reason;
    EXPECT_EQ(Read(file), "# key\r\n");
    EXPECT_EQ(cli::WriteNewPrivateFile(file.string(), "other", &reason), cli::NewFile::Exists);
    EXPECT_EQ(Read(file), "# key\r\n");
    EXPECT_EQ(cli::WriteNewPrivateFile((folder.Path() / "none" / "k.key").string(), "x", &reason),
              cli::NewFile::CannotCreate);
    EXPECT_FALSE(reason.empty());
}

TEST(CliKeygenWin, TheNewFileIsItsOwnersAlone) {
    if (UnderWine()) GTEST_SKIP() << "Wine reads back no security descriptor but one made from the Unix mode";
    const Folder folder;
    const fs::path file = folder.Path() / "riZER.key";
    std::string reason;
    ASSERT_EQ(cli::WriteNewPrivateFile(file.string(), "# key\r\n", &reason), cli::NewFile::Written) << reason;

    const std::vector<std::uint8_t> user = CurrentUser();
    ASSERT_FALSE(user.empty());
    PSID me = reinterpret_cast<const TOKEN_USER*>(user.data())->User.Sid;
    PSID owner = nullptr;
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR sd = nullptr;
    ASSERT_EQ(GetNamedSecurityInfoW(file.wstring().c_str(), SE_FILE_OBJECT,
                                    OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, &owner, nullptr,
                                    &dacl, nullptr, &sd),
              static_cast<DWORD>(ERROR_SUCCESS));
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    ASSERT_TRUE(GetSecurityDescriptorControl(sd, &control, &revision));
    EXPECT_TRUE(control & SE_DACL_PROTECTED) << "the DACL inherits from the folder";
    ASSERT_NE(owner, nullptr);
    EXPECT_TRUE(EqualSid(owner, me)) << "owned by someone else";
    ASSERT_NE(dacl, nullptr) << "no DACL: everyone may do anything";
    EXPECT_EQ(dacl->AceCount, 1);
    void* raw = nullptr;
    ASSERT_TRUE(GetAce(dacl, 0, &raw));
    const auto* ace = static_cast<const ACCESS_ALLOWED_ACE*>(raw);
    EXPECT_EQ(ace->Header.AceType, ACCESS_ALLOWED_ACE_TYPE);
    EXPECT_EQ(ace->Header.AceFlags & INHERITED_ACE, 0);
    EXPECT_TRUE(EqualSid(const_cast<DWORD*>(&ace->SidStart), me)) << "an entry for someone else";
    // Generic rights are stored as the file rights they stand for.
    GENERIC_MAPPING files{FILE_GENERIC_READ, FILE_GENERIC_WRITE, FILE_GENERIC_EXECUTE, FILE_ALL_ACCESS};
    DWORD expected = GENERIC_READ | GENERIC_WRITE | DELETE | READ_CONTROL | WRITE_DAC;
    DWORD granted = ace->Mask;
    MapGenericMask(&expected, &files);
    MapGenericMask(&granted, &files);
    EXPECT_EQ(granted, expected);
    LocalFree(sd);
}

}  // namespace
