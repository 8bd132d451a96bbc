#pragma once

#include "sidelogs/widgets/SideLogListDlg.h"

class DeleteQuestion;
class LogbookContext;

// "Foods": the food and carbohydrate list in order of the names, with New, Modify and
// Delete. Several foods may be selected and deleted together.
class FoodListDlg : public SideLogListDlg {
    Q_OBJECT
public:
    FoodListDlg(LogbookContext& context, DeleteQuestion& deleteQuestion, QWidget* parent = nullptr);
};

// The application's "Foods" command.
void editFoodLog(LogbookContext& context, DeleteQuestion& deleteQuestion, QWidget* parent);
