#include "app/programs.h"

#include <exception>

#include "output/launcher.h"
#include "output/printing.h"
#include "text/app_error.h"

namespace kazuban::app {

void printFile(State& s, const char* fileName, const std::string& text) {
    output::printThroughSpreadsheet(s.platform, s.calcdir, s.startdir / fileName, text, [&](const AppError& e) {
        s.message(output::printFailureMessage(e, fileName));
        s.msg = 0;
    });
}

void openInBrowser(State& s, const std::string& url) {
    try {
        s.platform.startProgram(output::browserCommandLine(s.browsdir, url));
    } catch (...) {
        s.message(errorText(std::current_exception()) + output::kBrowserHint, platform::Icon::Critical);
    }
}

}  // namespace kazuban::app
