#pragma once

#include "logbook/DayForm.h"
#include "logbook/LogCommands.h"
#include "ui/widgets/PropertySheet.h"

#include <functional>

class DeleteQuestion;
class LogbookContext;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class Sample;
class SampleListCtrl;

// The day's average glucose in a box coloured by its class, as the logbook list colours it,
// with a frame twice as wide so that it stands out on the page.
class AverageGlucoseBox : public QWidget {
    Q_OBJECT
public:
    explicit AverageGlucoseBox(QWidget* parent = nullptr);

    void setValue(const QString& text, GlucoseClass glucoseClass);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text;
    GlucoseClass m_class = GlucoseClass::InRange;
};

// The "Date" page: the day's totals as they were when the dialog opened, its kind and its
// note. The kind-of-day picture follows the choice at once.
class SampleDateDlg : public PropertyPage {
    Q_OBJECT
public:
    SampleDateDlg(LogbookContext& context, int dayPk, QWidget* parent = nullptr);

    bool apply() override;

    // Takes the kind of day and the note (with the edit's wrap points) into the form.
    void readFields();
    DayForm& form() { return m_form; }

    QComboBox* dayTypeBox() const { return m_dayType; }
    AverageGlucoseBox* averageBox() const { return m_average; }
    QLineEdit* ketoneText() const { return m_ketone; }
    QLabel* ketoneImage() const { return m_ketoneImage; }
    QLineEdit* carbsText() const { return m_carbs; }
    QLineEdit* medicationText() const { return m_medication; }
    QLabel* dayTypeImage() const { return m_dayTypeImage; }
    QPlainTextEdit* notesEdit() const { return m_notes; }

private:
    void showDayTypeImage();

    DayForm m_form;
    QComboBox* m_dayType;
    AverageGlucoseBox* m_average;
    QLineEdit* m_ketone;
    QLabel* m_ketoneImage;
    QLineEdit* m_carbs;
    QLineEdit* m_medication;
    QLabel* m_dayTypeImage;
    QPlainTextEdit* m_notes;
};

// The "Log Entries" page: the day's entries earliest first, with the entry commands of every
// logbook list. Whatever it changes is stored at once, whatever becomes of the sheet.
class SampleDateSamplePage : public PropertyPage, private LogCommandHost {
    Q_OBJECT
public:
    SampleDateSamplePage(LogbookContext& context, int dayPk,
                         std::function<int(Sample&)> entryEditor, DeleteQuestion& deleteQuestion,
                         QWidget* parent = nullptr);

    LogCommands& commands() { return m_commands; }
    // Lists the day's entries again.
    void refill();

    SampleListCtrl* list() const { return m_list; }
    QPushButton* newButton() const { return m_new; }
    QPushButton* modifyButton() const { return m_modify; }
    QPushButton* removeButton() const { return m_remove; }

private:
    // LogCommandHost. Whatever the selection, a new entry here belongs to this day.
    LogSelection selection() const override;
    void newEntry(bool atSelection) override;
    void modify(const LogRow& row) override;
    void removed(const std::vector<LogRow>& rows, const LogbookActions::Removal& removal) override;
    void changed() override;

    void updateButtons();

    LogbookContext& m_context;
    int m_dayPk;
    std::function<int(Sample&)> m_editEntry;
    LogCommands m_commands;
    SampleListCtrl* m_list;
    QPushButton* m_new;
    QPushButton* m_modify;
    QPushButton* m_remove;
};

// The day dialog: the "Date" and "Log Entries" pages of one day, titled with its date.
class SampleDatePropertySheet : public PropertySheet {
    Q_OBJECT
public:
    SampleDatePropertySheet(LogbookContext& context, int dayPk,
                            std::function<int(Sample&)> entryEditor, DeleteQuestion& deleteQuestion,
                            QWidget* parent = nullptr);

    SampleDateDlg* datePage() const { return m_datePage; }
    SampleDateSamplePage* entriesPage() const { return m_entriesPage; }

private:
    SampleDateDlg* m_datePage;
    SampleDateSamplePage* m_entriesPage;
};

// Opens the day dialog for a day; true when it was closed with OK (and its changes stored).
// Entries stored from its entries page stay stored either way.
bool editDay(LogbookContext& context, int dayPk, std::function<int(Sample&)> entryEditor,
             DeleteQuestion& deleteQuestion, QWidget* parent);
