#pragma once

#include <QDialog>

class QHBoxLayout;
class QPushButton;
class RecordListPage;

// The modal dialog around a side log's list: the list page, and beside its buttons OK (and
// Cancel where the log has one). Every change is stored as it is made, so both only close.
class SideLogListDlg : public QDialog {
    Q_OBJECT
public:
    RecordListPage* page() const { return m_page; }
    QPushButton* okButton() const { return m_ok; }
    // Null when the dialog has none.
    QPushButton* cancelButton() const { return m_cancel; }

protected:
    SideLogListDlg(const QString& title, QWidget* parent);

    // Puts the page in the dialog and the closing buttons at the end of its button row.
    template <class Page> void setPage(Page* page, bool withCancel) {
        placePage(page, page->buttonRow(), withCancel);
    }

private:
    void placePage(RecordListPage* page, QHBoxLayout* buttonRow, bool withCancel);

    RecordListPage* m_page = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};
