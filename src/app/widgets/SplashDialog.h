#pragma once

#include <QDialog>
#include <QPixmap>
#include <QString>
#include <functional>

class QTimer;

// Places a top-level window in the middle of the desktop it is shown on.
void centreOnDesktop(QWidget& window);

// The start-up picture: a borderless window sized to the picture and centred on the
// desktop. A click closes it at once; closeWhen() closes it when the application says so.
class SplashDialog : public QDialog {
    Q_OBJECT

public:
    explicit SplashDialog(const QString& versionText, QWidget* parent = nullptr);

    // The picture, drawn at run time.
    static QPixmap drawPicture(const QString& versionText);
    const QPixmap& picture() const { return m_picture; }

    // Asks `shouldClose` every few moments while shown and closes when it answers true.
    void closeWhen(std::function<bool()> shouldClose);

signals:
    // The splash went away, by a click or by closeWhen().
    void closed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QPixmap m_picture;
    QTimer* m_timer;
    std::function<bool()> m_shouldClose;
};
