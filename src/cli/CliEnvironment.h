#pragma once

#include <QString>

class Clock;
class QTextStream;

// What a command-line run works with: its two output streams, the settings file and the clock.
// The program passes standard output and error and its real settings; tests pass their own.
struct CliEnvironment {
    QTextStream& out;
    QTextStream& err;
    QString settingsPath;
    const Clock& clock;
};
