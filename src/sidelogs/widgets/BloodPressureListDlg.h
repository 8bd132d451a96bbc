#pragma once

#include "sidelogs/widgets/SideLogListDlg.h"

class DeleteQuestion;
class LogbookContext;

// "Vitals History": the vital records, newest first, with New, Modify and Remove of one
// selected record at a time.
class BloodPressureListDlg : public SideLogListDlg {
    Q_OBJECT
public:
    BloodPressureListDlg(LogbookContext& context, DeleteQuestion& deleteQuestion,
                         QWidget* parent = nullptr);
};

// The view's "Vitals" command.
void editVitalsLog(LogbookContext& context, DeleteQuestion& deleteQuestion, QWidget* parent);
