#include "handheld/widgets/NoPalmSupportDlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

NoPalmSupportDlg::NoPalmSupportDlg(QWidget* parent)
    : QDialog(parent), m_text(new QLabel(QString::fromLatin1(kText), this)) {
    setWindowTitle(QString::fromLatin1(kTitle));
    m_text->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &NoPalmSupportDlg::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addWidget(buttons);
}
