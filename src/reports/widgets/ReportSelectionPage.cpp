#include "reports/widgets/ReportSelectionPage.h"

#include "ui/Prompts.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDateTime>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace {

QDate localDate(std::time_t moment) {
    return QDateTime::fromSecsSinceEpoch(static_cast<qint64>(moment)).date();
}

std::time_t pickedMoment(std::time_t moment, const QDateEdit* picker) {
    const QDate date = picker->date();
    return ReportSelection::withDate(moment, date.year(), date.month(), date.day());
}

// "date  For [n] week(s)" on one line.
QHBoxLayout* periodRow(QWidget* date, const QString& forText, QWidget* weeks, QWidget* parent) {
    auto* row = new QHBoxLayout;
    row->addWidget(date);
    row->addSpacing(8);
    row->addWidget(new QLabel(forText, parent));
    row->addWidget(weeks);
    row->addWidget(new QLabel(QStringLiteral("week(s)"), parent));
    row->addStretch();
    return row;
}

} // namespace

ReportSelectionPage::ReportSelectionPage(ReportPrintSettings& values, bool pumpStatusAvailable,
                                         Prompts& prompts, QWidget* parent)
    : PropertyPage(parent), m_values(values), m_prompts(prompts) {
    auto* logGroup = new QGroupBox(QStringLiteral("Log Report(s)"), this);
    m_docSummary = addCheck(QStringLiteral("Physician Summary"), values.includeDocSummary);
    m_glucoseStats =
        addCheck(QStringLiteral("Glucose Statistics (AGP)"), values.includeGlucoseStats);
    m_daySummary = addCheck(QStringLiteral("Daily Summary"), values.includeDaySummary);
    m_logDetail = addCheck(QStringLiteral("Detailed Log Book"), values.includeLogDetail);
    m_periodEnd = addDate(values.periodEnd);
    m_logWeeks = addWeeks(values.logWeeks);
    auto* logLayout = new QVBoxLayout(logGroup);
    logLayout->addWidget(m_docSummary);
    logLayout->addWidget(m_glucoseStats);
    logLayout->addWidget(m_daySummary);
    logLayout->addWidget(m_logDetail);
    logLayout->addLayout(periodRow(m_periodEnd, QStringLiteral("For"), m_logWeeks, this));

    m_worksheet = addCheck(QStringLiteral("Worksheet Beginning On:"), values.includeWorksheet);
    m_worksheetStart = addDate(values.worksheetStart);
    m_worksheetWeeks = addWeeks(values.worksheetWeeks);
    auto* worksheetRow = periodRow(m_worksheetStart, QStringLiteral("for"), m_worksheetWeeks, this);
    worksheetRow->insertWidget(0, m_worksheet);

    auto* otherGroup = new QGroupBox(QStringLiteral("Other Reports"), this);
    m_foodLog = addCheck(QStringLiteral("Food and Carbohydrate Report"), values.includeFoodLog);
    m_bpLog = addCheck(QStringLiteral("Blood Pressure "), values.includeBpLog);
    // While the calculator is switched off the report cannot be chosen, and a choice stored
    // earlier is not shown ticked: what the page shows ticked is what prints.
    m_pumpStatus = addCheck(QStringLiteral("RivezAdozu and Infusion Site"),
                            values.includePumpStatus && pumpStatusAvailable);
    m_pumpStatus->setEnabled(pumpStatusAvailable);
    auto* otherLayout = new QVBoxLayout(otherGroup);
    otherLayout->addWidget(m_foodLog);
    otherLayout->addWidget(m_bpLog);
    otherLayout->addWidget(m_pumpStatus);

    auto* note =
        new QLabel(QStringLiteral("( Make sure your printer is in Landscape mode )"), this);
    note->setAlignment(Qt::AlignCenter);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(logGroup);
    layout->addLayout(worksheetRow);
    layout->addWidget(otherGroup);
    layout->addStretch();
    layout->addWidget(note);

    for (QCheckBox* box : {m_docSummary, m_glucoseStats, m_daySummary, m_logDetail, m_worksheet,
                           m_bpLog, m_pumpStatus})
        connect(box, &QCheckBox::toggled, this, &ReportSelectionPage::updateEnabling);
    updateEnabling();
}

QCheckBox* ReportSelectionPage::addCheck(const QString& text, bool checked) {
    auto* box = new QCheckBox(text, this);
    box->setChecked(checked);
    connect(box, &QCheckBox::toggled, this, &PropertyPage::changed);
    return box;
}

QDateEdit* ReportSelectionPage::addDate(std::time_t moment) {
    auto* picker = new QDateEdit(localDate(moment), this);
    picker->setCalendarPopup(true);
    picker->setDisplayFormat(QStringLiteral("MMMM d, yyyy"));
    connect(picker, &QDateEdit::dateChanged, this, &PropertyPage::changed);
    return picker;
}

QLineEdit* ReportSelectionPage::addWeeks(int weeks) {
    auto* edit = new QLineEdit(QString::number(weeks), this);
    // Room for more digits than either range allows, so that a count too large is reported
    // rather than silently cut.
    edit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,4}")), edit));
    edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(u'0') * 6);
    connect(edit, &QLineEdit::textEdited, this, &PropertyPage::changed);
    return edit;
}

ReportPrintSettings ReportSelectionPage::ticked() const {
    ReportPrintSettings values;
    values.includeDocSummary = m_docSummary->isChecked();
    values.includeGlucoseStats = m_glucoseStats->isChecked();
    values.includeDaySummary = m_daySummary->isChecked();
    values.includeLogDetail = m_logDetail->isChecked();
    values.includeWorksheet = m_worksheet->isChecked();
    values.includeFoodLog = m_foodLog->isChecked();
    values.includeBpLog = m_bpLog->isChecked();
    values.includePumpStatus = m_pumpStatus->isChecked();
    return values;
}

void ReportSelectionPage::updateEnabling() {
    const ReportPrintSettings now = ticked();
    const bool period = ReportSelection::periodEnabled(now);
    m_periodEnd->setEnabled(period);
    m_logWeeks->setEnabled(period);
    const bool worksheet = ReportSelection::worksheetEnabled(now);
    m_worksheetStart->setEnabled(worksheet);
    m_worksheetWeeks->setEnabled(worksheet);
}

bool ReportSelectionPage::checkWeeks(ReportSelection::WeekField field, QLineEdit* edit) {
    const ReportSelection::WeekCount count = ReportSelection::parseWeeks(field, edit->text());
    if (count.refusal.isEmpty())
        return true;
    m_prompts.show(QString::fromLatin1(kProgramCaption), count.refusal, PromptButtons::Ok,
                   PromptIcon::Warning);
    edit->setFocus();
    edit->selectAll();
    return false;
}

bool ReportSelectionPage::validate() {
    return checkWeeks(ReportSelection::WeekField::LogWeeks, m_logWeeks) &&
           checkWeeks(ReportSelection::WeekField::WorksheetWeeks, m_worksheetWeeks);
}

bool ReportSelectionPage::apply() {
    const ReportPrintSettings now = ticked();
    m_values.includeDocSummary = now.includeDocSummary;
    m_values.includeGlucoseStats = now.includeGlucoseStats;
    m_values.includeDaySummary = now.includeDaySummary;
    m_values.includeLogDetail = now.includeLogDetail;
    m_values.includeWorksheet = now.includeWorksheet;
    m_values.includeFoodLog = now.includeFoodLog;
    m_values.includeBpLog = now.includeBpLog;
    m_values.includePumpStatus = now.includePumpStatus;
    m_values.periodEnd = pickedMoment(m_values.periodEnd, m_periodEnd);
    m_values.worksheetStart = pickedMoment(m_values.worksheetStart, m_worksheetStart);
    m_values.logWeeks =
        ReportSelection::parseWeeks(ReportSelection::WeekField::LogWeeks, m_logWeeks->text()).value;
    m_values.worksheetWeeks =
        ReportSelection::parseWeeks(ReportSelection::WeekField::WorksheetWeeks,
                                    m_worksheetWeeks->text())
            .value;
    return true;
}
