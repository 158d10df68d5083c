#pragma once
// The files of a data folder that only the program itself writes, and the
// refusal of a write that the user aimed at one of them (a save dialog, the
// command line's -o or --save): a table saved over atarimgrp.txt would take
// the history with it.
#include <array>
#include <filesystem>
#include <vector>

namespace kazuban::platform {

// The history, the settings, the payouts and the ledger.
inline constexpr std::array<const char*, 4> kDataFileNames = {"atarimgrp.txt", "Kazuban.ini", "atarikin.csv",
                                                              "kounyu.csv"};
inline constexpr const char* kDataFileRefusal =
    "このファイルは Kazuban のデータファイルです。別の名前で保存して下さい。";

// `target` is one of the data files of `folders`: the same file, by its
// identity, so another path, a link or a hard link to it counts; or, while no
// such file exists, a file of that name (letter case aside) in the same folder.
bool isDataFile(const std::filesystem::path& target, const std::vector<std::filesystem::path>& folders);

// Checks a target that the user chose before anything is written to it.
// Throws AppError (kPathFileAccess): kDataFileRefusal for a data file of
// `folders`; the not-an-ordinary-file reason for a folder, a device, a pipe
// or a socket (which the atomic write refuses too, but a writer of its own,
// such as the PDF printer, would open).
void checkChosenTarget(const std::filesystem::path& target, const std::vector<std::filesystem::path>& folders);

}  // namespace kazuban::platform
