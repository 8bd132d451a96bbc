#pragma once

#include "exchange/CgmInsulin.h"

#include <QDialog>
#include <vector>

class QComboBox;

// "Insulin of the export": which of the patient's insulins takes the export's rapid-acting
// doses and which its long-acting ones. Each list offers "(leave out)" and the patient's active
// insulins; the dialog opens on the suggested choice.
class CgmInsulinDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kCaption = "Insulin of the export";
    static constexpr const char* kLeaveOut = "(leave out)";

    CgmInsulinDialog(const std::vector<CgmInsulinOption>& insulins,
                     const CgmInsulinChoice& suggested, QWidget* parent = nullptr);

    CgmInsulinChoice choice() const;
    QComboBox* rapidList() const { return m_rapid; }
    QComboBox* longList() const { return m_long; }

private:
    QComboBox* m_rapid;
    QComboBox* m_long;
};
