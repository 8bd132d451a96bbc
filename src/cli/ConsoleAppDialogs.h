#pragma once

#include "app/AppDialogs.h"

#include <QString>
#include <optional>

class QTextStream;

// The start-up windows for jobs run from a terminal. A job never creates a patient and never
// picks one among several by itself: both are refused with a line on standard error saying
// what to do instead, and the start-up then opens nothing.
class ConsoleAppDialogs : public AppDialogs {
public:
    explicit ConsoleAppDialogs(QTextStream& err) : m_err(err) {}

    std::optional<QString> askNewPatientName() override;
    // The name the "new-patient" job was given; it answers the new-patient question once.
    void setNewPatientName(const QString& name) { m_newPatientName = name; }
    std::optional<QString>
    chooseUser(const std::vector<std::pair<QString, QString>>& namesAndPalmNames) override;
    void showFinalizing(bool) override {}

private:
    QTextStream& m_err;
    std::optional<QString> m_newPatientName;
};
