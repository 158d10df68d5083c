#pragma once
// Texts inside the program are UTF-8; paths are std::filesystem::path, which
// holds wide characters on Windows. These two turn one into the other, so a
// Japanese folder name survives the trip on every system. Never build a path
// from a std::string directly (that reads it in the system's code page).
#include <filesystem>
#include <string>
#include <string_view>

namespace kazuban::text {

std::filesystem::path pathFromUtf8(std::string_view utf8);
std::string utf8FromPath(const std::filesystem::path& path);

}  // namespace kazuban::text
