#include "support/arg_recorder.h"

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <thread>

#include "support/os.h"

namespace kazuban::testing {

ArgumentRecorder::ArgumentRecorder(const std::filesystem::path& folder) : record_(folder / "record.bin") {
    setEnvironment("KAZUBAN_RECORD_FILE", record_.string());
}

ArgumentRecorder::~ArgumentRecorder() { unsetEnvironment("KAZUBAN_RECORD_FILE"); }

std::string ArgumentRecorder::script() {
#ifdef KAZUBAN_RECORDER_PATH
    const std::filesystem::path here = KAZUBAN_RECORDER_PATH;
#else
    const auto here = std::filesystem::path(KAZUBAN_TESTDATA_DIR).parent_path() / "support" / "record-args.sh";
#endif
    return std::filesystem::absolute(here).lexically_normal().string();
}

std::optional<std::vector<std::string>> ArgumentRecorder::wait(double seconds) const {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!std::filesystem::exists(record_)) {
        if (std::chrono::steady_clock::now() > deadline) return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::ifstream in(record_, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::string> args;
    std::string current;
    for (char c : bytes) {
        if (c == '\0') {
            args.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    return args;
}

}  // namespace kazuban::testing
