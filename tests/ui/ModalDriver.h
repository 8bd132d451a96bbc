#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>

// Runs `act` on the modal window once it is up, from inside the modal loop that shows it.
// Tests start it just before the call that blocks in exec().
inline void whenModal(std::function<void(QWidget*)> act, int triesLeft = 200) {
    QTimer::singleShot(10, qApp, [act = std::move(act), triesLeft]() mutable {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal->isVisible()) {
            act(modal);
        } else if (triesLeft > 0) {
            whenModal(std::move(act), triesLeft - 1);
        }
    });
}
