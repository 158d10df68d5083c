#include "support/os.h"

#include <cerrno>
#include <cstdlib>

#ifdef _WIN32
#include <stdlib.h>
#else
#include <sys/stat.h>
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

}  // namespace kazuban::testing
