#include "app/widgets/WidgetAppDialogs.h"

#include "app/widgets/FinalizingWindow.h"
#include "app/widgets/NewPatientDialog.h"
#include "app/widgets/UserDialog.h"

WidgetAppDialogs::WidgetAppDialogs(QWidget* parent) : m_parent(parent) {}

WidgetAppDialogs::~WidgetAppDialogs() = default;

std::optional<QString> WidgetAppDialogs::askNewPatientName() {
    NewPatientDialog dialog(m_parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.name();
}

std::optional<QString>
WidgetAppDialogs::chooseUser(const std::vector<std::pair<QString, QString>>& namesAndPalmNames) {
    UserDialog dialog(namesAndPalmNames, m_parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.selectedName();
}

void WidgetAppDialogs::showFinalizing(bool shown) {
    if (!shown) {
        m_finalizing.reset();
        return;
    }
    if (!m_finalizing)
        m_finalizing = std::make_unique<FinalizingWindow>(); // top-level: outlives no parent
    m_finalizing->showCentred();
}
