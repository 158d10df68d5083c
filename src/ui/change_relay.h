#pragma once
// The core's change announcements as a Qt signal: the window's parts connect
// to it and redraw what depends on what changed.
#include <QObject>

#include "app/command_runner.h"

namespace kazuban::ui {

class ChangeRelay : public QObject, public app::ChangeObserver {
    Q_OBJECT
public:
    explicit ChangeRelay(app::CommandRunner& runner, QObject* parent = nullptr) : QObject(parent), runner_(runner) {
        runner_.addObserver(this);
    }
    ~ChangeRelay() override { runner_.removeObserver(this); }

    void changed(const app::Changes& changes) override { emit stateChanged(changes); }

signals:
    void stateChanged(const kazuban::app::Changes& changes);

private:
    app::CommandRunner& runner_;
};

}  // namespace kazuban::ui
