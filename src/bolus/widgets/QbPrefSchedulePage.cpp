#include "bolus/widgets/QbPrefSchedulePage.h"

#include "logbook/DeleteConfirmation.h"

namespace {

std::vector<RecordListColumn> listColumns(std::span<const QbListColumn> columns) {
    std::vector<RecordListColumn> converted;
    for (const QbListColumn& column : columns)
        converted.push_back({column.header, column.width, column.centred});
    return converted;
}

} // namespace

QbPrefSchedulePage::QbPrefSchedulePage(LogbookContext& context, DeleteQuestion& deleteQuestion,
                                       const char* explanation,
                                       std::span<const QbListColumn> columns, QWidget* parent)
    : RecordListPage("1089", listColumns(columns), explanation, parent), m_context(context),
      m_deleteQuestion(deleteQuestion) {}

bool QbPrefSchedulePage::confirmRemove() {
    return confirmDelete(m_context.database(), m_context.preference(), m_deleteQuestion);
}
