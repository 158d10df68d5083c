#pragma once
// A Platform that answers like an impatient user: random buttons on every
// message box, random files (good, bad, missing) in the file dialogs, random
// clipboard texts, programs that sometimes fail to start. Everything is drawn
// from one seeded generator, so a seed replays the same session.
#include <array>
#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "support/fake_platform.h"
#include "support/history_gen.h"

namespace kazuban::testing {

class RandomPlatform : public FakePlatform {
public:
    explicit RandomPlatform(std::uint64_t seed) : rng(seed) {}

    std::mt19937_64 rng;
    int pick(int n);              // uniform in 0 .. n - 1
    int between(int lo, int hi);  // uniform in lo .. hi
    bool chance(double p);

    // Choices of the file dialogs (full paths; "" is a dialog that returned an
    // empty name). Cancel is chosen now and then as well.
    std::vector<std::string> openChoices, saveChoices;
    double failStartChance = 0.2;         // startProgram throws this often
    double foreignClipboardChance = 0.4;  // another program put text on the clipboard

    int lastAnswer = 0;  // the button of the latest message box
    std::string lastMessage;
    // Told what the user saw and answered ("message ... -> 1", "open dialog
    // -> path", ...), for the report of a failed session.
    std::function<void(const std::string&)> onEvent;

    int messageBox(const std::string& text, platform::Icon icon, platform::Buttons buttons) override;
    std::optional<std::filesystem::path> openFileDialog(const platform::FileDialogOptions& o) override;
    std::optional<std::filesystem::path> saveFileDialog(const platform::FileDialogOptions& o) override;
    std::string clipboardText() override;
    void startProgram(const std::string& commandLine) override;
    // The entry form: Cancel now and then, otherwise six distinct numbers in
    // any order (the form lets nothing else through).
    std::optional<platform::NewDraw> askNewDraw(int drawNumber, const platform::NewDraw& shown) override;
    // The clock would make a session unrepeatable: reseed from the session's generator.
    void seedFromClock() override { seed(rng()); }

    // Forgets what was recorded (messages, dialogs, programs), keeping memory flat.
    void forgetRecords();

private:
    void event(const std::string& what) {
        if (onEvent) onEvent(what);
    }
};

// ---- random texts ------------------------------------------------------------

// A valid combination text (" 3, 9,14,22,30"), numbers ascending or not.
std::string randomCombination(std::mt19937_64& rng);
// A text that looks like a combination but may break one rule (a leading
// zero, a missing blank, 0 or 32, a number twice, full-width digits, a prefix
// such as "No.7 ", blanks or text after it, a wrong length).
std::string nearCombination(std::mt19937_64& rng);
// A line of anything: ASCII, "=", ",", Japanese, half-width kana, full-width
// digits, characters cp932 cannot hold, tabs, NUL; up to maxLength characters.
std::string junkLine(std::mt19937_64& rng, int maxLength);
// "\r\n", "\n" or "\r".
std::string randomLineEnd(std::mt19937_64& rng);
// What a user may have on the clipboard: blocks of combinations with mixed
// line ends, junk, very long lines, Japanese, a leading CR LF, nothing.
std::string randomClipboardText(std::mt19937_64& rng);
// A link text for tab 3: valid, without "=", without "http://", junk, empty.
std::string randomLinkText(std::mt19937_64& rng);
// A path text as a user types it into the settings dialog.
std::string randomPathText(std::mt19937_64& rng, const std::string& folder);
// A line of atarimgrp.txt as a user registers draw `number`; now and then a
// malformed one (short, out of range, leading zeros, no "=", junk).
std::string historyLine(std::mt19937_64& rng, int number, bool malformed);

// Files for the open dialog under dir/pool: valid combination files (cp932,
// UTF-8 with BOM, mixed line ends, 1200 lines, a Japanese name), junk, binary,
// empty, invalid cp932, a long line, a folder, a missing path. Returns the paths.
std::vector<std::string> makeOpenChoices(const TempDir& dir, std::mt19937_64& rng);
// Targets for the save dialogs: new and existing files, a folder, a path in a
// missing folder, an empty name.
std::vector<std::string> makeSaveChoices(const TempDir& dir);

}  // namespace kazuban::testing
