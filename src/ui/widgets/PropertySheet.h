#pragma once

#include <QDialog>
#include <vector>

class QPushButton;
class QTabWidget;

// One page of a property sheet. A page reads its values when it is added, checks them
// before anything is stored, and stores them when the sheet applies.
class PropertyPage : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;

    // False keeps the sheet open (the page has told the patient why and taken the focus).
    virtual bool validate() { return true; }
    // Stores the page's values; false when storing failed.
    virtual bool apply() { return true; }

signals:
    // The page's values differ from what is stored: Apply becomes available.
    void changed();
};

// A dialog of tabbed pages with OK, Cancel and Apply. OK and Apply check every page before
// any page stores anything, then apply the pages in order; Cancel stores nothing. A page is
// also checked when the patient leaves it for another tab, and a refusal keeps it shown.
class PropertySheet : public QDialog {
    Q_OBJECT
public:
    explicit PropertySheet(const QString& title, QWidget* parent = nullptr);
    ~PropertySheet() override;

    void addPage(PropertyPage* page, const QString& title);
    int pageCount() const;
    PropertyPage* page(int index) const;
    void setCurrentPage(int index);

    // Checks and applies every page; true when all of them stored their values.
    virtual bool applyAll();

    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }
    QPushButton* applyButton() const { return m_apply; }

public slots:
    void accept() override;

private:
    void pageChanged(int index);

    QTabWidget* m_tabs;
    int m_shownPage = 0;
    std::vector<PropertyPage*> m_pages;
    QPushButton* m_ok;
    QPushButton* m_cancel;
    QPushButton* m_apply;
};
