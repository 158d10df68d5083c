#pragma once
// The tab "組合せ設計": tickets chosen by the draws they cover. The search
// runs off the window's thread (runDesignWork touches nothing shared); the
// page keeps the refusal of the request last run, or the last result
// handed back, and puts that result's tickets into the combination table as
// a load does, or into a combination file.
#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "analysis/popularity.h"
#include "app/state.h"
#include "app/wins_page.h"
#include "design/design.h"

namespace kazuban::app {

// The option 人気の組合せを避ける: the popularity model the tickets are
// valued by (expected yen per unit), and the popularity above which no
// ticket is used (none: no limit).
struct PopularOption {
    std::shared_ptr<const analysis::PopularityModel> model;
    std::optional<double> limit;
};
// The request with the option's preference.
design::Request withPopularOption(design::Request r, const PopularOption& option);

// The expected yen of a result's tickets beside a random ticket's.
struct DesignValue {
    double meanYen = 0, randomYen = 0;
    int draws = 0, lastDraw = 0;  // the draws the estimate is from, the last of them
    std::optional<double> limit;
};

struct DesignRun {
    design::Request request;
    std::string refusal;  // why the request was not run; "" when it ran
    design::Result result;
    // Draws (of 169,911) sharing three with some ticket, counted afresh: a
    // wheel's own units are sets of its numbers, not draws.
    std::int64_t draws = 0;
    std::optional<DesignValue> value;  // with the option 人気の組合せを避ける
};

// Runs a request, or gives its refusal: safe on any thread, as both take a
// while for a request on all 31 numbers. With `popular` the tickets are
// chosen and valued by its model.
DesignRun runDesignWork(const design::Request& r, const design::ProgressFn& progress = {},
                        const std::atomic<bool>* cancel = nullptr, const PopularOption* popular = nullptr);

// What the tab states beside a result, one line each ("" when not there).
struct DesignTexts {
    std::string tickets;    // how many, with the lower bound of a wheel
    std::string covered;    // the draws covered: the chance of a prize next draw
    std::string compare;    // the upper bound and what random tickets give
    std::string expected;   // the expected winning tickets, whatever the choice
    std::string guarantee;  // what a cover guarantees, in words
    std::string stopped;    // the search was stopped early
    std::string value;      // the tickets' expected yen, with the option 人気の組合せを避ける
};
DesignTexts designTexts(const DesignRun& run);
// The best found so far, while the search runs.
std::string designProgressText(design::Mode mode, const design::Progress& p);
// Where the progress bar stands (0..1000) `elapsedMs` into a search that
// reported `last` (nullptr: nothing yet), with a time limit of `limitMs` (0:
// none). The search for the most draws counts its planned moves; a cover
// search cannot know its end, so its bar follows the time limit, and without
// one nullopt asks for a bar that shows it works without an end.
std::optional<int> designBarPermille(design::Mode mode, const design::Progress* last, std::int64_t elapsedMs,
                                     std::int64_t limitMs);

class DesignPage {
public:
    DesignPage(State& state, WinsPage& wins) : s_(state), wins_(wins) {}

    // A run handed back once its thread is done: a refusal becomes the
    // tab's message and the last result stays.
    void finish(DesignRun run);

    const std::string& problem() const { return problem_; }
    const std::optional<DesignRun>& last() const { return last_; }  // never a refused one
    // Rises whenever problem() or last() changed.
    unsigned revision() const { return revision_; }

    void sendToTable();  // 組合せ表へ送る: through the clear-or-append question
    void save();         // 保存…: a combination file that 呼出し loads

private:
    bool haveTickets() const { return last_ && !last_->result.tickets.empty(); }

    State& s_;
    WinsPage& wins_;
    std::string problem_;
    std::optional<DesignRun> last_;
    unsigned revision_ = 0;
};

}  // namespace kazuban::app
