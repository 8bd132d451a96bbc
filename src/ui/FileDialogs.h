#pragma once

#include <QString>

// File open and save dialogs go through this interface, so that tests can answer them from a
// script instead of a window. An empty result means the patient cancelled.
class FileDialogs {
public:
    virtual ~FileDialogs() = default;

    // `filter` uses the usual "Description (*.ext);;All files (*)" form.
    virtual QString getOpenFileName(const QString& caption, const QString& folder,
                                    const QString& filter) = 0;
    virtual QString getSaveFileName(const QString& caption, const QString& folder,
                                    const QString& filter) = 0;
    // A save dialog for a caller that asks its own question about replacing an existing file,
    // so that the patient is not asked twice. The plain save dialog unless a dialog can leave
    // that question out.
    virtual QString getSaveFileNameNoOverwriteQuestion(const QString& caption,
                                                       const QString& folder,
                                                       const QString& filter) {
        return getSaveFileName(caption, folder, filter);
    }
};
