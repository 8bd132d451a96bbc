#include "logbook/widgets/SampleDatePropertySheet.h"

#include "logbook/LogbookContext.h"
#include "logbook/NoteText.h"
#include "logbook/ViewCommands.h"
#include "logbook/widgets/EntryMenu.h"
#include "logbook/widgets/LogbookLook.h"
#include "logbook/widgets/NoteEdit.h"
#include "logbook/widgets/SampleListCtrl.h"
#include "logbook/widgets/SampleListModel.h"
#include "storage/Preference.h"
#include "storage/SampleDateTable.h"
#include "storage/SampleTable.h"
#include "storage/SampleType.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

using namespace ViewCommand;

namespace {

constexpr int kBoxFrame = 2;
constexpr int kIconSize = 16;

using LogbookLook::iconPixmap;

QLineEdit* readOnlyText(const QString& text, QWidget* parent) {
    auto* edit = new QLineEdit(text, parent);
    edit->setReadOnly(true);
    return edit;
}

QLabel* imageLabel(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setFixedSize(kIconSize, kIconSize);
    return label;
}

} // namespace

// ---- AverageGlucoseBox ---------------------------------------------------------------

AverageGlucoseBox::AverageGlucoseBox(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void AverageGlucoseBox::setValue(const QString& text, GlucoseClass glucoseClass) {
    m_text = text;
    m_class = glucoseClass;
    update();
}

QSize AverageGlucoseBox::sizeHint() const {
    return {80, fontMetrics().height() + 4 * kBoxFrame};
}

void AverageGlucoseBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect area = rect();
    const GlucoseStyle style = glucoseStyle(m_class);
    painter.fillRect(area, style.filled ? style.frame : palette().color(QPalette::Base));
    if (style.framed) {
        const QRect inner = area.adjusted(kBoxFrame, kBoxFrame, -kBoxFrame, -kBoxFrame);
        QRegion frame = QRegion(area).subtracted(QRegion(inner));
        painter.setClipRegion(frame);
        painter.fillRect(area, style.frame);
        painter.setClipping(false);
    }
    painter.setFont(style.bold ? LogbookLook::bold(font()) : font());
    painter.setPen(style.ownTextColor ? style.text : palette().color(QPalette::Text));
    painter.drawText(area, Qt::AlignCenter | Qt::TextSingleLine, m_text);
}

// ---- SampleDateDlg -------------------------------------------------------------------

SampleDateDlg::SampleDateDlg(LogbookContext& context, int dayPk, QWidget* parent)
    : PropertyPage(parent), m_form(context, dayPk), m_dayType(new QComboBox(this)),
      m_average(new AverageGlucoseBox(this)), m_ketone(nullptr), m_ketoneImage(imageLabel(this)),
      m_carbs(nullptr), m_medication(nullptr), m_dayTypeImage(imageLabel(this)),
      m_notes(new QPlainTextEdit(this)) {
    m_form.load();
    m_dayType->addItems(DayForm::dayTypeNames());
    m_dayType->setCurrentIndex(
        m_form.dayType() >= 0 && m_form.dayType() < m_dayType->count() ? m_form.dayType() : -1);
    m_average->setValue(m_form.averageGlucoseText(), m_form.averageGlucoseClass());
    m_ketone = readOnlyText(m_form.maxKetoneText(), this);
    m_ketoneImage->setPixmap(iconPixmap(m_form.maxKetoneIcon()));
    m_carbs = readOnlyText(m_form.totalCarbsText(), this);
    m_medication = readOnlyText(m_form.totalMedicationText(), this);
    m_notes->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_notes->setPlainText(NoteText::forEditing(m_form.noteText()));
    showDayTypeImage();

    auto* grid = new QGridLayout(this);
    auto row = [&](int at, const char* label, QWidget* field, QWidget* beside) {
        grid->addWidget(new QLabel(QString::fromLatin1(label), this), at, 0);
        grid->addWidget(field, at, 1);
        if (beside)
            grid->addWidget(beside, at, 2);
    };
    row(0, "Type of Day:", m_dayType, m_dayTypeImage);
    row(1, "Average Glucose:", m_average, nullptr);
    row(2, "Max Keytones:", m_ketone, m_ketoneImage);
    row(3, "Total Carbs:", m_carbs, nullptr);
    row(4, "Total Medication:", m_medication, nullptr);
    grid->addWidget(new QLabel(QStringLiteral("Notes:"), this), 5, 0, 1, 3);
    grid->addWidget(m_notes, 6, 0, 1, 4);
    grid->setColumnStretch(3, 1);

    connect(m_dayType, &QComboBox::currentIndexChanged, this, [this] {
        showDayTypeImage();
        emit changed();
    });
    connect(m_notes, &QPlainTextEdit::textChanged, this, [this] {
        NoteEdit::limit(m_notes, DayForm::kNoteLimit);
        emit changed();
    });
}

bool SampleDateDlg::apply() {
    readFields();
    return m_form.apply();
}

void SampleDateDlg::readFields() {
    // With nothing chosen the stored kind stays.
    if (m_dayType->currentIndex() >= 0)
        m_form.setDayType(m_dayType->currentIndex());
    m_form.setNoteText(NoteEdit::storedText(m_notes));
}

void SampleDateDlg::showDayTypeImage() {
    m_dayTypeImage->setPixmap(iconPixmap(DayForm::dayTypeIcon(m_dayType->currentIndex())));
}

// ---- SampleDateSamplePage ------------------------------------------------------------

SampleDateSamplePage::SampleDateSamplePage(LogbookContext& context, int dayPk,
                                           std::function<int(Sample&)> entryEditor,
                                           DeleteQuestion& deleteQuestion, QWidget* parent)
    : PropertyPage(parent), m_context(context), m_dayPk(dayPk), m_editEntry(std::move(entryEditor)),
      m_commands(context, deleteQuestion, *this), m_list(new SampleListCtrl(context, this)),
      m_new(new QPushButton(QStringLiteral("New"), this)),
      m_modify(new QPushButton(QStringLiteral("Modify"), this)),
      m_remove(new QPushButton(QStringLiteral("Remove"), this)) {
    m_list->setCompact(true);
    m_list->insertColumns();
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    // Enter belongs to the sheet (OK); the buttons must not take it as their default.
    for (QPushButton* button : {m_new, m_modify, m_remove})
        button->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_new);
    buttons->addWidget(m_modify);
    buttons->addWidget(m_remove);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);

    connect(m_new, &QPushButton::clicked, this, [this] { m_commands.run(NewEntryHere); });
    connect(m_modify, &QPushButton::clicked, this, [this] { m_commands.run(ModifyEntry); });
    connect(m_remove, &QPushButton::clicked, this, [this] { m_commands.run(RemoveEntry); });
    connect(m_list, &QAbstractItemView::doubleClicked, this,
            [this] { m_commands.run(ModifyEntry); });
    connect(m_list, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        QMenu menu(this);
        EntryMenu::fill(menu, m_commands);
        if (!menu.isEmpty())
            menu.exec(m_list->viewport()->mapToGlobal(pos));
    });
    connect(m_list, &SampleListCtrl::keyReleased, this, [this](int key) {
        if (key == Qt::Key_Delete)
            m_commands.run(RemoveEntry);
        else if (key == Qt::Key_Insert)
            m_commands.run(NewEntryHere);
    });
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &SampleDateSamplePage::updateButtons);
    refill();
}

void SampleDateSamplePage::refill() {
    std::vector<LogRow> rows;
    Database& db = m_context.database();
    if (auto query = SampleTable::selectByDay(db, m_dayPk, true)) {
        while (auto entry = SampleTable::getNext(db, *query))
            rows.push_back({'S', entry->getPk()});
    }
    // The patient's selection outlives the refill, so that one quick edit can follow another.
    const LogSelection selected = selection();
    m_list->setRows(std::move(rows));
    QItemSelectionModel* selectionModel = m_list->selectionModel();
    for (int row = 0; row < m_list->logRowCount(); ++row) {
        const LogRow& listed = m_list->logRowAt(row);
        if (std::find(selected.rows.begin(), selected.rows.end(), listed) == selected.rows.end())
            continue;
        const QModelIndex index = m_list->model()->index(row, 0);
        selectionModel->select(index, QItemSelectionModel::Select | QItemSelectionModel::Rows);
        if (listed == selected.mark)
            selectionModel->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    }
    updateButtons();
}

void SampleDateSamplePage::updateButtons() {
    m_modify->setEnabled(m_commands.isEnabled(ModifyEntry));
    m_remove->setEnabled(m_commands.isEnabled(RemoveEntry));
}

LogSelection SampleDateSamplePage::selection() const {
    return m_list->selection();
}

void SampleDateSamplePage::newEntry(bool) {
    auto day = SampleDateTable::getByPk(m_context.database(), m_dayPk);
    if (!day || !m_editEntry)
        return;
    Sample entry;
    entry.setSampleTime(padDateText(day->getSampleDate()));
    const int pk = m_editEntry(entry);
    if (pk != 0) {
        refill();
        m_list->reselect(pk);
    }
    m_list->setFocus();
}

void SampleDateSamplePage::modify(const LogRow& row) {
    auto entry = SampleTable::getByPk(m_context.database(), row.pk);
    if (!entry || !m_editEntry)
        return;
    const int stored = m_editEntry(*entry);
    if (stored != 0) {
        // The entry may have moved to another day and so off this page.
        refill();
        m_list->reselect(stored);
    }
    m_list->setFocus();
}

void SampleDateSamplePage::removed(const std::vector<LogRow>&, const LogbookActions::Removal&) {
    refill();
    m_list->setFocus();
}

void SampleDateSamplePage::changed() {
    refill();
}

// ---- SampleDatePropertySheet ---------------------------------------------------------

SampleDatePropertySheet::SampleDatePropertySheet(LogbookContext& context, int dayPk,
                                                 std::function<int(Sample&)> entryEditor,
                                                 DeleteQuestion& deleteQuestion, QWidget* parent)
    : PropertySheet(QString(), parent), m_datePage(new SampleDateDlg(context, dayPk, this)),
      m_entriesPage(
          new SampleDateSamplePage(context, dayPk, std::move(entryEditor), deleteQuestion, this)) {
    setWindowTitle(m_datePage->form().caption());
    addPage(m_datePage, QStringLiteral("Date"));
    addPage(m_entriesPage, QStringLiteral("Log Entries"));
}

bool editDay(LogbookContext& context, int dayPk, std::function<int(Sample&)> entryEditor,
             DeleteQuestion& deleteQuestion, QWidget* parent) {
    if (!SampleDateTable::getByPk(context.database(), dayPk))
        return false;
    SampleDatePropertySheet sheet(context, dayPk, std::move(entryEditor), deleteQuestion, parent);
    return sheet.exec() == QDialog::Accepted;
}
