#pragma once

#include <QString>
#include <vector>

class Database;

// One of the patient's insulins a CGM export's doses can be filed under.
struct CgmInsulinOption {
    QString code; // the medication's one-letter code
    QString name;
    bool inTotals = false;
};

// The medications a CGM export's rapid- and long-acting doses are filed under: medication
// codes, empty for "leave these doses out".
struct CgmInsulinChoice {
    QString rapid;
    QString longActing;

    bool operator==(const CgmInsulinChoice&) const = default;
};

// Which of the patient's medications take the doses of a CGM export. The exports know only
// "fast-acting" and "long-acting"; the patient says which insulin each is.
class CgmInsulin {
public:
    // The patient's active insulins in the order the medication lists show them (by name).
    static std::vector<CgmInsulinOption> options(Database& db);
    // Rapid-acting: the quick bolus calculator's insulin when it is one of the options, else the
    // first option counted in the insulin totals. Long-acting: the first option other than that
    // which is not counted in the totals (a basal insulin), else the first other option at all.
    static CgmInsulinChoice defaults(Database& db);
    // Why `code` cannot take the doses of `kind` ("rapid-acting"), or empty when it can. An
    // empty code is allowed: those doses are then left out.
    static QString problem(Database& db, const QString& code, const QString& kind);
};
