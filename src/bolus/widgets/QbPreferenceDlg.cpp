#include "bolus/widgets/QbPreferenceDlg.h"

#include "bolus/widgets/QbPrefGeneral.h"
#include "bolus/widgets/QbPrefSchedulePage.h"
#include "ui/widgets/AskDeleteDialog.h"

#include <QLineEdit>
#include <QTabWidget>

QbPreferenceDlg::QbPreferenceDlg(LogbookContext& context, DeleteQuestion& deleteQuestion,
                                 QWidget* parent)
    : PropertySheet(QStringLiteral("Quick Bolus Setup"), parent),
      m_general(new QbPrefGeneral(context)) {
    addPage(m_general, QStringLiteral("General"));
    addPage(new QbPrefTarget(context, deleteQuestion),
            QString::fromLatin1(QbTargetKind::kPageTitle));
    addPage(new QbPrefRatio(context, deleteQuestion), QString::fromLatin1(QbRatioKind::kPageTitle));
    addPage(new QbPrefSensitivity(context, deleteQuestion),
            QString::fromLatin1(QbSensitivityKind::kPageTitle));
    if (auto* tabs = findChild<QTabWidget*>())
        connect(tabs, &QTabWidget::currentChanged, this, &QbPreferenceDlg::pageChanged);
}

QbPrefSchedulePage* QbPreferenceDlg::schedulePage(int index) const {
    return qobject_cast<QbPrefSchedulePage*>(page(index + 1));
}

void QbPreferenceDlg::pageChanged(int index) {
    // The minutes are checked when the patient leaves the General page, not only on OK.
    if (m_shownPage == 0 && index != 0 && !m_general->validate()) {
        setCurrentPage(0);
        m_general->minutesEdit()->setFocus();
        return;
    }
    m_shownPage = index;
}

void QbPreferenceDlg::done(int result) {
    PropertySheet::done(result);
    if (result == QDialog::Accepted)
        m_general->setup().storeInsulin();
}

bool editQuickBolusSetup(LogbookContext& context, QWidget* parent) {
    AskDeleteDialog deleteQuestion(parent);
    QbPreferenceDlg sheet(context, deleteQuestion, parent);
    return sheet.exec() == QDialog::Accepted;
}
