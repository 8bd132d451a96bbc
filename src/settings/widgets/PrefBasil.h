#pragma once

#include "storage/BasilRate.h"
#include "ui/widgets/RecordListPage.h"

class DeleteQuestion;
class PatientSettingsContext;

// The pump's basal rates by time of day, for the physician's summary.
class PrefBasil : public RecordEditPage<BasilRate> {
    Q_OBJECT
public:
    static constexpr const char* kTitle = "Basil Rates";

    PrefBasil(PatientSettingsContext& context, DeleteQuestion& deleteQuestion,
              QWidget* parent = nullptr);

protected:
    std::vector<Row> rows() override;
    bool editNew() override;
    bool editStored(int pk) override;
    bool removeStored(int pk) override;
    bool confirmRemove() override;
    bool runDialog(BasilRate& rate) override;

private:
    bool edit(BasilRate& rate);

    PatientSettingsContext& m_context;
    DeleteQuestion& m_deleteQuestion;
};
