#pragma once
// The port through which the logic reaches the outside world. The window
// implements it with Qt (ui/QtPlatform); tests use a scripted fake
// (tests/support/fake_platform.h); the CLI uses HeadlessPlatform.
#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kazuban::output {
struct PrintDocument;
}

namespace kazuban::platform {

// Message box answers, as the behaviour numbers them.
enum Answer : int { kOk = 1, kCancel = 2, kYes = 6, kNo = 7 };
enum class Icon { None, Critical, Exclamation };
enum class Buttons { Ok, OkCancel, YesNoCancel };

struct FileFilter {
    std::string label;    // "ﾃｷｽﾄ(*.txt)"
    std::string pattern;  // "*.txt"
};
// Parses the "label|pattern|label|pattern" form into its choices.
std::vector<FileFilter> parseFilter(const std::string& filter);

struct FileDialogOptions {
    std::string filter;                   // "ﾃｷｽﾄ(*.txt)|*.txt|全て|*.*"
    std::string defaultExtension;         // "txt" (without the dot)
    std::filesystem::path initialFolder;  // empty: the dialog's own default
    bool confirmOverwrite = false;        // save dialogs ask before replacing a file
};

// What the entry form of a new draw answers: the numbers (five main numbers,
// then the bonus, checked as a draw) and, as typed, the optional date and
// the winners and prize of each grade ("" where nothing was typed). What the
// form shows as it opens has the same shape, a number 0 leaving its field
// empty.
struct NewDraw {
    std::array<int, 6> numbers{};
    std::string date;
    std::array<std::string, 4> winners, prizes;
};

// The answer to one download: the HTTP status and the body, or status 0 and
// why no answer came (in Japanese: no connection, no answer in time, ...).
struct DownloadAnswer {
    int status = 0;
    std::string body;
    std::string error;
};

// A series of downloads whose next address may depend on the answers so far.
class DownloadSession {
public:
    virtual ~DownloadSession() = default;
    // The address to fetch next; "" once the series is over.
    virtual std::string nextUrl() const = 0;
    // The answer to the download of nextUrl(). An answer without a body
    // (status 0) must end the series or move it on.
    virtual void answer(const DownloadAnswer& answer) = 0;
    // What the progress shows: a line of text, and the steps done of the
    // steps known so far (known 0: not known yet).
    virtual std::string progressText() const = 0;
    virtual int stepsDone() const = 0;
    virtual int stepsKnown() const = 0;
};

class Platform {
public:
    virtual ~Platform() = default;

    // Message box without a title of its own; returns the button pressed.
    virtual int messageBox(const std::string& text, Icon icon, Buttons buttons) = 0;
    // Full path chosen, or nullopt on Cancel.
    virtual std::optional<std::filesystem::path> openFileDialog(const FileDialogOptions& options) = 0;
    virtual std::optional<std::filesystem::path> saveFileDialog(const FileDialogOptions& options) = 0;
    // An open dialog in which several files can be chosen; empty on Cancel.
    // Without a dialog of its own a front end chooses one file at most.
    virtual std::vector<std::filesystem::path> openFilesDialog(const FileDialogOptions& options);

    virtual std::string clipboardText() = 0;
    virtual void setClipboardText(const std::string& text) = 0;
    virtual void clearClipboard() = 0;

    // Shows the document in a print preview, from which the user prints it;
    // returns when the preview has closed. Nothing where there is no window.
    virtual void showPrintPreview(const output::PrintDocument& document) { (void)document; }
    // Asks for draw `drawNumber` in the entry form, which opens showing
    // `shown`; nullopt on Cancel. A front end without a form has no answer.
    virtual std::optional<NewDraw> askNewDraw(int drawNumber, const NewDraw& shown) {
        (void)drawNumber;
        (void)shown;
        return std::nullopt;
    }
    // Runs the session's downloads to its end, showing its progress with a
    // way to cancel; false when the user cancelled. A front end without a
    // network answers every download with kNoNetwork.
    virtual bool runDownloads(DownloadSession& session);

    // Files. The defaults ask the system (system.h); hidden attributes exist
    // on Windows only.
    virtual std::filesystem::path currentDirectory();
    virtual bool fileExists(const std::filesystem::path& path);
    virtual void deleteFile(const std::filesystem::path& path);  // throws AppError
    virtual void setNormalAttributes(const std::filesystem::path& path);
    virtual void setHiddenAttribute(const std::filesystem::path& path);

    // Starts the program of a command line (see command_line.h); does not wait.
    // Throws AppError (kInvalidCall, kPermissionDenied, other kinds).
    virtual void startProgram(const std::string& commandLine);

    virtual void setBusy(bool busy) { (void)busy; }
    virtual void showProgress(int minimum, int maximum) {
        (void)minimum;
        (void)maximum;
    }
    virtual void setProgress(int value) { (void)value; }
    virtual void hideProgress() {}

    // Uniform values in [0, 1); seeded from the clock unless a seed was given.
    virtual void seedFromClock();
    virtual void seed(unsigned long long s);
    virtual double random();

private:
    unsigned long long state_ = 0x9E3779B97F4A7C15ull;
    bool fixedSeed_ = false;
};

inline constexpr const char* kNoNetwork = "この画面からはインターネットに接続できません。";

// The busy pointer for the duration of a scope, however the scope is left.
class BusyPointer {
public:
    explicit BusyPointer(Platform& platform) : platform_(platform) { platform_.setBusy(true); }
    ~BusyPointer() { platform_.setBusy(false); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

private:
    Platform& platform_;
};

}  // namespace kazuban::platform
