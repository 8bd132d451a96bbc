#pragma once

#include "app/AppDialogs.h"

#include <QPointer>
#include <memory>

class FinalizingWindow;
class QWidget;

// The start-up windows as real dialogs.
class WidgetAppDialogs : public AppDialogs {
public:
    explicit WidgetAppDialogs(QWidget* parent = nullptr);
    ~WidgetAppDialogs() override;

    std::optional<QString> askNewPatientName() override;
    std::optional<QString>
    chooseUser(const std::vector<std::pair<QString, QString>>& namesAndPalmNames) override;
    void showFinalizing(bool shown) override;

    // The dialogs' parent, for the patient commands run from the main window.
    void setParent(QWidget* parent) { m_parent = parent; }

private:
    QPointer<QWidget> m_parent;
    std::unique_ptr<FinalizingWindow> m_finalizing;
};
