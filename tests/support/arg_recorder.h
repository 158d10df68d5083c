#pragma once
// Starts of real programs in tests: record-args.sh (beside this file), or on
// Windows record_args.exe, stands in for the browser, editor or spreadsheet
// program and records what it received.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kazuban::testing {

class ArgumentRecorder {
public:
    // The record goes to `folder`/record.bin (named to the script through the
    // environment variable KAZUBAN_RECORD_FILE while this object lives).
    explicit ArgumentRecorder(const std::filesystem::path& folder);
    ~ArgumentRecorder();
    ArgumentRecorder(const ArgumentRecorder&) = delete;
    ArgumentRecorder& operator=(const ArgumentRecorder&) = delete;

    // The recording program's absolute path.
    static std::string script();
    // The script's own path and its arguments, once the started script has
    // written them; nullopt when nothing came within `seconds`.
    std::optional<std::vector<std::string>> wait(double seconds = 10) const;

private:
    std::filesystem::path record_;
};

}  // namespace kazuban::testing
