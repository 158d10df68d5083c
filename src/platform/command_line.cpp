#include "platform/command_line.h"

#include "platform/system.h"
#include "text/app_error.h"
#include "text/path_text.h"

namespace kazuban::platform {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

struct Word {
    std::string text;       // quotes removed
    std::size_t begin = 0;  // byte span in the command line, quotes included
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
    if (path.size() > kLongestPath) return false;
    std::error_code ec;
    return std::filesystem::is_regular_file(text::pathFromUtf8(path), ec);
}

}  // namespace

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
    else out.push_back(words[0].text);

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
    if (fileFrom < words.size())
        out.push_back(commandLine.substr(words[fileFrom].begin, words.back().end - words[fileFrom].begin));
    return out;
}

std::vector<std::string> launchArguments(const std::string& commandLine) {
    // A command line that starts with a blank has no program (an empty path).
    if (commandLine.empty() || isBlank(commandLine.front())) return {};
    const std::string opener = systemOpener();
    const std::string_view line = commandLine;
    if (!opener.empty() && line.starts_with(kFallbackBrowser) &&
        (line.size() == kFallbackBrowser.size() || isBlank(line[kFallbackBrowser.size()]))) {
        std::vector<std::string> out{opener};
        for (auto& w : splitWords(line.substr(kFallbackBrowser.size()))) out.push_back(std::move(w.text));
        return out;
    }
    std::vector<std::string> out = splitCommandLine(commandLine);
    if (out.empty() || out.front().empty()) return {};
    if (!opener.empty() && out.front() == kFallbackEditor) out.front() = opener;
    return out;
}

std::string windowsCommandLine(const std::vector<std::string>& argv) {
    std::string line;
    for (std::size_t i = 0; i < argv.size(); ++i) {
        const std::string& a = argv[i];
        if (i > 0) line += ' ';
        if (i == 0) {
            // The program name ends at the next blank or at its closing quote;
            // it holds no quote of its own.
            const bool quote = a.empty() || a.find_first_of(" \t") != std::string::npos;
            line += quote ? "\"" + a + "\"" : a;
            continue;
        }
        if (!a.empty() && a.find_first_of(" \t\n\v\"") == std::string::npos) {
            line += a;
            continue;
        }
        line += '"';
        std::size_t slashes = 0;
        for (char c : a) {
            if (c == '\\') {
                ++slashes;
            } else if (c == '"') {
                line.append(slashes + 1, '\\');  // backslashes before a quote double, the quote is escaped
                slashes = 0;
            } else {
                slashes = 0;
            }
            line += c;
        }
        line.append(slashes, '\\');  // before the closing quote
        line += '"';
    }
    return line;
}

void startCommandLine(const std::string& commandLine) {
    const std::vector<std::string> argv = launchArguments(commandLine);
    if (argv.empty()) throw AppError(kInvalidCall, "起動するプログラムが指定されていません。");
    startDetached(argv);
}

}  // namespace kazuban::platform
