#include "ui/widgets/ProgressDlg.h"

#include <QCoreApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QVBoxLayout>
#include <QWidget>

ProgressDlg::ProgressDlg(QWidget* parent) : m_parent(parent) {}

ProgressDlg::~ProgressDlg() {
    // With a parent the window may already be gone together with it.
    delete m_window.data();
}

void ProgressDlg::build() {
    // A Tool window stays above its parent without taking the focus from it.
    auto* window = new QFrame(m_parent, Qt::Tool | Qt::FramelessWindowHint);
    window->setFrameStyle(QFrame::Panel | QFrame::Raised);
    window->setLineWidth(2);
    window->setAttribute(Qt::WA_ShowWithoutActivating);

    m_topic = new QLabel(window);
    m_bar = new QProgressBar(window);
    m_bar->setTextVisible(false);
    m_item = new QLabel(window);

    auto* layout = new QVBoxLayout(window);
    layout->addWidget(m_topic);
    layout->addWidget(m_bar);
    layout->addWidget(m_item);
    window->setMinimumWidth(320);
    m_window = window;
}

void ProgressDlg::placeWindow() {
    m_window->adjustSize();
    QRect area;
    if (m_parent && m_parent->isVisible()) {
        area = m_parent->frameGeometry();
    } else {
        QScreen* screen = m_parent ? m_parent->screen() : QGuiApplication::primaryScreen();
        if (screen)
            area = screen->availableGeometry();
    }
    if (!area.isValid())
        return;
    QRect frame = m_window->frameGeometry();
    frame.moveCenter(area.center());
    m_window->move(frame.topLeft());
}

void ProgressDlg::refresh() {
    m_window->repaint();
    // Lets the window system show what was painted; input waits, so the patient cannot
    // start a second command in the middle of this one.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void ProgressDlg::begin(const QString& topic, int steps) {
    if (!m_window)
        build();
    m_steps = steps;
    m_topic->setText(topic);
    m_bar->setRange(0, steps);
    m_bar->setValue(0);
    m_item->clear();
    placeWindow();
    m_window->show();
    m_window->raise();
    refresh();
}

void ProgressDlg::step(const QString& item, int taken) {
    if (!m_window)
        return;
    m_bar->setValue(taken);
    m_item->setText(itemLine(item, taken, m_steps));
    refresh();
}

void ProgressDlg::finish() {
    if (m_window)
        m_window->hide();
}

QString ProgressDlg::topicText() const {
    return m_window ? m_topic->text() : QString();
}

QString ProgressDlg::itemText() const {
    return m_window ? m_item->text() : QString();
}

int ProgressDlg::value() const {
    return m_window ? m_bar->value() : 0;
}

int ProgressDlg::maximum() const {
    return m_window ? m_bar->maximum() : 0;
}

bool ProgressDlg::isVisible() const {
    return m_window && m_window->isVisible();
}
