// Starts Kazuban in the player's own data folder, %USERPROFILE%\Kazuban (or
// KAZUBAN_HOME), as the Start menu entry of the Windows installer does; the
// counterpart of kazuban-start on Linux. The program reads atarimgrp.txt and
// Kazuban.ini from its current folder; on first start the folder is created
// with the demo files installed beside this launcher. kazuban.exe started
// directly keeps the classic start folder, its current one.
#include <windows.h>

#include <string>

namespace {

std::wstring environment(const wchar_t* name) {
    const DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0) return {};
    std::wstring value(size, L'\0');
    value.resize(GetEnvironmentVariableW(name, value.data(), size));
    return value;
}

std::wstring programFolder() {
    std::wstring path(32768, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    return path.substr(0, path.find_last_of(L"\\/"));
}

int fail(const std::wstring& text) {
    MessageBoxW(nullptr, text.c_str(), L"Kazuban", MB_OK | MB_ICONERROR);
    return 1;
}

// The arguments of this launcher's command line, passed on as they came.
std::wstring ownArguments() {
    const wchar_t* line = GetCommandLineW();
    bool quoted = false;
    for (; *line && (quoted || (*line != L' ' && *line != L'\t')); ++line)
        if (*line == L'"') quoted = !quoted;
    while (*line == L' ' || *line == L'\t') ++line;
    return line;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const std::wstring here = programFolder();
    std::wstring data = environment(L"KAZUBAN_HOME");
    if (data.empty()) {
        const std::wstring profile = environment(L"USERPROFILE");
        if (profile.empty()) return fail(L"ユーザーのフォルダー（USERPROFILE）が分かりません。");
        data = profile + L"\\Kazuban";
    }
    if (GetFileAttributesW(data.c_str()) == INVALID_FILE_ATTRIBUTES) {
        if (!CreateDirectoryW(data.c_str(), nullptr)) return fail(L"データのフォルダーを作れません：\n" + data);
        for (const wchar_t* name : {L"atarimgrp.txt", L"Kazuban.ini", L"sample_combos.txt"}) {
            const std::wstring from = here + L"\\demo\\" + name;
            if (!CopyFileW(from.c_str(), (data + L"\\" + name).c_str(), TRUE))
                return fail(L"デモのファイルを写せません：\n" + from);
        }
    }
    const std::wstring program = here + L"\\kazuban.exe";
    std::wstring line = L"\"" + program + L"\"";
    const std::wstring arguments = ownArguments();
    if (!arguments.empty()) line += L" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, data.c_str(), &startup,
                        &process))
        return fail(L"Kazuban を起動できません：\n" + program);
    // The launcher ends with the program, with its exit status.
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD status = 1;
    GetExitCodeProcess(process.hProcess, &status);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(status);
}
