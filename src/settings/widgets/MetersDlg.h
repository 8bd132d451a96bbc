#pragma once

#include "settings/widgets/MeterDlg.h"
#include "settings/widgets/SettingsListPage.h"

// The patient's glucose meters and pumps.
class MetersDlg : public SettingsListPage<MeterTable, MeterDlg> {
    Q_OBJECT
public:
    static constexpr const char* kTitle = "Meters";

    MetersDlg(PatientSettingsContext& context, DeleteQuestion& deleteQuestion,
              QWidget* parent = nullptr);

protected:
    std::vector<Row> rows() override;
    bool removeStored(int pk) override;
};
