#pragma once
// kazuban-cli's help and usage errors in Japanese, through CLI11's own
// formatter and failure-message hooks: the help's headings, labels and type
// names, its columns aligned by display width, and a Japanese sentence for
// each kind of parse error, with the hint to --help.
#include <CLI/CLI.hpp>

#include <optional>
#include <string>
#include <vector>

namespace kazuban::cli {

class JapaneseFormatter : public CLI::Formatter {
public:
    JapaneseFormatter();

    std::string make_description(const CLI::App* app) const override;
    std::string make_option(const CLI::Option* opt, bool isPositional) const override;
    std::string make_subcommand(const CLI::App* sub) const override;
};

// Sets the formatter, the failure message, the help flag and the group
// names on the program's app; its commands, added afterwards, take them over
// once japaneseHelpFlag has made each command's help flag again.
void useJapanese(CLI::App& app);
void japaneseHelpFlag(CLI::App& app);
// The group name of a command in the help.
inline constexpr const char* kCommandGroup = "コマンド";

// The message of a usage error, as the failure hook prints it.
std::string usageErrorMessage(const CLI::App* app, const CLI::Error& e);

// The value must be one of `allowed`; the message names them.
CLI::Validator oneOf(std::vector<std::string> allowed);

// A random seed: a decimal whole number from 0 to 2^64 - 1 (leading zeros
// allowed); nullopt for anything else.
std::optional<unsigned long long> parseSeed(const std::string& text);
inline constexpr const char* kSeedRange = "--seed は 0 から 18446744073709551615 までの整数です。";

// Columns a text takes in a terminal: two for wide (East Asian) characters.
std::size_t displayWidth(const std::string& utf8);

}  // namespace kazuban::cli
