#include "config/env_file.h"

#include "config/hosts.h"
#include "platform/line_file.h"

namespace kazuban::config {

Links EnvironmentSlots::links() const {
    Links out;
    for (int i = 0; i < kLinkCount; ++i) out[static_cast<std::size_t>(i)] = link(i);
    return out;
}

std::string valueAfterEquals(std::string_view line) {
    // "=" is ASCII and never part of a multi-byte UTF-8 sequence, so a byte
    // search finds the same place as a character search.
    const auto p = line.find('=');
    return std::string(p == std::string_view::npos ? line : line.substr(p + 1));
}

EnvironmentSlots environmentFromLines(const std::vector<std::string>& lines, ReadRule rule) {
    EnvironmentSlots env;
    const int n = static_cast<int>(lines.size());
    env.linesRead = n < kEnvironmentSlots ? n : kEnvironmentSlots;
    env.linesIgnored = n - env.linesRead;
    for (int k = 0; k < env.linesRead; ++k) {
        const std::string& line = lines[static_cast<std::size_t>(k)];
        const bool cut = rule == ReadRule::Settings || k < 5;
        env.slots[static_cast<std::size_t>(k)] = cut ? valueAfterEquals(line) : line;
    }
    return env;
}

EnvironmentSlots readEnvironmentFile(const std::filesystem::path& file, ReadRule rule) {
    // Lines beyond the slots are not even decoded.
    return environmentFromLines(platform::readFirstLines(file, kEnvironmentSlots).lines, rule);
}

namespace {

// A value is one line of the file: a line break pasted into a box would
// otherwise push every later value onto the wrong line. Each break becomes a blank.
std::string oneLine(const std::string& value) {
    if (value.find_first_of("\r\n") == std::string::npos) return value;
    std::string out;
    out.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < value.size() && value[i + 1] == '\n') ++i;
            out += ' ';
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace

std::vector<std::string> environmentFileLines(const std::string& editdir, const std::string& datadir,
                                              const std::string& calcdir, const std::string& browsdir,
                                              const Links& links) {
    std::vector<std::string> lines{kEnvironmentHeader, "Your editor=" + oneLine(editdir),
                                   "Your data dirctory=" + oneLine(datadir), "Your calcsoft=" + oneLine(calcdir),
                                   "Your browser=" + oneLine(browsdir)};
    for (const auto& link : links) lines.push_back(oneLine(link));
    return lines;
}

void writeEnvironmentFile(const std::filesystem::path& file, const std::string& editdir, const std::string& datadir,
                          const std::string& calcdir, const std::string& browsdir, const Links& links) {
    platform::writeLinesCp932(file, environmentFileLines(editdir, datadir, calcdir, browsdir, links));
}

Links defaultLinks() {
    struct Entry {
        const char* label;
        const char* path;
    };
    static constexpr Entry kEntries[8] = {
        {"偶数・奇数", "/miniloto/mltgk.htm"},           {"当選数字ばらつき", "/miniloto/mlbaratuki.htm"},
        {"出現数字回数", "/miniloto/mltzenkaimade.htm"}, {"当選数字引っ張り", "/miniloto/mlthipparisaisin.htm"},
        {"出現間隔", "/miniloto/mltkankaku2.htm"},       {"６分割", "/miniloto/ml6bunkatu.htm"},
        {"当選数字合計", "/miniloto/mltgoukei.htm"},     {"連番・飛び石", "/miniloto/mltrentobi.htm"},
    };
    Links out;
    for (int i = 0; i < 8; ++i)
        out[static_cast<std::size_t>(i)] =
            std::string(kEntries[i].label) + "=http://" + kStatisticsHost + kEntries[i].path;
    out[8] = "追加登録=http://www.";
    return out;
}

}  // namespace kazuban::config
