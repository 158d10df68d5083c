#pragma once
// Bringing the history up to date from the bank's published results. The
// bank's index file lists its per-draw files, one a line "<name>\t<file>",
// the files named A101NNNN.CSV after the draw NNNN; every listed file of a
// draw after the history's last one is fetched. When the index cannot be
// read, the files of the next draws are tried one by one until the bank
// answers 404 (not published yet). What was fetched is merged as a results
// file chosen by the user would be (import.h); the network itself is the
// platform's (platform::Platform::runDownloads).
#include <string>
#include <string_view>
#include <vector>

#include "history/import.h"
#include "platform/platform.h"

namespace kazuban::history {

inline constexpr const char* kDefaultIndexUrl = "https://www.mizuhobank.co.jp/takarakuji/apl/txt/miniloto/name.txt";
inline constexpr const char* kDefaultFolderUrl = "https://www.mizuhobank.co.jp/retail/takarakuji/loto/miniloto/csv/";

struct IndexEntry {
    int draw = 0;
    std::string file;
    bool operator==(const IndexEntry&) const = default;
};

// The files an index lists: the last tab-separated field of each line, when
// it is a file A101<draw>.CSV (any case, four or five digits, draw 1 or
// more). Other lines are skipped; empty when no line lists such a file.
std::vector<IndexEntry> parseBankIndex(std::string_view bytes);
// The listed files of the draws after `maxn`, by draw, each draw once.
std::vector<IndexEntry> filesAfter(std::vector<IndexEntry> index, int maxn);
// The bank's name of a draw's file: "A1011401.CSV", "A1010007.CSV".
std::string bankFileName(int draw);
// The address of `file` in the folder `folderUrl`, with one "/" between.
std::string fileUrl(const std::string& folderUrl, const std::string& file);
// Why an address cannot be fetched from ("" when it can): it must start
// with http:// or https:// and name a host, without blanks.
std::string urlProblem(const std::string& url);

class BankFetch : public platform::DownloadSession {
public:
    // `maxn`: the history's last draw.
    BankFetch(int maxn, std::string indexUrl, std::string folderUrl);

    std::string nextUrl() const override;
    void answer(const platform::DownloadAnswer& answer) override;
    std::string progressText() const override;
    int stepsDone() const override;
    int stepsKnown() const override;

    // Once the series is over: why it failed ("" when it did not), and the
    // files it fetched, in draw order, each named by its file name.
    const std::string& error() const { return error_; }
    const std::vector<ImportSource>& sources() const { return sources_; }
    // The index was read (false: the files were tried one by one).
    bool readIndex() const { return readIndex_; }
    // What to say when the series fetched nothing: kNothingNew when the
    // index was read; otherwise what was asked for and what the server
    // answered, since a wrong address looks the same as a draw not yet
    // published.
    std::string nothingNewText() const;

private:
    enum class Step { Index, Listed, Probing, Done };
    std::string currentFile() const;
    void fail(const platform::DownloadAnswer& answer);

    int maxn_;
    std::string indexUrl_, folderUrl_;
    Step step_ = Step::Index;
    std::vector<IndexEntry> listed_;
    std::size_t done_ = 0;  // files of listed_ fetched
    int probe_ = 0;         // the draw tried next
    bool readIndex_ = false;
    std::string indexProblem_;       // why the index could not be read
    std::string firstProbeProblem_;  // the answer to the first file tried, when it was none
    std::vector<ImportSource> sources_;
    std::string error_;
};

}  // namespace kazuban::history
