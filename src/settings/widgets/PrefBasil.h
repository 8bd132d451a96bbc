#pragma once

#include "settings/widgets/BasilDetailDlg.h"
#include "settings/widgets/SettingsListPage.h"

// The pump's basal rates by time of day, for the physician's summary.
class PrefBasil : public SettingsListPage<BasilRateTable, BasilDetailDlg> {
    Q_OBJECT
public:
    static constexpr const char* kTitle = "Basil Rates";

    PrefBasil(PatientSettingsContext& context, DeleteQuestion& deleteQuestion,
              QWidget* parent = nullptr);

protected:
    std::vector<Row> rows() override;
    bool removeStored(int pk) override;
};
