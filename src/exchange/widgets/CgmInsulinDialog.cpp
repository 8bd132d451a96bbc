#include "exchange/widgets/CgmInsulinDialog.h"

#include "ui/widgets/DialogButtons.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {

// "(leave out)" first, then "Name (C)" for each insulin, its code as the item's data; the item
// of `code` is chosen.
void fill(QComboBox& list, const std::vector<CgmInsulinOption>& insulins, const QString& code) {
    list.addItem(QString::fromLatin1(CgmInsulinDialog::kLeaveOut), QString());
    for (const CgmInsulinOption& insulin : insulins)
        list.addItem(QStringLiteral("%1 (%2)").arg(insulin.name, insulin.code), insulin.code);
    list.setCurrentIndex(std::max(0, list.findData(code)));
}

} // namespace

CgmInsulinDialog::CgmInsulinDialog(const std::vector<CgmInsulinOption>& insulins,
                                   const CgmInsulinChoice& suggested, QWidget* parent)
    : QDialog(parent), m_rapid(new QComboBox), m_long(new QComboBox) {
    setWindowTitle(QString::fromLatin1(kCaption));
    auto* layout = new QVBoxLayout(this);
    auto* text = new QLabel(QStringLiteral("The export names insulin only as rapid- or "
                                           "long-acting. File its doses under:"));
    text->setWordWrap(true);
    layout->addWidget(text);
    auto* form = new QFormLayout;
    fill(*m_rapid, insulins, suggested.rapid);
    fill(*m_long, insulins, suggested.longActing);
    form->addRow(QStringLiteral("Rapid-acting insulin:"), m_rapid);
    form->addRow(QStringLiteral("Long-acting insulin:"), m_long);
    layout->addLayout(form);
    addOkCancel(*this, *layout);
}

CgmInsulinChoice CgmInsulinDialog::choice() const {
    return {m_rapid->currentData().toString(), m_long->currentData().toString()};
}
