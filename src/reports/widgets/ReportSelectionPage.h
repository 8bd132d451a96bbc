#pragma once

#include "reports/ReportSelection.h"
#include "ui/widgets/PropertySheet.h"

class Prompts;
class QCheckBox;
class QDateEdit;
class QLineEdit;

// Which reports to print, for which period, and the worksheets. The fields of the period are
// offered only while a report that covers a period is ticked, those of the worksheets only
// while the worksheets are.
class ReportSelectionPage : public PropertyPage {
    Q_OBJECT
public:
    static constexpr const char* kTitle = "Report Selection";

    // `pumpStatusAvailable`: the quick bolus and infusion site report may be chosen.
    ReportSelectionPage(ReportPrintSettings& values, bool pumpStatusAvailable, Prompts& prompts,
                        QWidget* parent = nullptr);

    // Refuses a week count out of its range, with the focus on it.
    bool validate() override;
    // Takes the ticks, dates and counts into the values.
    bool apply() override;

    QCheckBox* docSummary() const { return m_docSummary; }
    QCheckBox* glucoseStats() const { return m_glucoseStats; }
    QCheckBox* daySummary() const { return m_daySummary; }
    QCheckBox* logDetail() const { return m_logDetail; }
    QCheckBox* worksheet() const { return m_worksheet; }
    QCheckBox* foodLog() const { return m_foodLog; }
    QCheckBox* bpLog() const { return m_bpLog; }
    QCheckBox* pumpStatus() const { return m_pumpStatus; }
    QDateEdit* periodEnd() const { return m_periodEnd; }
    QLineEdit* logWeeks() const { return m_logWeeks; }
    QDateEdit* worksheetStart() const { return m_worksheetStart; }
    QLineEdit* worksheetWeeks() const { return m_worksheetWeeks; }

private:
    QCheckBox* addCheck(const QString& text, bool checked);
    QDateEdit* addDate(std::time_t moment);
    QLineEdit* addWeeks(int weeks);
    // The ticks as they stand on the page.
    ReportPrintSettings ticked() const;
    void updateEnabling();
    bool checkWeeks(ReportSelection::WeekField field, QLineEdit* edit);

    ReportPrintSettings& m_values;
    Prompts& m_prompts;
    QCheckBox* m_docSummary;
    QCheckBox* m_glucoseStats;
    QCheckBox* m_daySummary;
    QCheckBox* m_logDetail;
    QCheckBox* m_worksheet;
    QCheckBox* m_foodLog;
    QCheckBox* m_bpLog;
    QCheckBox* m_pumpStatus;
    QDateEdit* m_periodEnd;
    QLineEdit* m_logWeeks;
    QDateEdit* m_worksheetStart;
    QLineEdit* m_worksheetWeeks;
};
