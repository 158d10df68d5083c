#pragma once
// What the window remembers between runs besides its geometry, kept with it
// in QSettings (the user's configuration folder, never the data folder): the
// combination files loaded or saved last, and the prize amounts typed on
// 確率・検証.
#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace kazuban::ui {

std::vector<std::filesystem::path> loadRecentFiles();
void saveRecentFiles(const std::vector<std::filesystem::path>& files);

// The amounts of grades 1..4 typed last; nullopt where none was kept.
std::array<std::optional<std::int64_t>, 4> loadPrizes();
void savePrize(int grade, std::int64_t yen);

}  // namespace kazuban::ui
