#include "config/env_file.h"

#include "config/hosts.h"
#include "text/line_file.h"

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
    return environmentFromLines(text::readLines(file), rule);
}

std::vector<std::string> environmentFileLines(const std::string& editdir, const std::string& datadir,
                                              const std::string& calcdir, const std::string& browsdir,
                                              const Links& links) {
    std::vector<std::string> lines{kEnvironmentHeader, "Your editor=" + editdir, "Your data dirctory=" + datadir,
                                   "Your calcsoft=" + calcdir, "Your browser=" + browsdir};
    lines.insert(lines.end(), links.begin(), links.end());
    return lines;
}

void writeEnvironmentFile(const std::filesystem::path& file, const std::string& editdir,
                          const std::string& datadir, const std::string& calcdir,
                          const std::string& browsdir, const Links& links) {
    text::writeLinesCp932(file, environmentFileLines(editdir, datadir, calcdir, browsdir, links));
}

Links defaultLinks() {
    struct Entry {
        const char* label;
        const char* path;
    };
    static constexpr Entry kEntries[8] = {
        {"偶数・奇数", "/miniloto/mltgk.htm"},
        {"当選数字ばらつき", "/miniloto/mlbaratuki.htm"},
        {"出現数字回数", "/miniloto/mltzenkaimade.htm"},
        {"当選数字引っ張り", "/miniloto/mlthipparisaisin.htm"},
        {"出現間隔", "/miniloto/mltkankaku2.htm"},
        {"６分割", "/miniloto/ml6bunkatu.htm"},
        {"当選数字合計", "/miniloto/mltgoukei.htm"},
        {"連番・飛び石", "/miniloto/mltrentobi.htm"},
    };
    Links out;
    for (int i = 0; i < 8; ++i)
        out[static_cast<std::size_t>(i)] =
            std::string(kEntries[i].label) + "=http://" + kStatisticsHost + kEntries[i].path;
    out[8] = "追加登録=http://www.";
    return out;
}

}  // namespace kazuban::config
