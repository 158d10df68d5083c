#pragma once
// The inner tab "人気と払戻金" of "確率・検証": how many others hold each
// combination of the table, and what it is worth in yen, from the winner
// counts of atarikin.csv. The model is fitted again only when the history or
// atarikin.csv changed; the rows follow the table while the tab is in sight.
#include <memory>
#include <optional>

#include "analysis/popularity.h"
#include "app/command_runner.h"
#include "app/state.h"

namespace kazuban::app {

class PopularityPage : public ChangeObserver {
public:
    explicit PopularityPage(State& state) : s_(state) {}

    const analysis::PopularityFigures& figures() const { return figures_; }
    // Rises with every change of the figures.
    int revision() const { return revision_; }

    // The entry steps of "確率・検証".
    void enter();
    // The model of the history and atarikin.csv as they are now, fitted
    // when they changed; nullptr with the reason in *why when there is none.
    std::shared_ptr<const analysis::PopularityModel> model(std::string* why);
    void changed(const Changes& changes) override;

private:
    void refresh();
    void fit();

    State& s_;
    std::shared_ptr<const analysis::PopularityModel> model_;
    std::optional<unsigned> fittedRevision_;
    std::string modelMessage_;
    std::vector<double> distribution_;
    analysis::PopularityFigures figures_;
    int revision_ = 0;
};

}  // namespace kazuban::app
