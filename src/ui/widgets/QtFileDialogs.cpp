#include "ui/widgets/QtFileDialogs.h"

#include <QFileDialog>

QString QtFileDialogs::getOpenFileName(const QString& caption, const QString& folder,
                                       const QString& filter) {
    return QFileDialog::getOpenFileName(m_parent, caption, folder, filter);
}

QString QtFileDialogs::getSaveFileName(const QString& caption, const QString& folder,
                                       const QString& filter) {
    return QFileDialog::getSaveFileName(m_parent, caption, folder, filter);
}

QString QtFileDialogs::getSaveFileNameNoOverwriteQuestion(const QString& caption,
                                                          const QString& folder,
                                                          const QString& filter) {
    return QFileDialog::getSaveFileName(m_parent, caption, folder, filter, nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}
