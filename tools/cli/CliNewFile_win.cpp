// keygen's file on Windows: CreateFileW with CREATE_NEW and, from the moment
// it exists, a protected DACL with one entry: the current user may read,
// write, delete it and change its DACL; nobody else may do anything, and
// nothing is inherited from the folder.
#include <windows.h>

#include <cstdint>
#include <vector>

#include "CliNewFile.h"
#include "CliPath.h"

namespace cli {
namespace {

class THandle {
 public:
    explicit THandle(HANDLE h = nullptr) : h_(h == INVALID_HANDLE_VALUE ? nullptr : h) {}
    ~THandle() {
        if (h_) CloseHandle(h_);
    }
    THandle(const THandle&) = delete;
    THandle& operator=(const THandle&) = delete;
    HANDLE Get() const { return h_; }
    HANDLE* Out() { return &h_; }
    bool Close() {
        const HANDLE h = h_;
        h_ = nullptr;
        return CloseHandle(h) != 0;
    }

 private:
    HANDLE h_;
};

constexpr DWORD kOwnerRights = GENERIC_READ | GENERIC_WRITE | DELETE | READ_CONTROL | WRITE_DAC;

std::string SystemMessage(DWORD code) {
    char* text = nullptr;
    const DWORD n = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = n && text ? std::string(text, n) : "error " + std::to_string(code);
    if (text) LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' ' ||
                                message.back() == '.')) {
        message.pop_back();
    }
    return message;
}

// The TOKEN_USER of this process (its SID inside), or empty.
std::vector<std::uint8_t> CurrentUser() {
    THandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.Out())) return {};
    DWORD size = 0;
    GetTokenInformation(token.Get(), TokenUser, nullptr, 0, &size);
    std::vector<std::uint8_t> user(size);
    if (size == 0 || !GetTokenInformation(token.Get(), TokenUser, user.data(), size, &size)) return {};
    return user;
}

}  // namespace

NewFile WriteNewPrivateFile(const std::string& path, const std::string& text, std::string* reason) {
    const std::wstring wide = WidePath(path);
    if (wide.empty()) {
        *reason = "the name does not convert from the ANSI code page";
        return NewFile::CannotCreate;
    }
    const std::vector<std::uint8_t> user = CurrentUser();
    if (user.empty()) {
        *reason = "cannot tell the current user (" + SystemMessage(GetLastError()) + ")";
        return NewFile::CannotCreate;
    }
    PSID sid = reinterpret_cast<const TOKEN_USER*>(user.data())->User.Sid;
    const DWORD aclSize = sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) - sizeof(DWORD) + GetLengthSid(sid);
    std::vector<std::uint8_t> aclBytes(aclSize);
    auto* acl = reinterpret_cast<ACL*>(aclBytes.data());
    SECURITY_DESCRIPTOR sd;
    if (!InitializeAcl(acl, aclSize, ACL_REVISION) ||
        !AddAccessAllowedAce(acl, ACL_REVISION, kOwnerRights, sid) ||
        !InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION) ||
        !SetSecurityDescriptorOwner(&sd, sid, FALSE) || !SetSecurityDescriptorDacl(&sd, TRUE, acl, FALSE) ||
        !SetSecurityDescriptorControl(&sd, SE_DACL_PROTECTED, SE_DACL_PROTECTED)) {
        *reason = "cannot make its access list (" + SystemMessage(GetLastError()) + ")";
        return NewFile::CannotCreate;
    }
    SECURITY_ATTRIBUTES sa{sizeof sa, &sd, FALSE};
    THandle file(
        CreateFileW(wide.c_str(), GENERIC_WRITE, 0, &sa, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Get()) {
        const DWORD why = GetLastError();
        if (why == ERROR_FILE_EXISTS || why == ERROR_ALREADY_EXISTS) return NewFile::Exists;
        *reason = SystemMessage(why);
        return NewFile::CannotCreate;
    }
    bool written = true;
    for (std::size_t done = 0; written && done < text.size();) {
        DWORD n = 0;
        written =
            WriteFile(file.Get(), text.data() + done, static_cast<DWORD>(text.size() - done), &n, nullptr) &&
            n > 0;
        done += n;
    }
    if (!file.Close() || !written) {
        DeleteFileW(wide.c_str());
        return NewFile::CannotWrite;
    }
    return NewFile::Written;
}

}  // namespace cli
