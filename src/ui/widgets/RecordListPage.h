#pragma once

#include "ui/widgets/PropertySheet.h"

#include <QStringList>
#include <functional>
#include <memory>
#include <span>
#include <vector>

class QHBoxLayout;
class QMenu;
class QPushButton;
class QTreeWidget;

// One column of a list page: its header, its width in pixels and whether its texts are
// centred or right-aligned (otherwise they sit on the left).
struct RecordListColumn {
    // The width of a column that takes whatever the other columns leave.
    static constexpr int kRemainingWidth = -1;

    const char* header;
    int width;
    bool centred;
    bool rightAligned = false;
};

// One listed row: the record's key, kept as the row's value, and the texts of its cells.
struct RecordListRow {
    int pk;
    QStringList cells;
};

// A property page that lists the records of one table with New, Modify and Remove. The rows
// act on the stored records directly: every confirmed change is stored at once, so the
// sheet's Cancel leaves it in place, and the list is read again after each change.
class RecordListPage : public PropertyPage {
    Q_OBJECT
public:
    QTreeWidget* list() const { return m_list; }
    QPushButton* newButton() const { return m_new; }
    QPushButton* modifyButton() const { return m_modify; }
    QPushButton* removeButton() const { return m_remove; }

    // Lists what the table holds now.
    void fill();
    // The key of the selected row when exactly one row is selected, otherwise 0.
    int selectedKey() const;
    // The keys of every selected row, in list order.
    std::vector<int> selectedKeys() const;

    void newItem();
    // Modify acts on a single selected row only; so does Remove, unless the page lets
    // several rows be selected, when it removes each of them after one question.
    void modifyItem();
    void removeItem();

    // The menu a right click opens on the selected row ("New", "Modify", "Remove" and
    // whatever the page adds); nothing when the page has no menu or not exactly one row is
    // selected. The caller owns and runs it.
    std::unique_ptr<QMenu> contextMenu();

protected:
    using Row = RecordListRow;

    // `listName` names the list control; `explanation` (may be null) is shown above it.
    RecordListPage(const char* listName, std::span<const RecordListColumn> columns,
                   const char* explanation, QWidget* parent);

    virtual std::vector<Row> rows() = 0;
    // Open the item dialog on a new record, or on the stored record with that key, and
    // store it when the dialog closes with OK. True when something was stored.
    virtual bool editNew() = 0;
    virtual bool editStored(int pk) = 0;
    virtual bool removeStored(int pk) = 0;
    // Asked before every removal; false leaves the row alone.
    virtual bool confirmRemove() = 0;
    // Runs after every fill, for buttons that depend on what is listed.
    virtual void filled() {}
    // Adds the page's own entries to the right-click menu of the row with that key.
    virtual void extendContextMenu(QMenu&, int) {}

    // Pages with a right-click menu turn it on; the list then opens it itself.
    void enableContextMenu();
    // Lets the patient select several rows at once, for removing them together.
    void allowSeveralSelected();
    // The next fill selects the row with this key (a row just stored) instead of the row
    // selected before.
    void selectAfterFill(int pk) { m_selectNext = pk; }
    // The row of buttons, for pages that have more than the three.
    QHBoxLayout* buttonRow() const { return m_buttons; }
    // Refills and, when something was stored, tells the sheet the page changed.
    void stored(bool anyStored);

private:
    std::vector<Qt::Alignment> m_alignments;
    bool m_hasMenu = false;
    bool m_several = false;
    int m_selectNext = 0;
    QTreeWidget* m_list = nullptr;
    QPushButton* m_new = nullptr;
    QPushButton* m_modify = nullptr;
    QPushButton* m_remove = nullptr;
    QHBoxLayout* m_buttons = nullptr;
};

// A list page whose rows are records of one kind, each edited in a small item dialog. Tests
// may put their own editor in place of the dialog.
template <class Record> class RecordEditPage : public RecordListPage {
public:
    // Edits the record in place; true when the edit was confirmed.
    using ItemEditor = std::function<bool(Record&)>;

    void setItemEditor(ItemEditor editor) { m_editor = std::move(editor); }

protected:
    using RecordListPage::RecordListPage;

    bool runEditor(Record& record) { return m_editor ? m_editor(record) : runDialog(record); }
    // Shows the page's item dialog on a copy of the record; on OK the record takes its values.
    virtual bool runDialog(Record& record) = 0;

private:
    ItemEditor m_editor;
};
