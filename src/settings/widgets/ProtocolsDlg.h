#pragma once

#include "storage/Protocol.h"
#include "ui/widgets/RecordListPage.h"

class DeleteQuestion;
class PatientSettingsContext;

// The patient's dated treatment protocols, newest first. One protocol always remains.
class ProtocolsDlg : public RecordEditPage<Protocol> {
    Q_OBJECT
public:
    static constexpr const char* kTitle = "Protocols";

    ProtocolsDlg(PatientSettingsContext& context, DeleteQuestion& deleteQuestion,
                 QWidget* parent = nullptr);

protected:
    std::vector<Row> rows() override;
    bool editNew() override;
    bool editStored(int pk) override;
    bool removeStored(int pk) override;
    bool confirmRemove() override;
    void filled() override;
    bool runDialog(Protocol& protocol) override;

private:
    bool edit(Protocol& protocol);
    bool removable() const;

    PatientSettingsContext& m_context;
    DeleteQuestion& m_deleteQuestion;
};
