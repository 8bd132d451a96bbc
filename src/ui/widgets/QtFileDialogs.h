#pragma once

#include "ui/FileDialogs.h"

#include <QPointer>
#include <QWidget>

// The file dialogs of the desktop, through QFileDialog.
class QtFileDialogs : public FileDialogs {
public:
    explicit QtFileDialogs(QWidget* parent = nullptr) : m_parent(parent) {}

    void setParent(QWidget* parent) { m_parent = parent; }

    QString getOpenFileName(const QString& caption, const QString& folder,
                            const QString& filter) override;
    QString getSaveFileName(const QString& caption, const QString& folder,
                            const QString& filter) override;
    QString getSaveFileNameNoOverwriteQuestion(const QString& caption, const QString& folder,
                                               const QString& filter) override;

private:
    QPointer<QWidget> m_parent;
};
