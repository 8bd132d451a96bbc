#include "exchange/CgmInsulin.h"

#include "storage/Database.h"
#include "storage/MedicationTable.h"
#include "storage/QbPreferenceTable.h"

#include <QStringList>

std::vector<CgmInsulinOption> CgmInsulin::options(Database& db) {
    std::vector<CgmInsulinOption> insulins;
    auto query = MedicationTable::selectAllByDesc(db);
    if (!query)
        return insulins;
    while (auto medication = MedicationTable::getNext(db, *query)) {
        if (!medication->getActiveBol() || !medication->getIsInsulinBol() ||
            medication->getMedCode().isEmpty())
            continue;
        insulins.push_back({medication->getMedCode().left(1), medication->getMedDesc(),
                            medication->getIncludeInTotalsBol()});
    }
    return insulins;
}

CgmInsulinChoice CgmInsulin::defaults(Database& db) {
    const std::vector<CgmInsulinOption> insulins = options(db);
    CgmInsulinChoice choice;
    QString bolusCode;
    if (auto settings = QbPreferenceTable::getByPk(db, QbPreferenceTable::kPk))
        bolusCode = settings->getMedCode();
    for (const CgmInsulinOption& insulin : insulins)
        if (!bolusCode.isEmpty() && insulin.code == bolusCode)
            choice.rapid = insulin.code;
    for (const CgmInsulinOption& insulin : insulins)
        if (choice.rapid.isEmpty() && insulin.inTotals)
            choice.rapid = insulin.code;
    for (const CgmInsulinOption& insulin : insulins)
        if (choice.longActing.isEmpty() && insulin.code != choice.rapid && !insulin.inTotals)
            choice.longActing = insulin.code;
    for (const CgmInsulinOption& insulin : insulins)
        if (choice.longActing.isEmpty() && insulin.code != choice.rapid)
            choice.longActing = insulin.code;
    return choice;
}

QString CgmInsulin::problem(Database& db, const QString& code, const QString& kind) {
    if (code.isEmpty())
        return {};
    QStringList known;
    for (const CgmInsulinOption& insulin : options(db)) {
        if (insulin.code == code)
            return {};
        known << insulin.code + QStringLiteral(" (") + insulin.name + u')';
    }
    if (known.isEmpty())
        return QStringLiteral("\"%1\" cannot take the %2 insulin: the patient has no active "
                              "insulin.")
            .arg(code, kind);
    return QStringLiteral("\"%1\" is not the code of one of the patient's active insulins, so "
                          "it cannot take the %2 insulin. The codes are: %3.")
        .arg(code, kind, known.join(QStringLiteral(", ")));
}
