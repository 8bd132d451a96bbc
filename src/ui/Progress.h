#pragma once

#include <QString>

// The progress window of long operations (summarize pass, imports, database conversion).
// Core code drives it through this interface; the window itself lives with the widgets.
class Progress {
public:
    virtual ~Progress() = default;

    // Shows the window (creating it on first use) with a topic line and a range of steps.
    virtual void begin(const QString& topic, int steps) = 0;
    // Moves the bar to `taken` steps of the range and shows "<item> <taken> of <steps>".
    virtual void step(const QString& item, int taken) = 0;
    virtual void finish() = 0;

    // The item line of a step, shared by every implementation.
    static QString itemLine(const QString& item, int taken, int steps) {
        return QStringLiteral("%1 %2 of %3").arg(item).arg(taken).arg(steps);
    }
};

class NoProgress : public Progress {
public:
    void begin(const QString&, int) override {}
    void step(const QString&, int) override {}
    void finish() override {}
};
