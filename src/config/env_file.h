#pragma once
// Kazuban.ini, the environment file: the four program paths and the nine
// analysis links, known by line number alone (never by key).
//   line 1       header, never interpreted
//   lines 2..5   "Your editor=", "Your data dirctory=", "Your calcsoft=",
//                "Your browser=" + path
//   lines 6..14  analysis links 0..8, each a whole "label=URL" line
// Readers hold the file as 21 slots (line k + 1 in slot k); lines beyond the
// 21st are ignored.
#include <array>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kazuban::config {

inline constexpr const char* kEnvironmentFileName = "Kazuban.ini";
inline constexpr const char* kEnvironmentHeader = "[ Kazuban の環境ﾌｧｲﾙ ]";
inline constexpr int kEnvironmentSlots = 21;
inline constexpr int kLinkCount = 9;

using Links = std::array<std::string, kLinkCount>;

// How a reader cuts the lines.
enum class ReadRule {
    StartUp,   // lines 1..5 cut after their first "=", later lines whole
    Settings,  // every line cut after its first "="
};

struct EnvironmentSlots {
    std::array<std::string, kEnvironmentSlots> slots;
    int linesRead = 0;     // lines that went into slots (0..21)
    int linesIgnored = 0;  // lines beyond the 21st

    const std::string& editor() const { return slots[1]; }
    const std::string& dataFolder() const { return slots[2]; }
    const std::string& calcSoft() const { return slots[3]; }
    const std::string& browser() const { return slots[4]; }
    // Link i (0..8) is slot i + 5.
    const std::string& link(int i) const { return slots[static_cast<std::size_t>(i) + 5]; }
    Links links() const;
};

// The text after the first "=" of a line; the whole line when it has none.
std::string valueAfterEquals(std::string_view line);

EnvironmentSlots environmentFromLines(const std::vector<std::string>& lines, ReadRule rule);
// Throws AppError when the file cannot be read (kFileNotFound, kPermissionDenied, ...).
EnvironmentSlots readEnvironmentFile(const std::filesystem::path& file, ReadRule rule);

// The 14 lines every writer writes. A line break inside a value becomes a blank.
std::vector<std::string> environmentFileLines(const std::string& editdir, const std::string& datadir,
                                              const std::string& calcdir, const std::string& browsdir,
                                              const Links& links);
// Writes the 14 lines: cp932, CR LF, atomically (a failure leaves the old file
// whole). Throws AppError (a text cp932 cannot hold, a write failure).
void writeEnvironmentFile(const std::filesystem::path& file, const std::string& editdir, const std::string& datadir,
                          const std::string& calcdir, const std::string& browsdir, const Links& links);

// The nine default links ("初期値に戻す"), on the statistics site of config/hosts.h.
Links defaultLinks();

}  // namespace kazuban::config
