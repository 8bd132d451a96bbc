#pragma once

#include "cli/CliEnvironment.h"

#include <QStringList>

// The command line: parses the arguments, finds the named job in its table, checks the job's
// arguments and options, and runs it. The jobs themselves are thin: they call the same classes
// the menus call.
class CliDispatcher {
public:
    explicit CliDispatcher(const CliEnvironment& environment) : m_environment(environment) {}

    // Runs what the arguments ask (the first argument is the program's name); the exit status
    // (CliExit).
    int run(const QStringList& arguments);

    // Every job and every option, as --help shows them.
    static QString helpText();

private:
    int usageError(const QString& text);

    const CliEnvironment& m_environment;
};
