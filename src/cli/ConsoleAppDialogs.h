#pragma once

#include "app/AppDialogs.h"

class QTextStream;

// The start-up windows for jobs run from a terminal. A job never creates a patient and never
// picks one among several by itself: both are refused with a line on standard error saying
// what to do instead, and the start-up then opens nothing.
class ConsoleAppDialogs : public AppDialogs {
public:
    explicit ConsoleAppDialogs(QTextStream& err) : m_err(err) {}

    std::optional<QString> askNewPatientName() override;
    std::optional<QString>
    chooseUser(const std::vector<std::pair<QString, QString>>& namesAndPalmNames) override;
    void showFinalizing(bool) override {}

private:
    QTextStream& m_err;
};
