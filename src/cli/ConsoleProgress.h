#pragma once

#include "ui/Progress.h"

class QTextStream;

// The progress window for jobs run from a terminal: the topic of each long piece of work
// ("Importing Please Wait", "Summarizing LogBook...Please Wait!") is written as a line when it
// begins, so the patient sees what the job is doing. The steps are not written: a line per
// record of a large import would bury the job's own messages.
class ConsoleProgress : public Progress {
public:
    explicit ConsoleProgress(QTextStream& out) : m_out(out) {}

    void begin(const QString& topic, int steps) override;
    void step(const QString&, int) override {}
    void finish() override {}

private:
    QTextStream& m_out;
};
