#pragma once
// Answers a real modal dialog (a message box, a file dialog, the settings
// dialog) that the code under test opens and waits on.
#include <QApplication>
#include <QTest>
#include <QTimer>
#include <functional>

namespace kazuban::testing {

// Runs `act` on the first modal dialog of class `className` (any class when
// null) that comes up while this object lives. A dialog still open after a
// while is closed, so a test cannot hang; worked() then says false.
class WhenModal {
public:
    explicit WhenModal(std::function<void(QWidget*)> act, const char* className = nullptr) : act_(std::move(act)) {
        poll_.setInterval(10);
        QObject::connect(&poll_, &QTimer::timeout, [this, className] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || !modal->isVisible() || (className && !modal->inherits(className))) return;
            poll_.stop();
            fired_ = true;
            act_(modal);
        });
        poll_.start();
        guard_.setSingleShot(true);
        QObject::connect(&guard_, &QTimer::timeout, [this] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                stuck_ = true;
                modal->close();
            }
        });
        guard_.start(5000);
    }
    WhenModal(const WhenModal&) = delete;
    WhenModal& operator=(const WhenModal&) = delete;

    // A key pressed where the dialog has put the focus.
    static std::function<void(QWidget*)> press(Qt::Key key) {
        return [key](QWidget* modal) {
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : modal, key);
        };
    }
    // The action ran and no dialog had to be closed by force.
    bool worked() const { return fired_ && !stuck_; }

private:
    std::function<void(QWidget*)> act_;
    QTimer poll_, guard_;
    bool fired_ = false, stuck_ = false;
};

}  // namespace kazuban::testing
