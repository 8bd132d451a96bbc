#include "app/widgets/OptimizeWaitWindow.h"

#include "app/DatabaseMaintenance.h"
#include "app/widgets/SplashDialog.h"

#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>

OptimizeWaitWindow::OptimizeWaitWindow(QWidget* parent) : QDialog(parent) {
    const QString text = QString::fromLatin1(DatabaseMaintenance::kOptimizingText);
    setWindowTitle(text);
    setModal(false);
    auto* label = new QLabel(text, this);
    label->setAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 24, 24, 24);
    layout->addWidget(label);
}

OptimizeWaitWindow::~OptimizeWaitWindow() {
    setShown(false);
}

void OptimizeWaitWindow::setShown(bool shown) {
    if (shown) {
        if (!m_cursorSet)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        m_cursorSet = true;
        adjustSize();
        centreOnDesktop(*this);
        show();
        raise();
        // The work runs on this thread right after; without this the window stays blank.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        return;
    }
    hide();
    if (m_cursorSet)
        QApplication::restoreOverrideCursor();
    m_cursorSet = false;
}
