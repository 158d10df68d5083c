#include "support/cli_run.h"

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "platform/line_file.h"
#include "support/os.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include "platform/command_line.h"
#include "text/path_text.h"
#endif

namespace kazuban::testing {

#ifdef _WIN32

namespace {

// The words of `args` as a POSIX shell reads them: blanks separate, single
// quotes keep their text as it is, double quotes group.
std::vector<std::string> shellWords(const std::string& args) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    char quote = 0;
    for (char c : args) {
        if (quote) {
            if (c == quote) quote = 0;
            else word += c;
        } else if (c == '\'' || c == '"') {
            quote = c;
            inWord = true;
        } else if (c == ' ' || c == '\t') {
            if (inWord) words.push_back(word);
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord) words.push_back(word);
    return words;
}

HANDLE inheritable(const std::filesystem::path& file, bool write) {
    SECURITY_ATTRIBUTES sa{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    return CreateFileW(file.c_str(), write ? GENERIC_WRITE : GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &sa,
                       write ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

CliRun runCli(const TempDir& scratch, const std::string& cwd, const std::string& args) {
    std::vector<std::string> argv{text::utf8FromPath(std::filesystem::path(KAZUBAN_CLI_PATH).make_preferred())};
    for (auto& w : shellWords(args)) argv.push_back(std::move(w));
    const std::string line = platform::windowsCommandLine(argv);
    std::wstring wide = text::pathFromUtf8(line).wstring();
    const HANDLE in = inheritable(L"NUL", false);
    const HANDLE out = inheritable(scratch.path() / "stdout.txt", true);
    const HANDLE err = inheritable(scratch.path() / "stderr.txt", true);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = in;
    si.hStdOutput = out;
    si.hStdError = err;
    PROCESS_INFORMATION pi{};
    const std::wstring folder = cwd.empty() ? std::wstring() : text::pathFromUtf8(cwd).wstring();
    CliRun r;
    if (CreateProcessW(nullptr, wide.data(), nullptr, nullptr, TRUE, 0, nullptr,
                       folder.empty() ? nullptr : folder.c_str(), &si, &pi)) {
        WaitForSingleObject(pi.hProcess, INFINITE);
        DWORD code = 0;
        GetExitCodeProcess(pi.hProcess, &code);
        r.status = static_cast<int>(code);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    CloseHandle(in);
    CloseHandle(out);
    CloseHandle(err);
    r.out = scratch.read("stdout.txt");
    r.err = scratch.read("stderr.txt");
    return r;
}

#else

CliRun runCli(const TempDir& scratch, const std::string& cwd, const std::string& args) {
    const std::string outFile = (scratch.path() / "stdout.txt").string();
    const std::string errFile = (scratch.path() / "stderr.txt").string();
    std::string cmd = "'" KAZUBAN_CLI_PATH "' " + args + " >'" + outFile + "' 2>'" + errFile + "'";
    if (!cwd.empty()) cmd = "cd '" + cwd + "' && " + cmd;
    CliRun r;
    r.status = exitStatusOf(std::system(cmd.c_str()));
    r.out = scratch.read("stdout.txt");
    r.err = scratch.read("stderr.txt");
    return r;
}

#endif

std::string golden(const std::string& name) {
    return platform::readFileBytes(std::filesystem::path(KAZUBAN_TESTDATA_DIR) / "golden" / name);
}

}  // namespace kazuban::testing
