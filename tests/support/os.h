#pragma once
// What tests need of the system beyond std::filesystem. The facilities that
// exist only on POSIX systems answer "not here" on Windows, and the tests
// that need them skip or leave that part out.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kazuban::testing {

#ifdef _WIN32
inline constexpr bool kPosix = false;
#else
inline constexpr bool kPosix = true;
#endif

// The user may read and write anything (root on POSIX).
bool runningAsRoot();
// Taking the rights away from a file or folder stops this user (POSIX, not root).
bool rightsBindThisUser();

void setEnvironment(const std::string& name, const std::string& value);
void unsetEnvironment(const std::string& name);

// The exit status in the raw result of std::system(), -1 when it did not exit.
int exitStatusOf(int raw);

// A named pipe at `path`; false where the system has none.
bool makeNamedPipe(const std::filesystem::path& path);
// A socket file (a bound local socket, closed again) at `path`; false where
// the system has none or the path is too long for one.
bool makeSocketFile(const std::filesystem::path& path);

// A file system of `kilobytes` mounted at the empty folder `at`, which really
// fills up; false when none can be mounted (only root on Linux can).
bool mountTinyDisk(const std::filesystem::path& at, int kilobytes);
void unmountTinyDisk(const std::filesystem::path& at);

// No child process of ours is left, not even one that ended unseen (a zombie).
bool noChildProcessLeft();

// The Windows build runs under Wine (false on Windows itself and elsewhere).
bool runningUnderWine();

// The strings of a value of the key HKEY_CURRENT_USER\<key> (REG_SZ or
// REG_MULTI_SZ), in UTF-8; nullopt when there is none, or no registry.
std::optional<std::vector<std::string>> userRegistryStrings(const std::string& key, const std::string& value);
// Removes HKEY_CURRENT_USER\<key> with everything under it (Windows only).
void removeUserRegistryKey(const std::string& key);

}  // namespace kazuban::testing
