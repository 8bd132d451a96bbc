#pragma once

#include "reports/ReportStyle.h"

#include <QFrame>

// A sample page in the chosen style: the style's picture at its own width, centred, as high as
// the frame, on white.
class ReportPreviewFrame : public QFrame {
    Q_OBJECT
public:
    explicit ReportPreviewFrame(ReportStyle style, QWidget* parent = nullptr);

    void setStyle(ReportStyle style);
    ReportStyle style() const { return m_style; }
    // Where the picture goes inside the frame's contents.
    QRect pictureRect() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ReportStyle m_style;
};
