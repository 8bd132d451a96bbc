#pragma once

#include "storage/Meter.h"
#include "ui/widgets/RecordListPage.h"

class DeleteQuestion;
class PatientSettingsContext;

// The patient's glucose meters and pumps.
class MetersDlg : public RecordEditPage<Meter> {
    Q_OBJECT
public:
    static constexpr const char* kTitle = "Meters";

    MetersDlg(PatientSettingsContext& context, DeleteQuestion& deleteQuestion,
              QWidget* parent = nullptr);

protected:
    std::vector<Row> rows() override;
    bool editNew() override;
    bool editStored(int pk) override;
    bool removeStored(int pk) override;
    bool confirmRemove() override;
    bool runDialog(Meter& meter) override;

private:
    bool edit(Meter& meter);

    PatientSettingsContext& m_context;
    DeleteQuestion& m_deleteQuestion;
};
