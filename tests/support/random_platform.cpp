#include "support/random_platform.h"

#include <algorithm>
#include <array>
#include <filesystem>

#include "support/history_gen.h"
#include "text/app_error.h"
#include "text/path_text.h"

namespace kazuban::testing {

namespace fs = std::filesystem;

namespace {

int pickIn(std::mt19937_64& rng, int n) { return n <= 1 ? 0 : static_cast<int>(rng() % static_cast<unsigned>(n)); }
int betweenIn(std::mt19937_64& rng, int lo, int hi) { return lo + pickIn(rng, hi - lo + 1); }
bool chanceIn(std::mt19937_64& rng, double p) {
    return static_cast<double>(rng() >> 11) * (1.0 / 9007199254740992.0) < p;
}

std::string field(int n) { return numberField(n); }

std::string utf8Path(const fs::path& p) {
    const std::u8string u = p.u8string();
    return std::string(u.begin(), u.end());
}

}  // namespace

// ---- the platform --------------------------------------------------------------

int RandomPlatform::pick(int n) { return pickIn(rng, n); }
int RandomPlatform::between(int lo, int hi) { return betweenIn(rng, lo, hi); }
bool RandomPlatform::chance(double p) { return chanceIn(rng, p); }

int RandomPlatform::messageBox(const std::string& text, platform::Icon icon, platform::Buttons buttons) {
    if (answers.empty()) {
        switch (buttons) {
        case platform::Buttons::Ok: answers.push_back(platform::kOk); break;
        case platform::Buttons::OkCancel: answers.push_back(chance(0.5) ? platform::kOk : platform::kCancel); break;
        case platform::Buttons::YesNoCancel: {
            static constexpr std::array<int, 3> kChoices{platform::kYes, platform::kNo, platform::kCancel};
            answers.push_back(kChoices[static_cast<std::size_t>(pick(3))]);
            break;
        }
        }
    }
    lastAnswer = FakePlatform::messageBox(text, icon, buttons);
    lastMessage = text;
    event("message \"" + text + "\" -> " + std::to_string(lastAnswer));
    return lastAnswer;
}

std::optional<std::filesystem::path> RandomPlatform::openFileDialog(const platform::FileDialogOptions& o) {
    if (openAnswers.empty()) {
        if (openChoices.empty() || chance(0.12)) openAnswers.push_back(std::nullopt);
        else openAnswers.push_back(openChoices[static_cast<std::size_t>(pick(static_cast<int>(openChoices.size())))]);
    }
    auto chosen = FakePlatform::openFileDialog(o);
    event("open dialog -> " + (chosen ? "\"" + text::utf8FromPath(*chosen) + "\"" : std::string("Cancel")));
    return chosen;
}

std::optional<std::filesystem::path> RandomPlatform::saveFileDialog(const platform::FileDialogOptions& o) {
    if (saveAnswers.empty()) {
        if (saveChoices.empty() || chance(0.12)) saveAnswers.push_back(std::nullopt);
        else saveAnswers.push_back(saveChoices[static_cast<std::size_t>(pick(static_cast<int>(saveChoices.size())))]);
    }
    auto chosen = FakePlatform::saveFileDialog(o);
    event("save dialog -> " + (chosen ? "\"" + text::utf8FromPath(*chosen) + "\"" : std::string("Cancel")));
    return chosen;
}

std::string RandomPlatform::clipboardText() {
    if (chance(foreignClipboardChance)) clipboard = randomClipboardText(rng);
    event("clipboard holds \"" + clipboard.substr(0, 60) + "\"");
    return clipboard;
}

void RandomPlatform::startProgram(const std::string& commandLine) {
    FakePlatform::startProgram(commandLine);
    const bool fails = chance(failStartChance);
    event("start \"" + commandLine + "\"" + (fails ? " fails" : ""));
    if (!fails) return;
    static constexpr std::array<ErrorCode, 3> kKinds{kInvalidCall, kPermissionDenied, kFileNotFound};
    const ErrorCode kind = kKinds[static_cast<std::size_t>(pick(3))];
    throw AppError(kind, defaultErrorText(kind));
}

std::optional<platform::NewDraw> RandomPlatform::askNewDraw(int drawNumber, const platform::NewDraw& opened) {
    FakePlatform::askNewDraw(drawNumber, opened);
    if (chance(0.25)) {
        event("entry form 第" + std::to_string(drawNumber) + "回 -> Cancel");
        return std::nullopt;
    }
    std::array<int, 31> pool{};
    for (int i = 0; i < 31; ++i) pool[static_cast<std::size_t>(i)] = i + 1;
    std::array<int, 6> numbers{};
    for (int i = 0; i < 6; ++i) {
        std::swap(pool[static_cast<std::size_t>(i)], pool[static_cast<std::size_t>(between(i, 30))]);
        numbers[static_cast<std::size_t>(i)] = pool[static_cast<std::size_t>(i)];
    }
    std::string shown;
    for (int n : numbers) shown += (shown.empty() ? "" : ",") + std::to_string(n);
    event("entry form 第" + std::to_string(drawNumber) + "回 -> " + shown);
    return platform::NewDraw{numbers, {}, {}, {}};
}

void RandomPlatform::forgetRecords() {
    messages.clear();
    openDialogs.clear();
    saveDialogs.clear();
    startedPrograms.clear();
    newDrawForms.clear();
    newDrawShown.clear();
}

// ---- random texts ----------------------------------------------------------------

std::string randomCombination(std::mt19937_64& rng) {
    std::array<int, 31> pool{};
    for (int i = 0; i < 31; ++i) pool[static_cast<std::size_t>(i)] = i + 1;
    for (int i = 0; i < 5; ++i)
        std::swap(pool[static_cast<std::size_t>(i)], pool[static_cast<std::size_t>(betweenIn(rng, i, 30))]);
    if (chanceIn(rng, 0.7)) std::sort(pool.begin(), pool.begin() + 5);
    return makeComboText({pool[0], pool[1], pool[2], pool[3], pool[4]});
}

std::string nearCombination(std::mt19937_64& rng) {
    std::string c = randomCombination(rng);
    switch (pickIn(rng, 10)) {
    case 0: {  // a leading zero instead of the blank
        const auto p = c.find(' ');
        if (p != std::string::npos) c[p] = '0';
        return c;
    }
    case 1: {  // the blank left out
        const auto p = c.find(' ');
        if (p != std::string::npos) c.erase(p, 1);
        return c;
    }
    case 2: c.replace(static_cast<std::size_t>(3 * pickIn(rng, 5)), 2, chanceIn(rng, 0.5) ? " 0" : "32"); return c;
    case 3: c.replace(9, 2, c.substr(0, 2)); return c;  // a number twice
    case 4: return "１２,１３," + c.substr(6);          // full-width digits
    case 5: return "No." + std::to_string(betweenIn(rng, 1, 999)) + "  " + c;
    case 6: return c + std::string(static_cast<std::size_t>(betweenIn(rng, 1, 3)), ' ') + "ﾒﾓ";
    case 7: return c.substr(0, static_cast<std::size_t>(betweenIn(rng, 0, 13)));
    case 8: return c + "," + field(betweenIn(rng, 1, 31));
    default: {  // "=" and commas where the program looks for them
        std::string s = c;
        s[static_cast<std::size_t>(pickIn(rng, 14))] = chanceIn(rng, 0.5) ? '=' : ',';
        return s;
    }
    }
}

std::string junkLine(std::mt19937_64& rng, int maxLength) {
    static const std::array<const char*, 23> kPieces{
        "a",      "Z",   "0",  "7",    ",",  "=",  " ", "\t",           "-", ".", "e", "&H", "\"", "あ",
        "組合せ", "ｱｲｳ", "１", "２３", "第", "回", "😀", "\xEF\xBF\xBD", "\\"};
    const int n = betweenIn(rng, 0, maxLength);
    std::string s;
    for (int i = 0; i < n; ++i) {
        const int k = pickIn(rng, static_cast<int>(kPieces.size()) + 1);
        if (k == static_cast<int>(kPieces.size())) s.push_back('\0');
        else s += kPieces[static_cast<std::size_t>(k)];
    }
    return s;
}

std::string randomLineEnd(std::mt19937_64& rng) {
    switch (pickIn(rng, 4)) {
    case 0: return "\n";
    case 1: return "\r";
    default: return "\r\n";
    }
}

std::string randomClipboardText(std::mt19937_64& rng) {
    switch (pickIn(rng, 9)) {
    case 0: return "";
    case 1: return junkLine(rng, 40);
    case 2: return std::string(static_cast<std::size_t>(betweenIn(rng, 1000, 20000)), "1,2 "[pickIn(rng, 4)]);
    case 3: return "\r\n" + randomCombination(rng) + "\r\n";
    case 4: return "ミニロト 組合せ一覧\r\n第１回　１２，１３\r\n";
    default: break;
    }
    // A block of lines, mostly combinations, with mixed line ends.
    const int lines = chanceIn(rng, 0.05) ? betweenIn(rng, 900, 1300) : betweenIn(rng, 1, 30);
    std::string s;
    const bool oneEnd = chanceIn(rng, 0.5);
    const std::string end = randomLineEnd(rng);
    for (int i = 0; i < lines; ++i) {
        const int kind = pickIn(rng, 10);
        if (kind < 6) s += randomCombination(rng);
        else if (kind < 8) s += nearCombination(rng);
        else if (kind < 9) s += junkLine(rng, 20);
        s += oneEnd ? end : randomLineEnd(rng);
    }
    if (chanceIn(rng, 0.3)) s += randomCombination(rng);  // a last line without a line end
    return s;
}

std::string randomLinkText(std::mt19937_64& rng) {
    switch (pickIn(rng, 8)) {
    case 0: return "";
    case 1: return "統計=http://example.jp/a?b=c&d=" + std::to_string(betweenIn(rng, 0, 99));
    case 2: return "ラベルだけ";
    case 3: return "http://example.jp/no-label";
    case 4: return "x=ftp://example.jp/";
    case 5: return junkLine(rng, 30);
    case 6: return "絵文字😀=http://example.jp/";  // cp932 cannot hold it
    default:
        return "自作" + std::to_string(betweenIn(rng, 1, 9)) + "=http://www.example.jp/p" +
               std::to_string(betweenIn(rng, 1, 99)) + ".htm";
    }
}

std::string randomPathText(std::mt19937_64& rng, const std::string& folder) {
    switch (pickIn(rng, 7)) {
    case 0: return "";
    case 1: return folder;
    case 2: return folder + "/ない/program.exe";
    case 3: return "C:\\Program Files\\Excel\\Excel.exe";
    case 4: return "/usr/bin/true --option";
    case 5: return "表計算😀";  // cp932 cannot hold it
    default: return junkLine(rng, 12);
    }
}

std::string historyLine(std::mt19937_64& rng, int number, bool malformed) {
    const std::string label = "第" + std::to_string(number) + "回=";
    if (!malformed) {
        const auto d = syntheticDraws(1, static_cast<unsigned>(rng()))[0];
        return label + makeDrawText(d);
    }
    switch (pickIn(rng, 7)) {
    case 0: return label + " 1, 2, 3";
    case 1: return label + "99,99,99,99,99,99";
    case 2: return label + "01,02,03,04,05,06";
    case 3: return "第" + std::to_string(number) + "回 1, 2, 3, 4, 5, 6";  // no "="
    case 4: return "";
    case 5: return label + "-1, 2, 3, 4, 5, 6";
    default: return label + junkLine(rng, 20);
    }
}

std::vector<std::string> makeOpenChoices(const TempDir& dir, std::mt19937_64& rng) {
    fs::create_directories(dir.file("pool") / "folder.txt");
    std::vector<std::string> out;
    auto add = [&](std::string_view name, std::string_view bytes) {
        out.push_back(utf8Path(dir.write("pool/" + std::string(name), bytes)));
    };
    auto combos = [&](int n) {
        std::vector<std::string> lines;
        for (int i = 0; i < n; ++i) lines.push_back(randomCombination(rng));
        return lines;
    };
    auto joined = [](const std::vector<std::string>& lines, std::string_view eol) {
        std::string s;
        for (const auto& l : lines) s += l + std::string(eol);
        return s;
    };

    out.push_back(utf8Path(dir.writeLines("pool/valid.txt", combos(8))));
    out.push_back(utf8Path(dir.writeLines("pool/組合せ.txt", combos(40))));
    out.push_back(utf8Path(dir.writeLines("pool/many.txt", combos(1200))));
    out.push_back(utf8Path(dir.writeLines("pool/lf.txt", combos(30), true, "\n")));
    {
        std::string mixed;
        for (int i = 0; i < 50; ++i)
            mixed += (i % 7 == 3 ? nearCombination(rng) : randomCombination(rng)) + randomLineEnd(rng);
        add("mixed.txt", mixed);
    }
    add("bom.txt",
        "\xEF\xBB\xBF"
        "組合せ一覧\r\n" +
            joined(combos(12), "\r\n"));
    {
        std::string junk;
        for (int i = 0; i < 60; ++i) junk += junkLine(rng, 30) + randomLineEnd(rng);
        add("junk.txt", junk);
    }
    {
        std::string bytes;
        for (int i = 0; i < 4096; ++i) bytes.push_back(static_cast<char>(rng() & 0xFF));
        add("binary.bin", bytes);
    }
    add("empty.txt", "");
    add("no_final_eol.txt", randomCombination(rng));
    add("bad_cp932.txt", "\x81\x20\x9F\r\n\xFC\xFC, 3, 9,14,22,30\r\n\x82\r\n");
    add("long_line.txt", std::string(200000, '7') + "\r\n" + randomCombination(rng) + "\r\n");
    {
        const fs::path sample = demoDir() / "sample_combos.txt";
        std::error_code ec;
        if (fs::exists(sample, ec)) {
            fs::copy_file(sample, dir.file("pool/sample_combos.txt"), fs::copy_options::overwrite_existing);
            out.push_back(utf8Path(dir.file("pool/sample_combos.txt")));
        }
    }
    out.push_back(utf8Path(dir.file("pool/folder.txt")));
    out.push_back(utf8Path(dir.file("pool/missing.txt")));
    out.push_back(utf8Path(dir.file("no_such_folder/x.txt")));
    out.push_back("");
    return out;
}

std::vector<std::string> makeSaveChoices(const TempDir& dir) {
    fs::create_directories(dir.file("out") / "folder.csv");
    dir.write("out/existing.txt", "old contents\r\n");
    return {utf8Path(dir.file("out/new.txt")),
            utf8Path(dir.file("out/existing.txt")),
            utf8Path(dir.file("out/保存.csv")),
            utf8Path(dir.file("out/table.csv")),
            utf8Path(dir.file("out/folder.csv")),
            utf8Path(dir.file("missing_folder/x.csv")),
            ""};
}

}  // namespace kazuban::testing
