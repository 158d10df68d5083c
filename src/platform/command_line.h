#pragma once
// Starting other programs from a command line, without a shell: the command
// line is split into program and arguments (double quotes group; nothing else
// is special) and the program is started detached, so a URL or path is never
// interpreted by a shell. output/launcher.h composes the command lines.
#include <string>
#include <string_view>
#include <vector>

namespace kazuban::platform {

// The browser and editor that the composed command lines fall back to.
inline constexpr std::string_view kFallbackBrowser = "\\Program Files\\Internet Explorer\\IEXPLORE.EXE";
inline constexpr std::string_view kFallbackEditor = "notepad.exe";

// Splits a command line: blanks separate arguments, double quotes group
// (and are removed). When the unquoted text holds a program path with blanks
// (the Windows fallback browser), the longest leading run of words that names
// an existing file is taken as the program; likewise the longest trailing run
// of words that names an existing file as written (a file in a folder whose
// name holds blanks or double quotes) is taken as the last argument.
std::vector<std::string> splitCommandLine(const std::string& commandLine);

// The program and arguments that startCommandLine starts: splitCommandLine,
// except that the Windows fallback browser and editor become the system
// opener (xdg-open, open) on systems that have neither. Empty when the
// program is empty.
std::vector<std::string> launchArguments(const std::string& commandLine);

// The command line that hands each of argv to a Windows program whole: an
// argument with blanks or double quotes is quoted, a quote inside it escaped
// and the backslashes before a quote doubled, as the programs' runtime reads
// them back. The program (argv[0]) is quoted when it holds a blank.
std::string windowsCommandLine(const std::vector<std::string>& argv);

// Starts the program detached, does not wait. Throws AppError: kInvalidCall
// (empty program), kPermissionDenied, kFileNotFound or another kind.
void startCommandLine(const std::string& commandLine);

}  // namespace kazuban::platform
