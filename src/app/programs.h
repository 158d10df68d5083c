#pragma once
// The two ways pages hand work to other programs: a print file opened in the
// spreadsheet program, a web page opened in the browser. Each failure shows
// its message (the answer kept in msg) and the command goes on.
#include <string>

#include "app/state.h"

namespace kazuban::app {

// Writes `text` as the print file `fileName` in the start-up folder and opens
// it in the spreadsheet program; each failed step shows its message and the
// next step runs.
void printFile(State& s, const char* fileName, const std::string& text);
// Starts the browser on a URL; a failure shows the error's own text and the hint.
void openInBrowser(State& s, const std::string& url);

}  // namespace kazuban::app
