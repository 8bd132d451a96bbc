#include "handheld/widgets/PalmSetupDlg.h"

#include "handheld/PalmSetupForm.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

PalmSetupDlg::PalmSetupDlg(PalmSetupForm& form, QWidget* parent)
    : QDialog(parent), m_form(form),
      m_enable(new QCheckBox(QStringLiteral("Enable Palm Support for this Patient"), this)),
      m_list(new QListWidget(this)) {
    setWindowTitle(QStringLiteral("Palm Setup"));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    for (const auto& user : m_form.handheldUsers())
        m_list->addItem(user.name);
    m_enable->setChecked(m_form.isChecked());
    if (m_form.selected() >= 0)
        m_list->setCurrentRow(m_form.selected());

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    m_refresh = buttons->addButton(QStringLiteral("Refresh"), QDialogButtonBox::ActionRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &PalmSetupDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &PalmSetupDlg::reject);
    connect(m_refresh, &QPushButton::clicked, this, &PalmSetupDlg::refresh);
    connect(m_enable, &QCheckBox::toggled, this, [this](bool checked) {
        m_form.setChecked(checked);
        syncControls();
    });
    // The chosen user follows the selection, not the current row: keyboard focus makes the
    // first row current without selecting it, and that row must never be paired unseen.
    connect(m_list, &QListWidget::itemSelectionChanged, this, [this] {
        const QList<QListWidgetItem*> chosen = m_list->selectedItems();
        m_form.select(chosen.isEmpty() ? -1 : m_list->row(chosen.first()));
        syncControls();
    });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_enable);
    layout->addWidget(new QLabel(
        QStringLiteral("Select the Palm User to be synchornized with this patient."), this));
    layout->addWidget(m_list);
    layout->addWidget(buttons);
    syncControls();
}

void PalmSetupDlg::syncControls() {
    m_list->setEnabled(m_form.listEnabled());
    m_ok->setEnabled(m_form.okEnabled());
    m_refresh->setEnabled(m_form.refreshEnabled());
}

void PalmSetupDlg::accept() {
    if (m_form.ok() == PalmSetupForm::Outcome::Close)
        QDialog::accept();
    else
        syncControls();
}

void PalmSetupDlg::refresh() {
    if (m_form.refresh() == PalmSetupForm::Outcome::Close)
        QDialog::accept();
    else
        syncControls();
}
