#pragma once
// How many other players hold a combination, and what it is worth in yen.
//
// Every main set wins as often as any other, but a grade's prize pool is
// shared by everyone who won that grade, so a set many others also hold pays
// less. The signal is in atarikin.csv: the 4等 winners of a draw (tickets
// sharing exactly three numbers with the main set M) spread over 3,250 sets
// and measure the tickets sold almost independently of M, so
//   c1 / (c4 / 3,250)               is how popular M itself was, and
//   (c2 + c3) / (c4 x 130 / 3,250)  how popular its 130 four-number neighbours were.
// Two Poisson regressions with a log link and ridge shrinkage, with those
// exposures, fit the winner counts on features of the drawn numbers. Their
// features were chosen by how well they predicted later draws that the fit
// did not see (selectModel, run on draws 1..800 of the published results).
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "analysis/combination_values.h"
#include "history/draw_history.h"
#include "history/payout_table.h"

namespace kazuban::analysis {

inline constexpr int kPopularityMinDraws = 200;         // fewer fitted draws give no estimate
inline constexpr int kYenDraws = 52;                    // the draws whose sales and pools price the yen
inline constexpr std::int64_t kPrize1Cap = 40'000'000;  // the most a 1等 unit pays
inline constexpr double kFourSets = 3'250;              // main sets sharing exactly three numbers with one
inline constexpr double kNeighbourSets = 130;           // main sets sharing exactly four

// A draw the model can learn from: a valid draw whose atarikin.csv row holds
// all four winner counts, with a 4等 count above 0.
struct CountedDraw {
    int number = 0;
    ComboMask main = 0;
    ComboMask previous = 0;  // the main set of the draw before; 0 when that is no valid draw
    std::array<std::int64_t, 4> winners{};
    std::array<std::int64_t, 4> prizes{};  // yen per unit of grades 1..4
    bool prizesKnown = false;
};
// Those of draws 1..to, ascending.
std::vector<CountedDraw> countedDraws(const history::DrawHistory& history, const history::PayoutTable& payouts, int to);

// ---- the candidate features ---------------------------------------------------

// Groups of columns; a model uses whole groups.
enum FeatureGroup : int {
    kNumbersGroup,      // one column per number 1..31
    kMonthsGroup,       // how many numbers are <= 12; all five are
    kFivesGroup,        // multiples of 5
    kSevensGroup,       // multiples of 7
    kProgressionGroup,  // all five in arithmetic progression; three-term progressions
    kConsecutiveGroup,  // neighbouring pairs n, n + 1; a run of three or more
    kSheetRowGroup,     // pairs on one row of the mark sheet
    kSheetColumnGroup,  // pairs in one column of the mark sheet
    kRepeatsGroup,      // numbers of the draw before
    kParityGroup,       // all odd; all even
    kClusterGroup,      // all within 10; the span
    kFeatureGroups
};
inline constexpr int kFeatureColumns = 46;
using FeatureVector = std::array<double, kFeatureColumns>;
using GroupSet = unsigned;  // bit g for group g

// The columns of group g: [groupBegin(g), groupBegin(g + 1)).
int groupBegin(int g);
// "numbers", "months", ... as the reports name them.
const char* groupName(int g);
// "n7", "months_count", ... one per column.
std::string columnName(int column);

// The features of the main set t, the draw before having had `previous`.
FeatureVector featuresOf(ComboMask t, ComboMask previous);

// ---- the regression -------------------------------------------------------------

// Counts y with exposures e: y ~ Poisson(e x exp(intercept + x.beta)).
struct PoissonData {
    std::vector<FeatureVector> x;
    std::vector<double> y, exposure;
};
struct LinearModel {
    double intercept = 0;
    FeatureVector beta{};  // 0 outside the chosen groups
    double eta(const FeatureVector& x) const;
};
// Ridge-penalised maximum likelihood on the chosen groups, the columns
// standardised over the data and the intercept unpenalised (Newton's method).
LinearModel fitRidgePoisson(const PoissonData& data, GroupSet groups, double lambda);
// 2 x sum(y log(y / mu) - (y - mu)).
double poissonDeviance(const std::vector<double>& y, const std::vector<double>& mu);

// Which count a model predicts.
enum class Target { Set, Neighbours };
PoissonData popularityData(const std::vector<CountedDraw>& draws, Target target);

struct ModelChoice {
    GroupSet groups = 0;
    double lambda = 0;
};
// The choice the program uses (selectModel on draws 1..800 of the results).
ModelChoice defaultChoice(Target target);
// Forward selection of groups and lambda by the deviance of rolling
// time-ordered folds: the draws in ten blocks, each of blocks 6..10
// predicted by a fit on all the blocks before it. `log` (when not null) gets a line per step.
ModelChoice selectModel(const std::vector<CountedDraw>& draws, Target target, std::string* log = nullptr);

// ---- the estimate of one fit ----------------------------------------------------

// Sales and pools of the yen figures.
struct YenBasis {
    double ticketsPerSet = 0;            // mean c4 / 3,250
    std::array<double, 4> pool{};        // mean winners x prize, over draws the grade was won
    std::array<double, 4> avgWinners{};  // winners of each grade for an average set
    double paidPerTicket = 0;            // the yen paid over the tickets sold (c4 x 169,911 / 3,250)
};

// E[min(pool / (1 + K), cap)] for K ~ Poisson(lambda): the share of one
// winning unit when the others who hold it are K. cap <= 0: no cap.
double expectedShare(double pool, double lambda, double cap);

struct PopularitySums;

class PopularityModel {
public:
    int draws = 0;           // K
    int lastDraw = 0;        // the last fitted draw
    ComboMask previous = 0;  // the draw before the one the figures are for
    LinearModel setModel, neighbourModel;
    double alphaSet = 1, alphaNeighbours = 1;  // counts over prediction on the fitted draws
    YenBasis yen;

    // Relative to the mean over all 169,911 main sets (mean 1.0).
    double popularity(ComboMask t) const { return popularityAfter(t, previous); }
    double neighbours(ComboMask t) const { return neighboursAfter(t, previous); }
    // The same for a draw whose previous draw was `prev`.
    double popularityAfter(ComboMask t, ComboMask prev) const;
    double neighboursAfter(ComboMask t, ComboMask prev) const;
    // Yen per unit: the expected 1等 prize if t wins (capped), and the mean
    // payout over all 4,417,686 outcomes.
    double prize1(ComboMask t) const { return prize1At(popularity(t)); }
    double expectedYen(ComboMask t) const { return expectedYenAt(popularity(t), neighbours(t)); }
    double prize1At(double popularity) const;
    double expectedYenAt(double popularity, double neighbours) const;

    // Makes the figures those of a draw after one with main set `prev` (0:
    // no valid draw); fitPopularity leaves them after the last fitted draw.
    void predictAfter(ComboMask prev);

    // Means over all sets of exp(eta) after `prev` (cached for `previous`).
    double setMean(ComboMask prev) const;
    double neighbourMean(ComboMask prev) const;
    double setMean_ = 1, neighbourMean_ = 1;
    std::shared_ptr<const PopularitySums> sums_;
};

// The model of `draws` (at least kPopularityMinDraws of them) with the given
// choices; the figures are for the draw after the last one.
PopularityModel fitPopularity(const std::vector<CountedDraw>& draws, const ModelChoice& setChoice,
                              const ModelChoice& neighbourChoice);
PopularityModel fitPopularity(const std::vector<CountedDraw>& draws);

// How well a model fitted earlier predicts later draws: the Poisson deviance
// of c1 and of c2 + c3 relative to the null model (popularity 1, the scale
// fitted on the same training draws).
struct HoldOut {
    int draws = 0;
    double setRatio = 0, neighbourRatio = 0;
    double setDeviance = 0, setNullDeviance = 0, neighbourDeviance = 0, neighbourNullDeviance = 0;
};
HoldOut holdOut(const PopularityModel& model, const std::vector<CountedDraw>& training,
                const std::vector<CountedDraw>& later);

// The command-line form (LF line ends, a final LF): "draws_fitted,<K>", the
// header and one line per combination, `rows` their data numbers.
std::string formatPopularity(const PopularityModel& model, const std::vector<int>& rows,
                             const std::vector<ComboMask>& combos);

// ---- the tab's figures ---------------------------------------------------------

struct PopularityRow {
    int row = 0;  // data number
    ComboMask combo = 0;
    double popularity = 0, neighbours = 0, prize1 = 0, expectedYen = 0;
};
struct PopularityFigures {
    bool ready = false;   // a model and rows to show
    std::string message;  // otherwise why not
    int draws = 0, lastDraw = 0;
    std::vector<PopularityRow> rows;
    double averagePrize1 = 0, averageYen = 0;  // the average set (popularity and neighbours 1)
    // The share of all 169,911 sets in each bin of log2(popularity), bin k
    // from kLogBinStart + k x kLogBinWidth.
    std::vector<double> distribution;
};
inline constexpr double kLogBinStart = -3, kLogBinWidth = 0.125;
inline constexpr int kLogBins = 72;  // up to x64

// The distribution of popularity over all main sets.
std::vector<double> popularityDistribution(const PopularityModel& model);
// The mean expected_yen of a ticket chosen at random: over all main sets.
double meanExpectedYen(const PopularityModel& model);
PopularityFigures popularityFigures(const PopularityModel& model, const std::vector<int>& rows,
                                    const std::vector<ComboMask>& combos);

// "×1.23"; "1,234,567円"; "91.15円".
std::string popularityText(double popularity);
std::string roundYenText(double yen);
std::string centsYenText(double yen);
// The sentence above the table: what is estimated from how many draws, that
// the chance does not change, and the average set's figures.
std::string popularitySummary(const PopularityFigures& f);

// "人気の推定には、当選口数の分かる回が 200 回以上必要です（いまは 12 回）。"
std::string tooFewDrawsMessage(int draws);
extern const char* const kNoPayoutFileMessage;

}  // namespace kazuban::analysis
