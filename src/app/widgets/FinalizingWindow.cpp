#include "app/widgets/FinalizingWindow.h"

#include "app/AppDialogs.h"
#include "app/widgets/SplashDialog.h"

#include <QCoreApplication>
#include <QLabel>
#include <QVBoxLayout>

FinalizingWindow::FinalizingWindow(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QString::fromLatin1(AppDialogs::kFinalizingTitle));
    setModal(false);
    auto* text = new QLabel(QString::fromLatin1(AppDialogs::kFinalizingText), this);
    text->setAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 24, 24, 24);
    layout->addWidget(text);
}

void FinalizingWindow::showCentred() {
    adjustSize();
    centreOnDesktop(*this);
    show();
    raise();
    // The set-up runs on this thread right after; without this the window stays blank.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}
