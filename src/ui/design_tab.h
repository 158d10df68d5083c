#pragma once
// The tab "組合せ設計": the settings of a design (what to aim for, how many
// tickets, the numbers marked on a pad like a mark sheet with 除外, the sum
// and odd-count limits, ていねいさ and a time limit), the search on a thread
// of its own with the best figure so far, and the result app::DesignPage
// keeps, with 組合せ表へ送る and 保存….
#include <QElapsedTimer>
#include <QWidget>
#include <array>
#include <atomic>
#include <memory>
#include <optional>

#include "app/form1.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QThread;
class QTimer;
class QToolButton;

namespace kazuban::ui {

class DesignTab : public QWidget {
    Q_OBJECT
public:
    explicit DesignTab(app::Form1& form, QWidget* parent = nullptr);
    // A search still running is cancelled and waited for.
    ~DesignTab() override;

    // Redraws the page's refusal or result when it changed.
    void refresh();
    // The request the settings describe.
    design::Request request() const;
    // The option 人気の組合せを避ける as set, without its model; nullopt when off.
    std::optional<double> popularLimit() const;
    bool avoidsPopular() const;
    bool searching() const { return thread_ != nullptr; }
    // Cancels a running search and waits for its thread; its result is still
    // handed to the page once the window's events run.
    void stopSearch();

private:
    QGroupBox* buildSettings();
    QWidget* buildPad(QWidget* parent);
    QGroupBox* buildResult();
    design::Mode mode() const;
    void markNumber(int v);
    void drawPad();
    void updateControls();
    void runSearch();
    void showProgress(const design::Progress& p);
    void showElapsed();
    void moveBar();
    void searchDone(const app::DesignRun& run);

    app::Form1& form_;
    QGroupBox* settings_ = nullptr;
    QRadioButton* modeBest_ = nullptr;
    QRadioButton* modeGuarantee_ = nullptr;
    QRadioButton* modeWheel_ = nullptr;
    QSpinBox* tickets_ = nullptr;
    QSpinBox* atLeast_ = nullptr;
    QRadioButton* markChoose_ = nullptr;
    QRadioButton* markExclude_ = nullptr;
    std::array<QToolButton*, 32> pad_{};  // by number, 1..31
    QPushButton* padClear_ = nullptr;
    QLabel* padCount_ = nullptr;
    QCheckBox* sumOn_ = nullptr;
    QSpinBox* sumLow_ = nullptr;
    QSpinBox* sumHigh_ = nullptr;
    QCheckBox* oddOn_ = nullptr;
    QSpinBox* oddLow_ = nullptr;
    QSpinBox* oddHigh_ = nullptr;
    QCheckBox* avoidPopular_ = nullptr;
    QCheckBox* popularLimitOn_ = nullptr;
    QDoubleSpinBox* popularLimit_ = nullptr;
    QSpinBox* effort_ = nullptr;
    QComboBox* timeLimit_ = nullptr;
    QPushButton* run_ = nullptr;
    QPushButton* cancel_ = nullptr;
    std::optional<design::Progress> lastReport_;  // the search's last report, while it runs
    int limitMs_ = 0;                             // its time limit, 0 for none
    QProgressBar* progress_ = nullptr;
    QLabel* progressText_ = nullptr;
    QLabel* problem_ = nullptr;

    QLabel* ticketCount_ = nullptr;
    QLabel* covered_ = nullptr;
    QLabel* compare_ = nullptr;
    QLabel* expected_ = nullptr;
    QLabel* guarantee_ = nullptr;
    QLabel* value_ = nullptr;
    QLabel* stopped_ = nullptr;
    QListWidget* ticketList_ = nullptr;
    QPushButton* send_ = nullptr;
    QPushButton* save_ = nullptr;
    QPushButton* ledger_ = nullptr;

    design::Ticket chosen_ = 0, excluded_ = 0;
    std::atomic<bool> stop_{false};
    std::unique_ptr<QThread> thread_;
    QTimer* limit_ = nullptr;
    QTimer* clock_ = nullptr;  // ticks the seconds between the search's reports
    QString lastProgress_;
    QElapsedTimer elapsed_;
    design::Mode searchMode_ = design::Mode::Best;
    unsigned shownRevision_ = ~0u;
};

}  // namespace kazuban::ui
