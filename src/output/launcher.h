#pragma once
// Composing the command lines that start other programs. Starting them (split
// into program and arguments, no shell) is platform/command_line.h.
#include <filesystem>
#include <string>

#include "platform/command_line.h"

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
std::string editorCommandLine(const std::string& editdir, bool editorExists, const std::filesystem::path& startdir);
// When neither the editor of editdir nor the fallback can be started: says
// that no editor can open the history, and where one is registered.
std::string noEditorMessage(const std::string& editdir);
// Spreadsheet program on a print file: calcdir + " " + path; without a
// calcdir the desktop's opener (xdg-open) on the path.
std::string spreadsheetCommandLine(const std::string& calcdir, const std::string& path);
// The program that opens a file with the desktop's default program for it:
// the system's opener (xdg-open, open), explorer.exe on Windows.
std::string desktopOpener();

// Splitting and starting, as the callers of this folder know them.
using platform::launchArguments;
using platform::splitCommandLine;
using platform::startCommandLine;

}  // namespace kazuban::output
