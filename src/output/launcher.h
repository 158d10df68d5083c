#pragma once
// Composing the command lines that start other programs, and starting them
// without a shell: the command line is split into program and arguments
// (double quotes group; nothing else is special) and the program is started
// detached, so a URL or path is never interpreted by a shell.
#include <string>
#include <vector>

namespace kazuban::output {

// What the callers add after the error's own text when a start fails.
inline constexpr const char* kBrowserHint = "ﾌﾞﾗｳｻﾞｰの登録場所を確認・再登録して下さい";
inline constexpr const char* kEditorHint = "atarimgrp.txt ﾌｧｲﾙを Kazuban と同じﾌｫﾙﾀﾞｰに置いて下さい";

// Browser on a URL (online fetch, link jump): browsdir + " " + Q + url + Q,
// or the fallback browser when browsdir is empty. A double quote inside the
// URL is written as %22.
std::string browserCommandLine(const std::string& browsdir, const std::string& url);
// Home page of the settings dialog: the URL unquoted.
std::string homePageCommandLine(const std::string& browsdir, const std::string& url);
// Editor on startdir's atarimgrp.txt; `editorExists` tells whether a file exists at editdir.
std::string editorCommandLine(const std::string& editdir, bool editorExists, const std::string& startdir);
// Spreadsheet program on a print file: calcdir + " " + path; without a
// calcdir the desktop's opener (xdg-open) on the path.
std::string spreadsheetCommandLine(const std::string& calcdir, const std::string& path);

// Splits a command line: blanks separate arguments, double quotes group
// (and are removed). When the unquoted text holds a program path with blanks
// (the Windows fallback browser), the longest leading run of words that names
// an existing file is taken as the program; likewise the longest trailing run
// of words that names an existing file as written (a file in a folder whose
// name holds blanks or double quotes) is taken as the last argument.
std::vector<std::string> splitCommandLine(const std::string& commandLine);

// The program and arguments that startCommandLine starts: splitCommandLine,
// except that the Windows fallback browser and editor ("\Program Files\Internet
// Explorer\IEXPLORE.EXE", "notepad.exe") become the system opener (xdg-open,
// open) on systems that have neither. Empty when the program is empty.
std::vector<std::string> launchArguments(const std::string& commandLine);

// Starts the program detached, does not wait. Throws AppError: kInvalidCall
// (empty program), kPermissionDenied, kFileNotFound or another kind.
void startCommandLine(const std::string& commandLine);

}  // namespace kazuban::output
