#include "logbook/widgets/SampleListDelegate.h"

#include "logbook/widgets/LogbookLook.h"
#include "logbook/widgets/SampleListModel.h"

#include <QAbstractItemView>
#include <QPainter>

namespace {

constexpr int kTextInset = 5;
constexpr int kIconInsetX = 3;
constexpr int kIconInsetY = 1;
constexpr int kGlucoseInset = 2;

std::size_t iconSlot(LogIcon icon) {
    return static_cast<std::size_t>(icon);
}

// A 1-pixel frame on the rectangle's own edges.
void frameRect(QPainter* painter, const QRect& rect, const QColor& color) {
    painter->setPen(QPen(color, 1));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(rect.adjusted(0, 0, -1, -1));
}

} // namespace

SampleListDelegate::SampleListDelegate(LogbookContext& context, QObject* parent)
    : QStyledItemDelegate(parent), m_context(context) {}

void SampleListDelegate::beginPaintPass() const {
    m_inPass = true;
    m_passRow = -1;
}

void SampleListDelegate::endPaintPass() const {
    m_inPass = false;
    m_passRow = -1;
    m_passCells = LogRowCells();
}

LogRowCells SampleListDelegate::cellsFor(const QModelIndex& index) const {
    const auto* model = qobject_cast<const SampleListModel*>(index.model());
    if (!model || index.row() < 0 || index.row() >= model->rowCount())
        return {};
    const LogRow& row = model->rowAt(index.row());
    if (m_inPass && m_passRow == index.row() && m_passKey == row)
        return m_passCells;
    LogRowCells cells = computeLogCells(m_context, row, m_filter, m_compact);
    if (m_inPass) {
        m_passRow = index.row();
        m_passKey = row;
        m_passCells = cells;
    }
    return cells;
}

QPixmap SampleListDelegate::iconFor(LogIcon icon, bool selected, const QColor& highlight,
                                    const QColor& rim) const {
    std::optional<QPixmap>& loaded = m_icons[iconSlot(icon)];
    if (!loaded)
        loaded = LogbookLook::iconPixmap(icon);
    const QPixmap& plain = *loaded;
    if (!selected || plain.isNull())
        return plain;
    if (m_blendColor != highlight || m_rimColor != rim) {
        for (auto& blended : m_blendedIcons)
            blended = QPixmap();
        m_blendColor = highlight;
        m_rimColor = rim;
    }
    QPixmap& blended = m_blendedIcons[iconSlot(icon)];
    if (blended.isNull()) {
        // Half the selection colour over the picture's own pixels, as selected icons are
        // shown elsewhere on the desktop; transparent pixels stay transparent.
        QPixmap veiled = plain;
        QPainter veiling(&veiled);
        veiling.setCompositionMode(QPainter::CompositionMode_SourceAtop);
        QColor veil = highlight;
        veil.setAlpha(128);
        veiling.fillRect(veiled.rect(), veil);
        veiling.end();
        // A picture drawn in colours near the selection colour (the blue syringe) would vanish
        // into the selected row: a one-pixel rim in the base colour keeps its shape in sight.
        QPixmap rim = plain;
        QPainter tinting(&rim);
        tinting.setCompositionMode(QPainter::CompositionMode_SourceIn);
        tinting.fillRect(rim.rect(), m_rimColor);
        tinting.end();
        blended = QPixmap(plain.size());
        blended.setDevicePixelRatio(plain.devicePixelRatio());
        blended.fill(Qt::transparent);
        QPainter painter(&blended);
        for (int dx = -1; dx <= 1; ++dx)
            for (int dy = -1; dy <= 1; ++dy)
                painter.drawPixmap(dx, dy, rim);
        painter.drawPixmap(0, 0, veiled);
    }
    return blended;
}

void SampleListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    const QRect cell = option.rect;
    const QPalette& palette = option.palette;
    // Selection keeps its colours when the list loses the focus.
    const QColor highlight = palette.color(QPalette::Active, QPalette::Highlight);
    const bool selected = option.state.testFlag(QStyle::State_Selected);

    painter->save();
    painter->fillRect(cell, selected ? highlight : palette.color(QPalette::Active, QPalette::Base));

    LogRowCells cells = cellsFor(index);
    if (!cells.valid) {
        painter->restore();
        return;
    }

    bool focused = option.state.testFlag(QStyle::State_HasFocus);
    if (const auto* view = qobject_cast<const QAbstractItemView*>(option.widget))
        focused = focused || (view->hasFocus() && view->currentIndex().row() == index.row());
    if (cells.emphasized && !selected && !focused)
        painter->fillRect(cell, dayBandColor());

    const QFont font = cells.emphasized ? LogbookLook::bold(option.font) : option.font;
    const QColor textColor = selected ? palette.color(QPalette::Active, QPalette::HighlightedText)
                                      : palette.color(QPalette::Active, QPalette::Text);

    frameRect(painter, cell, highlight);

    const int column = index.column();
    if (column < 0 || column >= LogColumn::Count) {
        painter->restore();
        return;
    }
    const LogCell& content = cells.cells[static_cast<std::size_t>(column)];

    if (content.icon != LogIcon::None) {
        QRect iconArea = cell.adjusted(kIconInsetX, kIconInsetY, -kIconInsetX, -kIconInsetY);
        QPixmap picture = iconFor(content.icon, selected, highlight,
                                  palette.color(QPalette::Active, QPalette::Base));
        painter->setClipRect(iconArea);
        painter->drawPixmap(iconArea.topLeft(), picture);
        painter->setClipping(false);
    }

    if (column == LogColumn::Glucose) {
        paintGlucose(painter, cell, cells, font, textColor);
    } else if (!content.text.isEmpty()) {
        QRect textArea = cell.adjusted(kTextInset, 0, -kTextInset, 0);
        painter->setFont(font);
        painter->setPen(textColor);
        QString shown =
            elideAtWordEnd(content.text, QFontMetrics(font, painter->device()), textArea.width());
        painter->drawText(
            textArea,
            int(logColumnLayout(column, m_compact).alignment.toInt()) | Qt::TextSingleLine, shown);
    }
    painter->restore();
}

void SampleListDelegate::paintGlucose(QPainter* painter, const QRect& cell,
                                      const LogRowCells& cells, const QFont& font,
                                      const QColor& textColor) const {
    if (!cells.hasGlucose)
        return;
    const QRect area = cell.adjusted(kGlucoseInset, kGlucoseInset, -kGlucoseInset, -kGlucoseInset);
    const GlucoseStyle style = glucoseStyle(cells.glucoseClass);
    if (style.filled)
        painter->fillRect(area, style.frame);
    if (style.framed)
        frameRect(painter, area, style.frame);
    painter->setFont(style.bold ? LogbookLook::bold(font) : font);
    painter->setPen(style.ownTextColor ? style.text : textColor);
    painter->drawText(area, Qt::AlignCenter | Qt::TextSingleLine,
                      cells.cells[LogColumn::Glucose].text);
}

QString SampleListDelegate::elideAtWordEnd(const QString& text, const QFontMetrics& metrics,
                                           int width) {
    if (metrics.horizontalAdvance(text) <= width)
        return text;
    const QString dots = QStringLiteral("...");
    const int room = width - metrics.horizontalAdvance(dots);
    if (room < 0)
        return {};
    // The longest beginning that fits beside the dots.
    qsizetype fits = 0;
    qsizetype over = text.size();
    while (over - fits > 1) {
        qsizetype middle = (fits + over) / 2;
        if (metrics.horizontalAdvance(text.left(middle)) <= room)
            fits = middle;
        else
            over = middle;
    }
    // End at the last word end within it: a letter followed by a blank.
    for (qsizetype cut = fits; cut > 0; --cut) {
        if (text[cut].isSpace() && !text[cut - 1].isSpace())
            return text.left(cut) + dots;
    }
    // A single word too long for the cell is cut inside it, never inside an emoji.
    if (fits > 0 && text[fits - 1].isHighSurrogate())
        --fits;
    return text.left(fits) + dots;
}
