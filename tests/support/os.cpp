#include "support/os.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#ifdef _WIN32
#include <stdlib.h>
#include <windows.h>
#else
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/mount.h>
#endif
#endif

namespace kazuban::testing {

bool runningAsRoot() {
#ifdef _WIN32
    return false;
#else
    return ::geteuid() == 0;
#endif
}

bool rightsBindThisUser() { return kPosix && !runningAsRoot(); }

void setEnvironment(const std::string& name, const std::string& value) {
#ifdef _WIN32
    ::_putenv_s(name.c_str(), value.c_str());
#else
    ::setenv(name.c_str(), value.c_str(), 1);
#endif
}

void unsetEnvironment(const std::string& name) {
#ifdef _WIN32
    ::_putenv_s(name.c_str(), "");
#else
    ::unsetenv(name.c_str());
#endif
}

int exitStatusOf(int raw) {
#ifdef _WIN32
    return raw;
#else
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
#endif
}

bool makeNamedPipe(const std::filesystem::path& path) {
#ifdef _WIN32
    (void)path;
    return false;
#else
    return ::mkfifo(path.c_str(), 0600) == 0;
#endif
}

bool makeSocketFile(const std::filesystem::path& path) {
#ifdef _WIN32
    (void)path;
    return false;
#else
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string p = path.string();
    if (p.size() >= sizeof address.sun_path) return false;
    std::memcpy(address.sun_path, p.c_str(), p.size() + 1);
    const int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (s < 0) return false;
    const bool bound = ::bind(s, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(s);
    return bound;
#endif
}

bool mountTinyDisk(const std::filesystem::path& at, int kilobytes) {
#ifdef __linux__
    if (!runningAsRoot()) return false;
    const std::string options = "size=" + std::to_string(kilobytes) + "k";
    return ::mount("tmpfs", at.c_str(), "tmpfs", 0, options.c_str()) == 0;
#else
    (void)at;
    (void)kilobytes;
    return false;
#endif
}

void unmountTinyDisk(const std::filesystem::path& at) {
#ifdef __linux__
    ::umount2(at.c_str(), MNT_DETACH);
#else
    (void)at;
#endif
}

bool noChildProcessLeft() {
#ifdef _WIN32
    return true;
#else
    int status = 0;
    errno = 0;
    return ::waitpid(-1, &status, WNOHANG) == -1 && errno == ECHILD;
#endif
}

#ifdef _WIN32
namespace {

std::wstring wide(const std::string& utf8) {
    std::wstring out(utf8.size(), L'\0');
    out.resize(static_cast<std::size_t>(::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                                              out.data(), static_cast<int>(out.size()))));
    return out;
}

std::string utf8(const std::wstring& w) {
    std::string out(w.size() * 3, '\0');
    out.resize(
        static_cast<std::size_t>(::WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), out.data(),
                                                       static_cast<int>(out.size()), nullptr, nullptr)));
    return out;
}

}  // namespace
#endif

bool runningUnderWine() {
#ifdef _WIN32
    const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    return ntdll && ::GetProcAddress(ntdll, "wine_get_version");
#else
    return false;
#endif
}

std::optional<std::vector<std::string>> userRegistryStrings(const std::string& key, const std::string& value) {
#ifdef _WIN32
    const std::wstring k = wide(key), v = wide(value);
    DWORD type = 0, bytes = 0;
    if (::RegGetValueW(HKEY_CURRENT_USER, k.c_str(), v.c_str(), RRF_RT_REG_SZ | RRF_RT_REG_MULTI_SZ, &type, nullptr,
                       &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    std::wstring data(bytes / sizeof(wchar_t) + 1, L'\0');
    if (::RegGetValueW(HKEY_CURRENT_USER, k.c_str(), v.c_str(), RRF_RT_REG_SZ | RRF_RT_REG_MULTI_SZ, &type, data.data(),
                       &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    data.resize(bytes / sizeof(wchar_t));
    std::vector<std::string> strings;
    std::size_t at = 0;
    while (at < data.size() && data[at] != L'\0') {
        const std::size_t end = std::min(data.find(L'\0', at), data.size());
        strings.push_back(utf8(data.substr(at, end - at)));
        at = end + 1;
        if (type == REG_SZ) break;
    }
    return strings;
#else
    (void)key;
    (void)value;
    return std::nullopt;
#endif
}

void removeUserRegistryKey(const std::string& key) {
#ifdef _WIN32
    ::RegDeleteTreeW(HKEY_CURRENT_USER, wide(key).c_str());
#else
    (void)key;
#endif
}

}  // namespace kazuban::testing
