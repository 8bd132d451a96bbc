#include "settings/widgets/GlucoseRangeDlg.h"

#include "logbook/GlucoseClass.h"
#include "settings/PatientSettingsContext.h"
#include "settings/PreferenceRules.h"
#include "storage/Conversions.h"
#include "storage/PreferenceTable.h"
#include "ui/Prompts.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QVBoxLayout>

namespace {

QLineEdit* lineEdit(const char* id, const QString& text, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(id));
    edit->setText(text);
    return edit;
}

// A column title with its key square in front, or the bare title when it has no key.
QWidget* keyedTitle(const QString& title, ColourKeyBox* key, QWidget* parent) {
    auto* cell = new QWidget(parent);
    auto* row = new QHBoxLayout(cell);
    row->setContentsMargins(0, 0, 0, 0);
    if (key) {
        key->setParent(cell);
        row->addWidget(key);
    }
    row->addWidget(new QLabel(title, cell));
    row->addStretch();
    return cell;
}

} // namespace

// ---- ColourKeyBox ------------------------------------------------------------------------

ColourKeyBox::ColourKeyBox(const QColor& colour, bool solid, QWidget* parent)
    : QWidget(parent), m_colour(colour), m_solid(solid) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize ColourKeyBox::sizeHint() const {
    return {12, 12};
}

void ColourKeyBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect box = rect().adjusted(1, 1, -1, -1);
    if (m_solid) {
        painter.fillRect(box, m_colour);
        return;
    }
    painter.setPen(QPen(m_colour, 2));
    painter.drawRect(box.adjusted(0, 0, -1, -1));
}

// ---- GlucoseRangeDlg ---------------------------------------------------------------------

GlucoseRangeDlg::GlucoseRangeDlg(PatientSettingsContext& context, QWidget* parent)
    : PropertyPage(parent), m_context(context),
      m_unit(context.preference().getGlucoseSampleCode()) {
    // The row itself, not the application's copy; a row that cannot be read shows zeros.
    int extLo = 0, lo = 0, hi = 0, extHi = 0;
    if (auto stored = PreferenceTable::getByPk(context.database(), PreferenceTable::kPk)) {
        extLo = stored->getGlucoseExtLo();
        lo = stored->getGlucoseLo();
        hi = stored->getGlucoseHi();
        extHi = stored->getGlucoseExtHi();
        m_fields.bpSystolicNormal = stored->getBpSystolicNormal();
        m_fields.bpSystolicModerate = stored->getBpSystolicModerate();
        m_fields.bpSystolicHi = stored->getBpSystolicHi();
        m_fields.bpDiastolicNormal = stored->getBpDiastolicNormal();
        m_fields.bpDiastolicModerate = stored->getBpDiastolicModerate();
        m_fields.bpDiastolicHi = stored->getBpDiastolicHi();
    }
    m_fields.glucoseExtLo = formatGlucose(extLo, m_unit);
    m_fields.glucoseLo = formatGlucose(lo, m_unit);
    m_fields.glucoseHi = formatGlucose(hi, m_unit);
    m_fields.glucoseExtHi = formatGlucose(extHi, m_unit);

    auto* glucoseBox = new QGroupBox(QStringLiteral("Daily Glucose Range Target"), this);
    m_extLo = lineEdit("1051", m_fields.glucoseExtLo, glucoseBox);
    m_lo = lineEdit("1052", m_fields.glucoseLo, glucoseBox);
    m_hi = lineEdit("1053", m_fields.glucoseHi, glucoseBox);
    m_extHi = lineEdit("1054", m_fields.glucoseExtHi, glucoseBox);
    for (QLineEdit* edit : {m_extLo, m_lo, m_hi, m_extHi}) {
        edit->setMaxLength(5);
        connect(edit, &QLineEdit::textEdited, this, &PropertyPage::changed);
    }
    // The extreme limits always follow from the target range.
    m_extLo->setReadOnly(true);
    m_extHi->setReadOnly(true);
    // Checked once the focus has settled: putting the focus back from inside its own move
    // would start the move over and over.
    connect(m_lo, &QLineEdit::textEdited, this, [this] { m_lowEdited = true; });
    connect(m_hi, &QLineEdit::textEdited, this, [this] { m_highEdited = true; });
    connect(m_lo, &QLineEdit::editingFinished, this, &GlucoseRangeDlg::lowLeft,
            Qt::QueuedConnection);
    connect(m_hi, &QLineEdit::editingFinished, this, &GlucoseRangeDlg::highLeft,
            Qt::QueuedConnection);

    auto* glucoseGrid = new QGridLayout(glucoseBox);
    const QColor low = GlucoseColors::low();
    const QColor high = GlucoseColors::high();
    glucoseGrid->addWidget(
        keyedTitle(QStringLiteral("Extreme Low"), new ColourKeyBox(low, true), glucoseBox), 0, 1);
    glucoseGrid->addWidget(
        keyedTitle(QStringLiteral("Low"), new ColourKeyBox(low, false), glucoseBox), 0, 2);
    glucoseGrid->addWidget(
        keyedTitle(QStringLiteral("High"), new ColourKeyBox(high, false), glucoseBox), 0, 3);
    glucoseGrid->addWidget(
        keyedTitle(QStringLiteral("Extreme High"), new ColourKeyBox(high, true), glucoseBox), 0, 4);
    glucoseGrid->addWidget(new QLabel(QStringLiteral("Glucose:"), glucoseBox), 1, 0);
    glucoseGrid->addWidget(m_extLo, 1, 1);
    glucoseGrid->addWidget(m_lo, 1, 2);
    glucoseGrid->addWidget(m_hi, 1, 3);
    glucoseGrid->addWidget(m_extHi, 1, 4);
    for (int column = 1; column <= 4; ++column)
        glucoseGrid->setColumnStretch(column, 1);

    const int systolic[3] = {m_fields.bpSystolicNormal, m_fields.bpSystolicModerate,
                             m_fields.bpSystolicHi};
    const int diastolic[3] = {m_fields.bpDiastolicNormal, m_fields.bpDiastolicModerate,
                              m_fields.bpDiastolicHi};
    const char* systolicIds[3] = {"1060", "1061", "1062"};
    const char* diastolicIds[3] = {"1064", "1065", "1066"};
    auto* pressure = new QWidget(this);
    auto* pressureGrid = new QGridLayout(pressure);
    pressureGrid->setContentsMargins(0, 0, 0, 0);
    pressureGrid->addWidget(keyedTitle(QStringLiteral("Normal"), nullptr, pressure), 0, 1);
    pressureGrid->addWidget(
        keyedTitle(QStringLiteral("Moderate"), new ColourKeyBox(high, false), pressure), 0, 2);
    pressureGrid->addWidget(
        keyedTitle(QStringLiteral("High"), new ColourKeyBox(high, true), pressure), 0, 3);
    pressureGrid->addWidget(new QLabel(QStringLiteral("Systolic:"), pressure), 1, 0);
    pressureGrid->addWidget(new QLabel(QStringLiteral("Diastolic:"), pressure), 2, 0);
    for (int column = 0; column < 3; ++column) {
        m_systolic[column] =
            lineEdit(systolicIds[column], QString::number(systolic[column]), pressure);
        m_diastolic[column] =
            lineEdit(diastolicIds[column], QString::number(diastolic[column]), pressure);
        pressureGrid->addWidget(m_systolic[column], 1, column + 1);
        pressureGrid->addWidget(m_diastolic[column], 2, column + 1);
    }
    for (int column = 1; column <= 3; ++column)
        pressureGrid->setColumnStretch(column, 1);
    // Whatever is typed stays as typed; the page refuses what is no limit in range.
    for (QLineEdit* edit : {m_systolic[0], m_systolic[1], m_systolic[2], m_diastolic[0],
                            m_diastolic[1], m_diastolic[2]})
        connect(edit, &QLineEdit::textEdited, this, &PropertyPage::changed);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(glucoseBox);
    layout->addWidget(new QLabel(QStringLiteral("Blood Pressure:"), this));
    layout->addWidget(pressure);
    layout->addStretch();
}

GlucoseRangeDlg::~GlucoseRangeDlg() {
    // The fields lose the focus while the page is taken apart; that is no leaving to check.
    disconnect(m_lo, nullptr, this, nullptr);
    disconnect(m_hi, nullptr, this, nullptr);
}

bool GlucoseRangeDlg::checkField(QLineEdit* edit) {
    if (const auto accepted = checkedGlucoseText(edit->text(), m_unit)) {
        if (*accepted != edit->text())
            edit->setText(*accepted);
        return true;
    }
    // Showing the message takes the focus from the field, which must not count as leaving
    // it a second time.
    if (!m_reporting) {
        m_reporting = true;
        m_context.prompts().show(QString::fromLatin1(kProgramCaption),
                                 QString::fromLatin1(kInvalidGlucoseText), PromptButtons::Ok,
                                 PromptIcon::Warning);
        m_reporting = false;
    }
    edit->setFocus();
    edit->selectAll();
    return false;
}

bool GlucoseRangeDlg::leaveLimit(QLineEdit* limit, QLineEdit* extreme, int (*extremeFor)(int)) {
    if (m_reporting)
        return false;
    if (!checkField(limit))
        return false;
    const QString derived = formatGlucose(extremeFor(parseGlucoseEntry(limit->text())), m_unit);
    if (derived != extreme->text()) {
        extreme->setText(derived);
        emit changed();
    }
    return true;
}

bool GlucoseRangeDlg::lowLeft() {
    const bool left = leaveLimit(m_lo, m_extLo, &extremeLowFor);
    m_lowEdited = m_lowEdited && !left;
    return left;
}

bool GlucoseRangeDlg::highLeft() {
    const bool left = leaveLimit(m_hi, m_extHi, &extremeHighFor);
    m_highEdited = m_highEdited && !left;
    return left;
}

bool GlucoseRangeDlg::validate() {
    // OK pressed straight from an edited low or high field leaves it only after the sheet
    // has stored (the check on leaving is queued): its extreme limit is derived here, so
    // that it is never stored beside a new target. Untouched limits keep the extremes they
    // have, which need not follow the rule.
    const bool low = m_lowEdited ? lowLeft() : checkField(m_lo);
    if (!low)
        return false;
    const bool high = m_highEdited ? highLeft() : checkField(m_hi);
    if (!high)
        return false;
    for (QLineEdit* edit : {m_extLo, m_extHi})
        if (!checkField(edit))
            return false;
    const std::optional<RangeRefusal> refusal = rangeRefusal(texts(), m_unit);
    if (!refusal)
        return true;
    m_reporting = true;
    m_context.prompts().show(QString::fromLatin1(kProgramCaption), refusal->text, PromptButtons::Ok,
                             PromptIcon::Warning);
    m_reporting = false;
    QLineEdit* edit = editOf(refusal->field);
    edit->setFocus();
    edit->selectAll();
    return false;
}

RangeTexts GlucoseRangeDlg::texts() const {
    RangeTexts all;
    for (int i = 0; i < kRangeFieldCount; ++i)
        all[static_cast<size_t>(i)] = editOf(static_cast<RangeField>(i))->text();
    return all;
}

QLineEdit* GlucoseRangeDlg::editOf(RangeField field) const {
    QLineEdit* const edits[kRangeFieldCount] = {
        m_lo,          m_hi,          m_extLo,        m_extHi,        m_systolic[0],
        m_systolic[1], m_systolic[2], m_diastolic[0], m_diastolic[1], m_diastolic[2]};
    return edits[static_cast<int>(field)];
}

bool GlucoseRangeDlg::apply() {
    m_fields.glucoseExtLo = m_extLo->text();
    m_fields.glucoseLo = m_lo->text();
    m_fields.glucoseHi = m_hi->text();
    m_fields.glucoseExtHi = m_extHi->text();
    m_fields.bpSystolicNormal = m_systolic[0]->text().toInt();
    m_fields.bpSystolicModerate = m_systolic[1]->text().toInt();
    m_fields.bpSystolicHi = m_systolic[2]->text().toInt();
    m_fields.bpDiastolicNormal = m_diastolic[0]->text().toInt();
    m_fields.bpDiastolicModerate = m_diastolic[1]->text().toInt();
    m_fields.bpDiastolicHi = m_diastolic[2]->text().toInt();
    return true;
}
