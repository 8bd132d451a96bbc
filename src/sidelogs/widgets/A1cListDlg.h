#pragma once

#include "sidelogs/widgets/SideLogListDlg.h"

class DeleteQuestion;
class LogbookContext;

// "Hemoglobin A1c": the A1c results, newest first, with New, Modify and Delete. Several
// results may be selected and deleted together.
class A1cListDlg : public SideLogListDlg {
    Q_OBJECT
public:
    A1cListDlg(LogbookContext& context, DeleteQuestion& deleteQuestion, QWidget* parent = nullptr);
};

// The application's "Hemoglobin A1c" command.
void editA1cLog(LogbookContext& context, DeleteQuestion& deleteQuestion, QWidget* parent);
