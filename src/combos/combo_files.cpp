#include "combos/combo_files.h"

#include "combos/combination_table.h"
#include "platform/line_file.h"
#include "text/path_text.h"

namespace kazuban::combos {

platform::FileDialogOptions comboFileDialog(const std::filesystem::path& datadir, bool save) {
    platform::FileDialogOptions o;
    o.filter = kComboFileFilter;
    o.defaultExtension = "txt";
    o.initialFolder = datadir;
    o.confirmOverwrite = save;
    return o;
}

std::string missingFileMessage(const std::filesystem::path& file) {
    return text::utf8FromPath(file) + " は存在しないﾌｧｲﾙです。";
}

ComboFileLines readCombinationFile(const std::filesystem::path& file) {
    // No more lines than the table has rows can ever be placed; the rest is
    // only counted.
    platform::FirstLines first = platform::readFirstLines(file, kDataRows, /*countRest=*/true);
    return {std::move(first.lines), first.restTextLines};
}

std::string unreadLinesMessage(std::size_t unread) {
    return std::to_string(kDataRows) + " 行を超えた " + std::to_string(unread) + " 行は読み込みませんでした。";
}

int placeLines(grid::TextGrid& table, int s, const std::vector<std::string>& lines) {
    int placed = 0;
    for (const std::string& line : lines) {
        const int r = s + placed + 1;
        if (r > kDataRows) break;
        table.setCell(r, 1, line);
        ++placed;
    }
    return placed;
}

int placeInEmptyRows(grid::TextGrid& table, const std::vector<std::string>& lines) {
    std::size_t next = 0;
    for (int r = firstEmptyRow(table); r <= kDataRows && next < lines.size(); ++r)
        if (table.cell(r, 1).empty()) table.setCell(r, 1, lines[next++]);
    return static_cast<int>(lines.size() - next);
}

std::string droppedLinesMessage(int dropped) {
    return std::to_string(dropped) + " 行は空きがないため追加しませんでした。";
}

std::vector<std::string> tableLines(const grid::TextGrid& table) {
    std::vector<std::string> lines;
    for (int r = 1; r <= kDataRows; ++r)
        if (!table.cell(r, 1).empty()) lines.push_back(table.cell(r, 1));
    return lines;
}

void writeCombinationFile(const std::filesystem::path& file, const grid::TextGrid& table) {
    platform::writeLinesCp932(file, tableLines(table));
}

}  // namespace kazuban::combos
