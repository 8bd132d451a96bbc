#include "logbook/widgets/SampleDatePropertySheet.h"

#include "logbook/DeleteConfirmation.h"
#include "logbook/LogbookContext.h"
#include "logbook/ViewCommands.h"
#include "logbook/widgets/EntryMenu.h"
#include "logbook/widgets/SampleListCtrl.h"
#include "logbook/widgets/SampleListModel.h"
#include "storage/Preference.h"
#include "storage/SampleDateTable.h"
#include "storage/SampleTable.h"
#include "storage/SampleType.h"

#include <QAbstractTextDocumentLayout>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTextLayout>
#include <QVBoxLayout>
#include <algorithm>

using namespace ViewCommand;

// The pictures live in a static library; their resource must be registered by hand.
static void initDayIconResources() {
    Q_INIT_RESOURCE(resources);
}

namespace {

constexpr int kBoldWeight = 800;
constexpr int kBoxFrame = 2;
constexpr int kIconSize = 16;

QPixmap iconPixmap(LogIcon icon) {
    const QString path = logIconPath(icon);
    return path.isEmpty() ? QPixmap() : QPixmap(path);
}

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

// The edit's lines as the patient sees them, with where the edit itself broke a line.
std::vector<DayForm::NoteLine> visualLines(QPlainTextEdit* edit) {
    std::vector<DayForm::NoteLine> lines;
    QTextDocument* document = edit->document();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        // A paragraph not drawn yet is laid out now, at the edit's width.
        document->documentLayout()->blockBoundingRect(block);
        const QString text = block.text();
        QTextLayout* layout = block.layout();
        const int count = layout ? layout->lineCount() : 0;
        if (count == 0) {
            lines.push_back({text, false});
            continue;
        }
        for (int i = 0; i < count; ++i) {
            const QTextLine line = layout->lineAt(i);
            lines.push_back({text.mid(line.textStart(), line.textLength()), i + 1 < count});
        }
    }
    return lines;
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
    QFont font = this->font();
    if (style.bold)
        font.setWeight(QFont::Weight(kBoldWeight));
    painter.setFont(font);
    painter.setPen(style.ownTextColor ? style.text : palette().color(QPalette::Text));
    painter.drawText(area, Qt::AlignCenter | Qt::TextSingleLine, m_text);
}

// ---- SampleDateDlg -------------------------------------------------------------------

SampleDateDlg::SampleDateDlg(LogbookContext& context, int dayPk, QWidget* parent)
    : PropertyPage(parent), m_form(context, dayPk), m_dayType(new QComboBox(this)),
      m_average(new AverageGlucoseBox(this)), m_ketone(nullptr), m_ketoneImage(imageLabel(this)),
      m_carbs(nullptr), m_medication(nullptr), m_dayTypeImage(imageLabel(this)),
      m_notes(new QPlainTextEdit(this)) {
    initDayIconResources();
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
    m_notes->setPlainText(DayForm::noteForEditing(m_form.noteText()));
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
        limitNotes();
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
    m_form.setNoteText(DayForm::noteFromLines(visualLines(m_notes)));
}

void SampleDateDlg::showDayTypeImage() {
    m_dayTypeImage->setPixmap(iconPixmap(DayForm::dayTypeIcon(m_dayType->currentIndex())));
}

void SampleDateDlg::limitNotes() {
    const QString text = m_notes->toPlainText();
    if (text.size() <= DayForm::kNoteLimit)
        return;
    // Cut at the end, where typing or pasting adds; the cursor stays where it was.
    QTextCursor cursor = m_notes->textCursor();
    const int position = std::min(cursor.position(), DayForm::kNoteLimit);
    const QSignalBlocker quiet(m_notes);
    m_notes->setPlainText(text.left(DayForm::kNoteLimit));
    cursor = m_notes->textCursor();
    cursor.setPosition(position);
    m_notes->setTextCursor(cursor);
}

// ---- SampleDateSamplePage ------------------------------------------------------------

SampleDateSamplePage::SampleDateSamplePage(LogbookContext& context, int dayPk,
                                           std::function<int(Sample&)> entryEditor,
                                           DeleteQuestion& deleteQuestion, QWidget* parent)
    : PropertyPage(parent), m_context(context), m_dayPk(dayPk), m_editEntry(std::move(entryEditor)),
      m_deleteQuestion(deleteQuestion), m_actions(context),
      m_list(new SampleListCtrl(context, this)),
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

    connect(m_new, &QPushButton::clicked, this, [this] { runCommand(NewEntryHere); });
    connect(m_modify, &QPushButton::clicked, this, [this] { runCommand(ModifyEntry); });
    connect(m_remove, &QPushButton::clicked, this, [this] { runCommand(RemoveEntry); });
    connect(m_list, &QAbstractItemView::doubleClicked, this, [this] { runCommand(ModifyEntry); });
    connect(m_list, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        QMenu menu(this);
        fillEntryMenu(menu);
        menu.exec(m_list->viewport()->mapToGlobal(pos));
    });
    connect(m_list, &SampleListCtrl::keyReleased, this, [this](int key) {
        if (key == Qt::Key_Delete)
            runCommand(RemoveEntry);
        else if (key == Qt::Key_Insert)
            runCommand(NewEntryHere);
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
    const std::vector<LogRow> selected = m_list->selectedLogRows();
    const int mark = markedEntry();
    m_list->setRows(std::move(rows));
    QItemSelectionModel* selection = m_list->selectionModel();
    for (int row = 0; row < m_list->logRowCount(); ++row) {
        const LogRow& listed = m_list->logRowAt(row);
        if (std::find(selected.begin(), selected.end(), listed) == selected.end())
            continue;
        const QModelIndex index = m_list->model()->index(row, 0);
        selection->select(index, QItemSelectionModel::Select | QItemSelectionModel::Rows);
        if (listed.pk == mark)
            selection->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    }
    updateButtons();
}

void SampleDateSamplePage::updateButtons() {
    m_modify->setEnabled(isCommandEnabled(ModifyEntry));
    m_remove->setEnabled(isCommandEnabled(RemoveEntry));
}

int SampleDateSamplePage::singleSelection() const {
    const std::vector<int> selected = m_list->selectedRows();
    return selected.size() == 1 ? m_list->logRowAt(selected.front()).pk : 0;
}

int SampleDateSamplePage::markedEntry() const {
    const int mark = m_list->selectionMark();
    if (mark < 0 || m_list->selectedRows().empty())
        return 0;
    return m_list->logRowAt(mark).pk;
}

bool SampleDateSamplePage::isCommandEnabled(int id) const {
    switch (id) {
    case NewEntry:
    case NewEntryHere:
        return true;
    case ModifyEntry:
    case InfusionSite:
    case DeliveryInjection:
    case DeliveryPump:
    case DeliveryOral:
        return singleSelection() != 0;
    case RemoveEntry:
        return !m_list->selectedRows().empty();
    default:
        break;
    }
    if ((id >= KetonesFirst && id <= KetonesLast) || (id >= LogTypeFirst && id <= LogTypeLast))
        return markedEntry() != 0;
    return false;
}

bool SampleDateSamplePage::isCommandChecked(int id) const {
    const int pk = markedEntry();
    auto entry = pk != 0 ? SampleTable::getByPk(m_context.database(), pk) : nullptr;
    return entry && EntryMenu::isChecked(m_context, *entry, id);
}

bool SampleDateSamplePage::runCommand(int id) {
    if (!isCommandEnabled(id))
        return false;
    switch (id) {
    case NewEntry:
    case NewEntryHere:
        newEntry();
        return true;
    case ModifyEntry:
        modifyEntry();
        return true;
    case RemoveEntry:
        removeSelected();
        return true;
    case InfusionSite:
        if (m_actions.toggleInfusionSite(singleSelection()))
            m_list->repaintRows();
        return true;
    case DeliveryInjection:
    case DeliveryPump:
    case DeliveryOral:
        if (m_actions.setDelivery(singleSelection(), EntryMenu::deliveryCodeOf(id)))
            m_list->repaintRows();
        return true;
    default:
        break;
    }
    const int marked = markedEntry();
    if (id >= KetonesFirst && id <= KetonesLast) {
        if (m_actions.setKetones(marked, id - KetonesFirst))
            refill();
        return true;
    }
    if (id >= LogTypeFirst && id <= LogTypeLast) {
        const int index = id - LogTypeFirst;
        if (index < m_context.slotCount() &&
            m_actions.setLogType(marked, m_context.slotAt(index).getPk()))
            refill();
        return true;
    }
    return false;
}

void SampleDateSamplePage::newEntry() {
    if (!m_editEntry)
        return;
    auto day = SampleDateTable::getByPk(m_context.database(), m_dayPk);
    if (!day)
        return;
    // Whatever the selection, a new entry on this page belongs to this day.
    Sample entry;
    entry.setSampleTime(padDateText(day->getSampleDate()));
    const int pk = m_editEntry(entry);
    if (pk != 0) {
        refill();
        m_list->reselect(pk);
    }
    m_list->setFocus();
}

void SampleDateSamplePage::modifyEntry() {
    const int pk = singleSelection();
    auto entry = pk != 0 ? SampleTable::getByPk(m_context.database(), pk) : nullptr;
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

void SampleDateSamplePage::removeSelected() {
    std::vector<LogRow> rows = m_list->selectedLogRows();
    if (rows.empty())
        return;
    if (confirmDelete(m_context.database(), m_context.preference(), m_deleteQuestion)) {
        m_actions.removeRows(rows);
        refill();
    }
    m_list->setFocus();
}

void SampleDateSamplePage::addCommand(QMenu& menu, const QString& text, int id) {
    EntryMenu::addItem(menu, text, isCommandEnabled(id), isCommandChecked(id),
                       [this, id] { runCommand(id); });
}

void SampleDateSamplePage::fillEntryMenu(QMenu& menu) {
    EntryMenu::fill(menu, m_context, [this](QMenu& into, const QString& text, int id) {
        addCommand(into, text, id);
    });
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
