#pragma once

#include <QDialog>
#include <QString>
#include <utility>
#include <vector>

class QTreeWidget;

// The patient chooser: every patient with the handheld user name paired with it, sorted by
// patient name. OK closes only when exactly one row is selected.
class UserDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr int kNameColumnWidth = 200;
    static constexpr int kPalmColumnWidth = 150;

    explicit UserDialog(const std::vector<std::pair<QString, QString>>& namesAndPalmNames,
                        QWidget* parent = nullptr);

    // The patient chosen with OK.
    const QString& selectedName() const { return m_selected; }
    QTreeWidget* list() const { return m_list; }

public slots:
    void accept() override;

private:
    QTreeWidget* m_list;
    QString m_selected;
};
