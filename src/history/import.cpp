#include "history/import.h"

#include <algorithm>
#include <array>
#include <map>

#include "history/add_draw.h"
#include "history/draw_history.h"
#include "history/payout_table.h"
#include "history/result_files.h"
#include "platform/line_file.h"
#include "platform/system.h"
#include "text/line_text.h"

namespace kazuban::history {

namespace {

constexpr const char* kHistoryName = "atarimgrp.txt";
constexpr const char* kSpace = "\u3000";  // between the two sides of a disagreement
constexpr const char* kEntryName = "入力した値";

// Where a draw or one of its fields was read.
struct Origin {
    const std::string* file = nullptr;
    int line = 0;
};

struct MergedDraw {
    DrawNumbers numbers{};
    Origin origin;
    DrawPayout payout;
    std::array<Origin, kPayoutFields> fieldOrigin{};
};

std::string trimmed(std::string s) {
    s.erase(0, s.find_first_not_of(' '));
    return s;
}

std::string numbersText(const DrawNumbers& d) { return trimmed(drawFieldText(d)); }

std::string drawName(int draw) { return "第" + std::to_string(draw) + "回"; }

// "（取り込むファイル: A　<other>: B）"
std::string sides(const std::string& ours, const std::string& other, const std::string& theirs) {
    return "（取り込むファイル: " + ours + kSpace + other + ": " + theirs + "）";
}

std::string placeOf(const Origin& o) { return *o.file + " の " + std::to_string(o.line) + " 行目"; }

}  // namespace

ImportSource readImportSource(const std::filesystem::path& file, const std::string& name) {
    return {name, platform::readFileBytes(file)};
}

namespace {

// The draws of one file as read, or why the file was refused.
struct ReadFile {
    std::string name;
    std::vector<ResultDraw> draws;
    std::optional<ImportProblem> refused;
};

// The merge of the files' draws into the data folder's files. The entry form
// gives `expectedNext`, the draw it asked for: the history must still end
// right before it.
ImportPlan mergePlan(const std::filesystem::path& historyFile, int files, const std::vector<ReadFile>& read,
                     int expectedNext) {
    ImportPlan plan;
    plan.historyFile = historyFile;
    plan.payoutFile = historyFile.parent_path() / kPayoutFileName;
    plan.files = files;
    plan.historyBefore = platform::readFileBytes(historyFile);
    platform::refuseWideText(plan.historyBefore, historyFile);
    const DrawHistory history =
        historyFromLines(text::splitLines(platform::decodeFileBytes(plan.historyBefore))).history;
    const int maxn = history.maxn();
    if (expectedNext > 0 && maxn + 1 != expectedNext) throw AppError(kPathFileAccess, historyChangedText(maxn));

    PayoutTable table;
    if (platform::isFile(plan.payoutFile)) {
        plan.payoutBefore = platform::readFileBytes(plan.payoutFile);
        try {
            table = parsePayoutTable(*plan.payoutBefore, kPayoutFileName);
        } catch (const ImportRefused& e) {
            plan.problems.push_back(e.problem());
            return plan;
        }
    }

    // The files merged with each other.
    std::map<int, MergedDraw> merged;
    for (const ReadFile& source : read) {
        if (source.refused) {
            plan.problems.push_back(*source.refused);
            continue;
        }
        for (const ResultDraw& d : source.draws) {
            const Origin here{&source.name, d.line};
            auto [it, fresh] = merged.try_emplace(d.draw);
            MergedDraw& m = it->second;
            if (fresh) {
                m.numbers = d.numbers;
                m.origin = here;
            } else if (m.numbers != d.numbers) {
                plan.problems.push_back({source.name, d.line,
                                         drawName(d.draw) + "の当選番号が別の行と違います。" +
                                             sides(numbersText(d.numbers), placeOf(m.origin), numbersText(m.numbers))});
                continue;
            }
            for (int k = 0; k < kPayoutFields; ++k) {
                const auto& v = d.payout.fields[k];
                if (!v) continue;
                auto& known = m.payout.fields[k];
                if (!known) {
                    known = v;
                    m.fieldOrigin[k] = here;
                } else if (*known != *v) {
                    const Origin& o = m.fieldOrigin[k];
                    plan.problems.push_back(
                        {source.name, d.line,
                         drawName(d.draw) + "の" + payoutFieldName(k) + "が別の行と違います。" +
                             sides(payoutFieldText(k, *v), placeOf(o), payoutFieldText(k, *known))});
                }
            }
        }
    }

    // Against what the data folder holds. New draws continue from the last
    // one without a gap; the first gap or draw beyond the limit ends them.
    std::vector<DrawNumbers> newDraws;
    int expected = maxn + 1;
    bool ended = false;
    for (const auto& [draw, m] : merged) {
        ++plan.drawsRead;
        if (draw <= maxn) {
            // A line that is no draw holds zeros, which agree with nothing.
            auto held = history.numbers[static_cast<std::size_t>(draw)];
            std::sort(held.begin(), held.begin() + 5);
            if (std::equal(held.begin(), held.end(), m.numbers.begin())) {
                ++plan.agreed;
            } else {
                plan.problems.push_back(
                    {*m.origin.file, m.origin.line,
                     drawName(draw) + "の当選番号が atarimgrp.txt と違います。" +
                         sides(numbersText(m.numbers), kHistoryName, trimmed(history.entry(draw)))});
            }
            continue;
        }
        if (ended) continue;
        ended = true;
        if (draw != expected) {
            plan.problems.push_back(
                {*m.origin.file, m.origin.line,
                 drawName(expected) + "がないため、" + drawName(draw) + "から先を追加できません。"});
        } else if (draw > kMaxDraws) {
            plan.problems.push_back(
                {*m.origin.file, m.origin.line,
                 std::string(kHistoryName) + " には第" + std::to_string(kMaxDraws) + "回までしか登録できません。"});
        } else {
            ended = false;
            newDraws.push_back(m.numbers);
            ++expected;
        }
    }
    if (!newDraws.empty()) {
        plan.firstAdded = maxn + 1;
        plan.lastAdded = expected - 1;
    }

    // Dates and payouts against atarikin.csv.
    for (const auto& [draw, m] : merged) {
        if (!m.payout.anyKnown()) continue;
        DrawPayout& row = table[draw];
        bool gained = false;
        for (int k = 0; k < kPayoutFields; ++k) {
            const auto& v = m.payout.fields[k];
            if (!v) continue;
            if (!row.fields[k]) {
                row.fields[k] = v;
                gained = true;
            } else if (*row.fields[k] != *v) {
                const Origin& o = m.fieldOrigin[k];
                plan.problems.push_back(
                    {*o.file, o.line,
                     drawName(draw) + "の" + payoutFieldName(k) + "が atarikin.csv と違います。" +
                         sides(payoutFieldText(k, *v), kPayoutFileName, payoutFieldText(k, *row.fields[k]))});
            }
        }
        if (gained) plan.payoutDraws.push_back(draw);
    }

    if (plan.refused()) {
        plan.firstAdded = plan.lastAdded = 0;
        plan.payoutDraws.clear();
        return plan;
    }
    if (!newDraws.empty()) plan.historyAfter = appendDrawsToBytes(plan.historyBefore, newDraws, maxn + 1).bytes;
    if (!plan.payoutDraws.empty()) plan.payoutAfter = payoutTableBytes(table);
    return plan;
}

}  // namespace

ImportPlan planImport(const std::filesystem::path& historyFile, const std::vector<ImportSource>& sources) {
    std::vector<ReadFile> read;
    for (const ImportSource& source : sources) {
        ReadFile& r = read.emplace_back(ReadFile{source.name, {}, std::nullopt});
        try {
            r.draws = readResultFile(source.bytes, source.name).draws;
        } catch (const ImportRefused& e) {
            r.refused = e.problem();
        }
    }
    return mergePlan(historyFile, static_cast<int>(sources.size()), read, 0);
}

ImportPlan planEntry(const std::filesystem::path& historyFile, int draw, const DrawNumbers& numbers,
                     const DrawPayout& payout) {
    std::vector<std::string> fields;
    for (int v : numbers) fields.push_back(std::to_string(v));
    const DrawCheck check = checkDrawFields(fields);
    if (!check.numbers) throw AppError(kInvalidCall, check.problem);
    ResultDraw d{draw, *check.numbers, payout, 1};
    std::sort(d.numbers.begin(), d.numbers.begin() + 5);
    return mergePlan(historyFile, 0, {ReadFile{kEntryName, {d}, std::nullopt}}, draw);
}

void commitImport(const ImportPlan& plan) {
    if (plan.refused()) throw AppError(kInvalidCall, problemText(plan.problems.front()));
    if (!plan.changes()) return;
    // Nothing is written over a file that changed since the plan was made.
    auto changed = [](const char* name) {
        return AppError(kPathFileAccess, std::string(name) + " が変更されています。もう一度取り込んで下さい。");
    };
    if (platform::readFileBytes(plan.historyFile) != plan.historyBefore) throw changed(kHistoryName);
    const bool payoutsNow = platform::isFile(plan.payoutFile);
    if (payoutsNow != plan.payoutBefore.has_value() ||
        (payoutsNow && platform::readFileBytes(plan.payoutFile) != *plan.payoutBefore))
        throw changed(kPayoutFileName);

    std::vector<platform::FileWrite> writes;
    if (plan.historyAfter) writes.push_back({plan.historyFile, *plan.historyAfter});
    if (plan.payoutAfter) writes.push_back({plan.payoutFile, *plan.payoutAfter});
    platform::writeFilesAtomic(writes);
}

std::string importSummary(const ImportPlan& plan) {
    std::string out = "files," + std::to_string(plan.files) + "\n";
    out += "draws_read," + std::to_string(plan.drawsRead) + "\n";
    out += "agreed," + std::to_string(plan.agreed) + "\n";
    out += "added," + std::to_string(plan.added()) + "\n";
    if (plan.added() > 0)
        out += "added_range," + std::to_string(plan.firstAdded) + "-" + std::to_string(plan.lastAdded) + "\n";
    out += "payouts_added," + std::to_string(plan.payoutDraws.size()) + "\n";
    return out;
}

std::string problemsText(const std::vector<ImportProblem>& problems) {
    constexpr std::size_t kShown = 10;
    std::string out;
    for (std::size_t i = 0; i < problems.size() && i < kShown; ++i) out += problemText(problems[i]) + "\n";
    if (problems.size() > kShown) out += "ほか " + std::to_string(problems.size() - kShown) + " 件\n";
    return out;
}

std::string importPreviewText(const ImportPlan& plan) {
    if (plan.refused()) return "取り込めません。\n" + problemsText(plan.problems);
    if (!plan.changes()) return std::string(kNothingNew) + "\n";
    std::string out;
    if (plan.added() > 0)
        out += drawName(plan.firstAdded) + "～" + drawName(plan.lastAdded) + "（" + std::to_string(plan.added()) +
               " 回）を atarimgrp.txt に追加します。\n";
    if (!plan.payoutDraws.empty())
        out += std::to_string(plan.payoutDraws.size()) + " 回分の日付・払戻金を atarikin.csv に書き込みます。\n";
    if (plan.agreed > 0) out += "すでにある " + std::to_string(plan.agreed) + " 回は当選番号が一致しました。\n";
    return out;
}

}  // namespace kazuban::history
