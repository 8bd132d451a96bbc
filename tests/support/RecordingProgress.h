#pragma once

#include "ui/Progress.h"

#include <QStringList>

// A Progress that keeps what the window would have shown: every topic, every step's item
// line, and how often it was closed.
class RecordingProgress : public Progress {
public:
    void begin(const QString& topic, int range) override {
        topics.append(topic);
        m_range = range;
    }
    void step(const QString& item, int taken) override {
        items.append(itemLine(item, taken, m_range));
    }
    void finish() override { ++finished; }

    int steps() const { return static_cast<int>(items.size()); }

    QStringList topics;
    QStringList items;
    int finished = 0;

private:
    int m_range = 0;
};
