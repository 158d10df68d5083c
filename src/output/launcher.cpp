#include "output/launcher.h"

#include <cerrno>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "text/app_error.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
extern char** environ;
#endif

namespace kazuban::output {

namespace {

// The browser and editor that the composed command lines fall back to.
constexpr std::string_view kFallbackBrowser = "\\Program Files\\Internet Explorer\\IEXPLORE.EXE";
constexpr std::string_view kFallbackEditor = "notepad.exe";

#if defined(__APPLE__)
constexpr const char* kSystemOpener = "open";
#elif !defined(_WIN32)
constexpr const char* kSystemOpener = "xdg-open";
#endif

// Opens a file with the desktop's default program for its kind.
#ifdef _WIN32
constexpr const char* kFileOpener = "explorer.exe";
#else
constexpr const char* kFileOpener = kSystemOpener;
#endif

bool isBlank(char c) { return c == ' ' || c == '\t'; }

struct Word {
    std::string text;         // quotes removed
    std::size_t begin = 0;    // byte span in the command line, quotes included
    std::size_t end = 0;
    bool quoted = false;
};

std::vector<Word> splitWords(std::string_view line) {
    std::vector<Word> words;
    std::size_t i = 0;
    const std::size_t n = line.size();
    while (i < n) {
        while (i < n && isBlank(line[i])) ++i;
        if (i >= n) break;
        Word w;
        w.begin = i;
        bool inQuotes = false;
        while (i < n && (inQuotes || !isBlank(line[i]))) {
            if (line[i] == '"') {
                inQuotes = !inQuotes;
                w.quoted = true;
            } else {
                w.text += line[i];
            }
            ++i;
        }
        w.end = i;
        words.push_back(std::move(w));
    }
    return words;
}

// Longer texts are no path this system can open, so they are not looked up.
constexpr std::size_t kLongestPath = 4096;

bool namesExistingFile(const std::string& path) {
    std::error_code ec;
    return path.size() <= kLongestPath && std::filesystem::is_regular_file(std::filesystem::path(path), ec);
}

std::string joinFile(const std::string& folder, const char* name) {
    return (std::filesystem::path(folder) / name).string();
}

[[noreturn]] void throwStartError(int err, const std::string& program) {
    switch (err) {
    case EACCES:
    case EPERM:
        throw AppError(kPermissionDenied, "プログラム「" + program + "」を起動する権限がありません。");
    case ENOENT:
        throw AppError(kFileNotFound, "プログラム「" + program + "」が見つかりません。");
    default:
        throw AppError(kPathFileAccess, "プログラム「" + program + "」を起動できません。(" +
                                            std::generic_category().message(err) + ")");
    }
}

#ifdef _WIN32

std::wstring widen(const std::string& s) {
    if (s.empty()) return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring w(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
    return w;
}

// Quotes one argument so that the started program's runtime reads it back whole.
std::wstring quoteArgument(const std::wstring& a) {
    if (!a.empty() && a.find_first_of(L" \t\"") == std::wstring::npos) return a;
    std::wstring out = L"\"";
    std::size_t slashes = 0;
    for (wchar_t c : a) {
        if (c == L'\\') {
            ++slashes;
        } else if (c == L'"') {
            out.append(slashes + 1, L'\\');   // backslashes before a quote double, the quote is escaped
            slashes = 0;
        } else {
            slashes = 0;
        }
        out += c;
    }
    out.append(slashes, L'\\');
    out += L'"';
    return out;
}

void startDetached(const std::vector<std::string>& argv) {
    std::wstring line;
    for (const auto& a : argv) {
        if (!line.empty()) line += L' ';
        line += quoteArgument(widen(a));
    }
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, DETACHED_PROCESS, nullptr,
                        nullptr, &si, &pi)) {
        const DWORD e = GetLastError();
        const int err = e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND ? ENOENT
                        : e == ERROR_ACCESS_DENIED                             ? EACCES
                                                                               : EIO;
        throwStartError(err, argv.front());
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}

#else

// Starts argv detached: an intermediate child spawns the program and exits at
// once, so the program is adopted by init and never stays a zombie of ours.
// The spawn's result comes back through a pipe.
void startDetached(const std::vector<std::string>& argv) {
    std::vector<char*> args;
    args.reserve(argv.size() + 1);
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);

    // Everything that allocates is prepared before fork().
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    short flags = POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF;
#ifdef POSIX_SPAWN_SETSID
    flags |= POSIX_SPAWN_SETSID;
#endif
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attr, &none);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    sigaddset(&defaults, SIGCHLD);
    sigaddset(&defaults, SIGINT);
    sigaddset(&defaults, SIGQUIT);
    posix_spawnattr_setsigdefault(&attr, &defaults);
    posix_spawnattr_setflags(&attr, flags);

    auto release = [&] {
        posix_spawnattr_destroy(&attr);
        posix_spawn_file_actions_destroy(&actions);
    };

    int fds[2];
    if (pipe(fds) != 0) {
        const int err = errno;
        release();
        throwStartError(err, argv.front());
    }
    fcntl(fds[0], F_SETFD, FD_CLOEXEC);
    fcntl(fds[1], F_SETFD, FD_CLOEXEC);

    const pid_t middle = fork();
    if (middle == 0) {
        close(fds[0]);
        pid_t pid = 0;
        int rc = posix_spawnp(&pid, args[0], &actions, &attr, args.data(), environ);
        ssize_t ignored = write(fds[1], &rc, sizeof rc);
        (void)ignored;
        _exit(0);
    }
    const int forkErr = errno;
    close(fds[1]);
    int rc = 0;
    if (middle < 0) {
        rc = forkErr;
    } else {
        std::size_t got = 0;
        auto* bytes = reinterpret_cast<char*>(&rc);
        while (got < sizeof rc) {
            const ssize_t r = read(fds[0], bytes + got, sizeof rc - got);
            if (r > 0) {
                got += static_cast<std::size_t>(r);
            } else if (r < 0 && errno == EINTR) {
                continue;
            } else {
                rc = EIO;   // the intermediate child died before reporting
                break;
            }
        }
        while (waitpid(middle, nullptr, 0) < 0 && errno == EINTR) {
        }
    }
    close(fds[0]);
    release();
    if (rc != 0) throwStartError(rc, argv.front());
}

#endif

}  // namespace

std::string browserCommandLine(const std::string& browsdir, const std::string& url) {
    // A double quote is no character of a URL; written as %22 it cannot end
    // the quoting early and hand the browser text of its own as options.
    std::string safe;
    safe.reserve(url.size());
    for (char c : url) {
        if (c == '"') safe += "%22";
        else safe += c;
    }
    const std::string quoted = "\"" + safe + "\"";
    if (browsdir.empty()) return std::string(kFallbackBrowser) + " " + quoted;
    return browsdir + " " + quoted;
}

std::string homePageCommandLine(const std::string& browsdir, const std::string& url) {
    if (browsdir.empty()) return std::string(kFallbackBrowser) + " " + url;
    return browsdir + " " + url;
}

std::string editorCommandLine(const std::string& editdir, bool editorExists, const std::string& startdir) {
    const std::string file = joinFile(startdir, "atarimgrp.txt");
    if (editdir.empty() || !editorExists) return std::string(kFallbackEditor) + " " + file;
    return editdir + " " + file;
}

std::string spreadsheetCommandLine(const std::string& calcdir, const std::string& path) {
    // Without a spreadsheet program the desktop opens the print file with its
    // default program for CSV files.
    if (calcdir.find_first_not_of(" \t") == std::string::npos) return std::string(kFileOpener) + " " + path;
    return calcdir + " " + path;
}

std::vector<std::string> splitCommandLine(const std::string& commandLine) {
    const std::vector<Word> words = splitWords(commandLine);
    std::vector<std::string> out;
    if (words.empty()) return out;

    // A program path with blanks reaches us unquoted: take the longest leading
    // run of unquoted words that names an existing file as the program.
    std::size_t plain = 0;
    while (plain < words.size() && !words[plain].quoted) ++plain;
    std::size_t programWords = 1;
    for (std::size_t k = plain; k >= 2; --k) {
        const std::size_t length = words[k - 1].end - words[0].begin;
        if (length > kLongestPath) continue;
        if (namesExistingFile(commandLine.substr(words[0].begin, length))) {
            programWords = k;
            break;
        }
    }
    if (programWords > 1)
        out.push_back(commandLine.substr(words[0].begin, words[programWords - 1].end - words[0].begin));
    else
        out.push_back(words[0].text);

    // The file the program is started on (the print file, atarimgrp.txt) is
    // unquoted as well, and the start-up folder's name may hold blanks or
    // double quotes: the longest trailing run of words whose text as written
    // names an existing file is one argument, taken as written.
    std::size_t fileFrom = words.size();
    for (std::size_t k = programWords; k < words.size(); ++k) {
        const std::size_t length = words.back().end - words[k].begin;
        const bool wouldChange = k + 1 < words.size() || words[k].quoted;
        if (!wouldChange || length > kLongestPath) continue;
        if (namesExistingFile(commandLine.substr(words[k].begin, length))) {
            fileFrom = k;
            break;
        }
    }
    for (std::size_t i = programWords; i < fileFrom; ++i) out.push_back(words[i].text);
    if (fileFrom < words.size()) out.push_back(commandLine.substr(words[fileFrom].begin, words.back().end - words[fileFrom].begin));
    return out;
}

std::vector<std::string> launchArguments(const std::string& commandLine) {
    // A command line that starts with a blank has no program (an empty path).
    if (commandLine.empty() || isBlank(commandLine.front())) return {};
#ifndef _WIN32
    const std::string_view line = commandLine;
    if (line.starts_with(kFallbackBrowser) &&
        (line.size() == kFallbackBrowser.size() || isBlank(line[kFallbackBrowser.size()]))) {
        std::vector<std::string> out{kSystemOpener};
        for (auto& w : splitWords(line.substr(kFallbackBrowser.size()))) out.push_back(std::move(w.text));
        return out;
    }
#endif
    std::vector<std::string> out = splitCommandLine(commandLine);
    if (out.empty() || out.front().empty()) return {};
#ifndef _WIN32
    if (out.front() == kFallbackEditor) out.front() = kSystemOpener;
#endif
    return out;
}

void startCommandLine(const std::string& commandLine) {
    const std::vector<std::string> argv = launchArguments(commandLine);
    if (argv.empty()) throw AppError(kInvalidCall, "起動するプログラムが指定されていません。");
    startDetached(argv);
}

}  // namespace kazuban::output
