#pragma once

#include "settings/widgets/ProtocolDlg.h"
#include "settings/widgets/SettingsListPage.h"

// The patient's dated treatment protocols, newest first. One protocol always remains.
class ProtocolsDlg : public SettingsListPage<ProtocolTable, ProtocolDlg> {
    Q_OBJECT
public:
    static constexpr const char* kTitle = "Protocols";

    ProtocolsDlg(PatientSettingsContext& context, DeleteQuestion& deleteQuestion,
                 QWidget* parent = nullptr);

protected:
    std::vector<Row> rows() override;
    Protocol newRecord() override;
    bool removeStored(int pk) override;
    bool confirmRemove() override;
    void filled() override;

private:
    bool removable() const;
};
