#include "usage.h"

#include <memory>

namespace kazuban::cli {

namespace {

constexpr const char* kProgram = "kazuban-cli";

bool startsWith(const std::string& s, const std::string& prefix) { return s.rfind(prefix, 0) == 0; }

bool endsWith(const std::string& s, const std::string& suffix) {
    return s.size() >= suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

std::string joined(const std::vector<std::string>& items, const char* separator) {
    std::string out;
    for (const std::string& item : items) out += (out.empty() ? "" : separator) + item;
    return out;
}

// A help line: the name, padded to the column by display width, and the
// description, each of its further lines indented to the column.
std::string helpLine(const std::string& name, const std::string& description, std::size_t column) {
    std::string out = "  " + name;
    const std::size_t width = displayWidth(out);
    if (!description.empty()) {
        if (width >= column) out += "\n" + std::string(column, ' ');
        else out += std::string(column - width, ' ');
        for (char c : description) {
            out += c;
            if (c == '\n') out += std::string(column, ' ');
        }
    }
    return out + "\n";
}

// The command whose arguments were being read, for the hint to its help.
const CLI::App* commandOf(const CLI::App* app) {
    const std::vector<const CLI::App*> parsed = app->get_subcommands([](const CLI::App* sub) { return sub->parsed(); });
    return parsed.empty() ? nullptr : parsed.front();
}

std::vector<std::string> commandNames(const CLI::App* app) {
    std::vector<std::string> names;
    for (const CLI::App* sub : app->get_subcommands([](const CLI::App*) { return true; }))
        names.push_back(sub->get_name());
    return names;
}

// The name before ": " in CLI11's "NAME: ..." messages, and what follows.
bool splitNamed(const std::string& what, std::string* name, std::string* rest) {
    const std::size_t colon = what.find(": ");
    if (colon == std::string::npos) return false;
    *name = what.substr(0, colon);
    *rest = what.substr(colon + 2);
    return true;
}

template <class Kind>
bool is(const CLI::Error& e) {
    // By type: CLI11 names some errors after the command that raised them.
    return dynamic_cast<const Kind*>(&e) != nullptr;
}

std::string sentenceOf(const CLI::App* app, const CLI::Error& e) {
    const std::string what = e.what();
    std::string name, rest;
    if (is<CLI::RequiredError>(e)) {
        if (startsWith(what, "A subcommand") || startsWith(what, "Requires at least")) {
            const std::vector<std::string> typed = app->remaining(true);
            const std::string list = "（" + joined(commandNames(app), " ") + "）";
            if (!typed.empty()) return "コマンド「" + typed.front() + "」はありません" + list + "。";
            return "コマンドを指定して下さい" + list + "。";
        }
        if (endsWith(what, " is required")) return what.substr(0, what.size() - 12) + " を指定して下さい。";
    }
    if (is<CLI::ExtrasError>(e)) {
        std::vector<std::string> extras = app->remaining(true);
        if (extras.empty() && splitNamed(what, &name, &rest)) extras = {rest};
        return "次の引数は使えません：" + joined(extras, " ");
    }
    if (is<CLI::ValidationError>(e) && splitNamed(what, &name, &rest)) {
        // oneOf's messages begin with "の値": they follow the name.
        if (startsWith(rest, "の値")) return name + " " + rest;
        return name + " の値が正しくありません（" + rest + "）。";
    }
    if (is<CLI::ConversionError>(e)) {
        // "Could not convert: NAME = VALUE" or "The value VALUE is not an allowed value for NAME".
        const std::size_t equals = what.find(" = ");
        if (startsWith(what, "Could not convert: ") && equals != std::string::npos) {
            const std::size_t from = std::string("Could not convert: ").size();
            return what.substr(from, equals - from) + " の値「" + what.substr(equals + 3) +
                   "」は使えません。範囲内の整数を指定して下さい。";
        }
        const std::size_t forName = what.find(" is not an allowed value for ");
        if (startsWith(what, "The value ") && forName != std::string::npos)
            return what.substr(forName + 29) + " の値「" + what.substr(10, forName - 10) +
                   "」は使えません。範囲内の整数を指定して下さい。";
    }
    if (is<CLI::ArgumentMismatch>(e) && splitNamed(what, &name, &rest) && endsWith(rest, " missing"))
        return name + " の値を指定して下さい。";
    return "引数が正しくありません（" + what + "）。";
}

}  // namespace

std::size_t displayWidth(const std::string& utf8) {
    std::size_t width = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        const std::size_t n = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
        char32_t c = n == 1 ? b : n == 2 ? (b & 0x1F) : n == 3 ? (b & 0x0F) : (b & 0x07);
        for (std::size_t k = 1; k < n && i + k < utf8.size(); ++k)
            c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        i += n;
        // Wide: Hangul Jamo, CJK and the full-width forms; the half-width
        // katakana (U+FF61-FF9F) take one column.
        const bool wide = (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) ||
                          (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
                          (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
                          (c >= 0xFFE0 && c <= 0xFFE6) || c >= 0x20000;
        width += wide ? 2 : 1;
    }
    return width;
}

JapaneseFormatter::JapaneseFormatter() {
    label("Usage", "使い方");
    label("OPTIONS", "オプション");
    label("SUBCOMMAND", "コマンド");
    label("SUBCOMMANDS", "コマンド");
    label("Positionals", "引数");
    label("REQUIRED", "(必須)");
    label("TEXT", "文字列");
    label("INT", "整数");
    label("UINT", "整数");
    label("Env", "環境変数");
    label("Needs", "必要:");
    label("Excludes", "併用不可:");
    column_width(30);
}

std::string JapaneseFormatter::make_description(const CLI::App* app) const {
    // The description alone: the program never makes options required in
    // groups, whose notes CLI11 writes in English.
    const std::string description = app->get_description();
    return description.empty() ? std::string() : description + "\n";
}

std::string JapaneseFormatter::make_option(const CLI::Option* opt, bool isPositional) const {
    return helpLine(make_option_name(opt, isPositional) + make_option_opts(opt), make_option_desc(opt),
                    get_column_width());
}

std::string JapaneseFormatter::make_subcommand(const CLI::App* sub) const {
    return helpLine(sub->get_name(), sub->get_description(), get_column_width());
}

void useJapanese(CLI::App& app) {
    app.formatter(std::make_shared<JapaneseFormatter>());
    app.failure_message(usageErrorMessage);
    app.option_defaults()->group("オプション");
    app.group(kCommandGroup);
    japaneseHelpFlag(app);
}

void japaneseHelpFlag(CLI::App& app) {
    // Made again once the options' group is set (a command makes its own
    // before it takes over its parent's), so that it is listed with them.
    app.set_help_flag("-h,--help", "この説明を表示します");
}

std::string usageErrorMessage(const CLI::App* app, const CLI::Error& e) {
    const CLI::App* command = commandOf(app);
    const std::string help = std::string(kProgram) + (command ? " " + command->get_name() : std::string()) + " --help";
    return sentenceOf(app, e) + "\n詳しくは " + help + " で説明を見て下さい。\n";
}

CLI::Validator oneOf(std::vector<std::string> allowed) {
    const std::string list = joined(allowed, ", ");
    return CLI::Validator(
        [allowed = std::move(allowed), list](std::string& value) -> std::string {
            for (const std::string& a : allowed)
                if (value == a) return {};
            return "の値「" + value + "」は使えません。" + list + " のどれかを指定して下さい。";
        },
        "");
}

std::optional<unsigned long long> parseSeed(const std::string& text) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return std::nullopt;
    unsigned long long v = 0;
    constexpr unsigned long long kMax = ~0ULL;
    for (char c : text) {
        const auto digit = static_cast<unsigned long long>(c - '0');
        if (v > (kMax - digit) / 10) return std::nullopt;
        v = v * 10 + digit;
    }
    return v;
}

}  // namespace kazuban::cli
