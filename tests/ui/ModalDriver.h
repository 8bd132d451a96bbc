#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>

// Runs `act` on the modal window once it is up, from inside the modal loop that shows it.
// Tests start it just before the call that blocks in exec().
// A busy machine may take seconds to bring a file dialog up, so it keeps looking for a
// while; a modal window that is visible but not (yet) active counts as well.
inline void whenModal(std::function<void(QWidget*)> act, int triesLeft = 3000) {
    QTimer::singleShot(10, qApp, [act = std::move(act), triesLeft]() mutable {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) {
            for (QWidget* top : QApplication::topLevelWidgets())
                if (top->isVisible() && top->isModal())
                    modal = top;
        }
        if (modal && modal->isVisible()) {
            act(modal);
        } else if (triesLeft > 0) {
            whenModal(std::move(act), triesLeft - 1);
        }
    });
}

// The same for a modal window of type T; any other modal window that comes up is closed.
template <typename T, typename Act> void whenModalIs(Act act) {
    whenModal([act = std::move(act)](QWidget* shown) {
        if (auto* window = qobject_cast<T*>(shown))
            act(window);
        else
            shown->close();
    });
}
