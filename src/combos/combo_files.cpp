#include "combos/combo_files.h"

#include "combos/combination_table.h"
#include "platform/line_file.h"

namespace kazuban::combos {

platform::FileDialogOptions comboFileDialog(const std::string& datadir, bool save) {
    platform::FileDialogOptions o;
    o.filter = kComboFileFilter;
    o.defaultExtension = "txt";
    o.initialFolder = datadir;
    o.confirmOverwrite = save;
    return o;
}

std::string missingFileMessage(const std::string& file) { return file + " は存在しないﾌｧｲﾙです。"; }

std::vector<std::string> readCombinationFile(const std::filesystem::path& file) {
    // No more lines than the table has rows can ever be placed.
    return platform::readFirstLines(file, kDataRows).lines;
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
