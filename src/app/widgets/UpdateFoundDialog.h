#pragma once

#include <QDialog>
#include <QString>

class QPushButton;

// "Application Update Found": the running and the available version, and whether to download
// the new one now. Accepted ("Go Get It!") means yes.
class UpdateFoundDialog : public QDialog {
    Q_OBJECT

public:
    UpdateFoundDialog(const QString& currentVersion, const QString& availableVersion,
                      QWidget* parent = nullptr);

    QPushButton* goButton() const { return m_go; }
    QPushButton* laterButton() const { return m_later; }

private:
    QPushButton* m_go;
    QPushButton* m_later;
};
