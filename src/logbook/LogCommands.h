#pragma once

#include "logbook/LogRows.h"
#include "logbook/LogbookActions.h"

#include <vector>

class DeleteQuestion;
class LogbookContext;

// The rows a command acts on: the selected rows in list order and the selection mark (the
// list's focus-and-anchor row; no tag when nothing is selected).
struct LogSelection {
    std::vector<LogRow> rows;
    LogRow mark{0, 0};

    // The only selected row, or nothing.
    const LogRow* single() const { return rows.size() == 1 ? &rows.front() : nullptr; }
    bool singleEntry() const { return single() && single()->tag == 'S'; }
    bool singleDay() const { return single() && single()->tag == 'D'; }
};

// What a logbook list's owner (the view, the day dialog's entries page) does around the
// commands: it knows the selection, opens the editors and shows what changed.
class LogCommandHost {
public:
    virtual ~LogCommandHost() = default;
    virtual LogSelection selection() const = 0;
    // New entry; `atSelection` for the context menus' "New Log Entry ...".
    virtual void newEntry(bool atSelection) = 0;
    virtual void modify(const LogRow& row) = 0;
    // The given rows were visited for removal with this result; nothing was removed when
    // the patient declined.
    virtual void removed(const std::vector<LogRow>& rows,
                         const LogbookActions::Removal& removal) = 0;
    // Values shown in existing rows changed.
    virtual void changed() = 0;
    virtual void showDayEntries(bool /*show*/) {}
};

// The commands on days and entries of every logbook list, with one rule for when each is
// enabled and checked, whichever list the patient works in. New, Modify and Remove are
// always offered as the selection allows; the quick edits of an entry's ketones and slot act
// on the entry at the selection mark, those of its infusion site and delivery on the only
// selected row when it is an entry; the kind of day on the day at the mark.
class LogCommands {
public:
    LogCommands(LogbookContext& context, DeleteQuestion& deleteQuestion, LogCommandHost& host)
        : m_context(context), m_deleteQuestion(deleteQuestion), m_host(host), m_actions(context) {}

    // Whether the id is one of these commands.
    static bool handles(int id);
    bool isEnabled(int id) const;
    // Check marks: the entry's own ketone result, slot, delivery and site change, the day's
    // kind.
    bool isChecked(int id) const;
    // Runs a command; false when it is not one of these or is disabled.
    bool run(int id);

    LogSelection selection() const { return m_host.selection(); }
    LogbookContext& context() const { return m_context; }

private:
    bool isEnabled(int id, const LogSelection& selection) const;
    void remove(const LogSelection& selection);

    LogbookContext& m_context;
    DeleteQuestion& m_deleteQuestion;
    LogCommandHost& m_host;
    LogbookActions m_actions;
};
