#include "bolus/widgets/QbPreferenceDlg.h"

#include "bolus/widgets/QbPrefGeneral.h"
#include "bolus/widgets/QbPrefSchedulePage.h"
#include "ui/widgets/AskDeleteDialog.h"

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
}

QbPrefSchedulePage* QbPreferenceDlg::schedulePage(int index) const {
    return qobject_cast<QbPrefSchedulePage*>(page(index + 1));
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
