#pragma once

#include "ui/widgets/PropertySheet.h"

class DeleteQuestion;
class LogbookContext;
class QbPrefGeneral;
class QbPrefSchedulePage;

// The quick-bolus set-up sheet: General, then the target, ratio and sensitivity schedules.
// Schedule rows are stored as they are confirmed; the insulin settings only when the sheet
// closes with OK.
class QbPreferenceDlg : public PropertySheet {
    Q_OBJECT
public:
    QbPreferenceDlg(LogbookContext& context, DeleteQuestion& deleteQuestion,
                    QWidget* parent = nullptr);

    QbPrefGeneral* generalPage() const { return m_general; }
    QbPrefSchedulePage* schedulePage(int index) const;

    void done(int result) override;

private:
    QbPrefGeneral* m_general;
};

// Opens the sheet over the parent; true when it closed with OK (the calculator may have
// been switched on or off).
bool editQuickBolusSetup(LogbookContext& context, QWidget* parent);
