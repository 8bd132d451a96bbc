#pragma once

#include "ui/FileDialogs.h"

#include <utility>

// The file dialog of a command-line job: it answers with the file named on the command line
// the first time it is opened and is cancelled every time after that. A command that opens its
// dialog again (a refused name, an overwrite answered no) therefore ends instead of asking
// forever, and the same command code runs as from the menu.
class GivenFileDialogs : public FileDialogs {
public:
    explicit GivenFileDialogs(const QString& path) : m_path(path) {}

    QString getOpenFileName(const QString&, const QString&, const QString&) override {
        return answer();
    }
    QString getSaveFileName(const QString&, const QString&, const QString&) override {
        return answer();
    }

private:
    QString answer() { return std::exchange(m_path, QString()); }

    QString m_path;
};
