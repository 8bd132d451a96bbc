#include "app/widgets/SplashDialog.h"

#include "app/AppDialogs.h"

#include <QFont>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QTimer>

namespace {

constexpr int kWidth = 420;
constexpr int kHeight = 240;
constexpr int kPollMs = 250;

} // namespace

void centreOnDesktop(QWidget& window) {
    QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect desktop = screen->availableGeometry();
    const QSize size = window.frameGeometry().size().expandedTo(window.sizeHint());
    window.move(desktop.center() - QPoint(size.width() / 2, size.height() / 2));
}

SplashDialog::SplashDialog(const QString& versionText, QWidget* parent)
    : QDialog(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_picture(drawPicture(versionText)), m_timer(new QTimer(this)) {
    setFixedSize(m_picture.size());
    setModal(false);
    m_timer->setInterval(kPollMs);
    connect(m_timer, &QTimer::timeout, this, [this] {
        if (m_shouldClose && m_shouldClose())
            close();
    });
}

QPixmap SplashDialog::drawPicture(const QString& versionText) {
    QPixmap picture(kWidth, kHeight);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);

    QLinearGradient sky(0, 0, 0, kHeight);
    sky.setColorAt(0.0, QColor(0xE8, 0xF2, 0xFC));
    sky.setColorAt(1.0, QColor(0x9C, 0xC3, 0xEA));
    painter.fillRect(picture.rect(), sky);
    painter.setPen(QPen(QColor(0x2A, 0x5B, 0x9A), 2));
    painter.drawRect(picture.rect().adjusted(1, 1, -2, -2));

    // A drop of blood: a point on top, a round belly below.
    const QRectF belly(40, 90, 90, 90);
    QPainterPath drop;
    drop.moveTo(belly.center().x(), 40);
    drop.cubicTo(belly.center().x() + 20, 75, belly.right(), 100, belly.right(),
                 belly.center().y());
    drop.arcTo(belly, 0, -180);
    drop.cubicTo(belly.left(), 100, belly.center().x() - 20, 75, belly.center().x(), 40);
    QLinearGradient red(belly.topLeft(), belly.bottomRight());
    red.setColorAt(0.0, QColor(0xE5, 0x39, 0x35));
    red.setColorAt(1.0, QColor(0x8E, 0x0B, 0x0B));
    painter.setPen(Qt::NoPen);
    painter.setBrush(red);
    painter.drawPath(drop);
    painter.setBrush(QColor(255, 255, 255, 110));
    painter.drawEllipse(QRectF(belly.left() + 18, belly.top() + 14, 18, 26));

    QFont title(QStringLiteral("Arial"));
    title.setPixelSize(40);
    title.setBold(true);
    painter.setFont(title);
    painter.setPen(QColor(0x1B, 0x3F, 0x6E));
    painter.drawText(QRect(150, 70, kWidth - 160, 60), Qt::AlignLeft | Qt::AlignVCenter,
                     QString::fromLatin1(kProgramName));

    QFont line(QStringLiteral("Arial"));
    line.setPixelSize(16);
    painter.setFont(line);
    painter.drawText(QRect(152, 128, kWidth - 162, 24), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Diabetes Logbook"));
    line.setPixelSize(12);
    painter.setFont(line);
    painter.drawText(QRect(10, kHeight - 30, kWidth - 20, 20), Qt::AlignRight | Qt::AlignVCenter,
                     QStringLiteral("Version %1").arg(versionText));
    return picture;
}

void SplashDialog::closeWhen(std::function<bool()> shouldClose) {
    m_shouldClose = std::move(shouldClose);
    if (isVisible())
        m_timer->start();
}

void SplashDialog::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_picture);
}

void SplashDialog::mousePressEvent(QMouseEvent*) {
    close();
}

void SplashDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    centreOnDesktop(*this);
    if (m_shouldClose)
        m_timer->start();
}

void SplashDialog::hideEvent(QHideEvent* event) {
    m_timer->stop();
    QDialog::hideEvent(event);
    emit closed();
}
