#include "ui/widgets/PropertySheet.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

PropertySheet::PropertySheet(const QString& title, QWidget* parent)
    : QDialog(parent), m_tabs(new QTabWidget(this)) {
    setWindowTitle(title);
    // Every page's tab stays in sight: the sheet grows to the width of all of them.
    m_tabs->setUsesScrollButtons(false);
    auto* buttons = new QDialogButtonBox(this);
    m_ok = buttons->addButton(QDialogButtonBox::Ok);
    m_cancel = buttons->addButton(QDialogButtonBox::Cancel);
    m_apply = buttons->addButton(QDialogButtonBox::Apply);
    m_apply->setEnabled(false);
    connect(m_ok, &QPushButton::clicked, this, &PropertySheet::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_apply, &QPushButton::clicked, this, [this] {
        if (applyAll())
            m_apply->setEnabled(false);
    });
    connect(m_tabs, &QTabWidget::currentChanged, this, &PropertySheet::pageChanged);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(buttons);
}

PropertySheet::~PropertySheet() {
    // The tabs go away page by page as the dialog is taken apart; that is no page being left.
    disconnect(m_tabs, nullptr, this, nullptr);
}

void PropertySheet::addPage(PropertyPage* page, const QString& title) {
    m_pages.push_back(page);
    m_tabs->addTab(page, title);
    connect(page, &PropertyPage::changed, this, [this] { m_apply->setEnabled(true); });
}

int PropertySheet::pageCount() const {
    return static_cast<int>(m_pages.size());
}

PropertyPage* PropertySheet::page(int index) const {
    return index >= 0 && index < pageCount() ? m_pages[static_cast<size_t>(index)] : nullptr;
}

void PropertySheet::setCurrentPage(int index) {
    // Chosen by the program, not left by the patient: no page is checked.
    QSignalBlocker quiet(m_tabs);
    m_tabs->setCurrentIndex(index);
    m_shownPage = m_tabs->currentIndex();
}

void PropertySheet::pageChanged(int index) {
    PropertyPage* left = page(m_shownPage);
    if (index != m_shownPage && left && !left->validate()) {
        // Back to the page that refused; its own focus (on the refused field) is kept.
        QSignalBlocker quiet(m_tabs);
        m_tabs->setCurrentIndex(m_shownPage);
        return;
    }
    m_shownPage = index;
}

bool PropertySheet::applyAll() {
    // Every page is checked before any stores: a refused value never leaves half the
    // sheet written.
    for (size_t i = 0; i < m_pages.size(); ++i) {
        if (!m_pages[i]->validate()) {
            QSignalBlocker quiet(m_tabs);
            m_tabs->setCurrentIndex(static_cast<int>(i));
            m_shownPage = static_cast<int>(i);
            return false;
        }
    }
    bool stored = true;
    for (PropertyPage* page : m_pages)
        stored = page->apply() && stored;
    return stored;
}

void PropertySheet::accept() {
    if (applyAll())
        QDialog::accept();
}
