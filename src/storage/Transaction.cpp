#include "storage/Transaction.h"

#include "storage/Database.h"

// Savepoint names only need to be distinct among the units open on one connection.
Transaction::Transaction(Database& db) : m_db(db), m_depth(db.openUnits()) {
    m_active = m_db.exec("savepoint qm_unit_%d", m_depth);
    if (m_active)
        m_db.setOpenUnits(m_depth + 1);
}

Transaction::~Transaction() {
    rollback();
}

bool Transaction::commit() {
    if (!m_active)
        return false;
    m_active = false;
    m_db.setOpenUnits(m_depth);
    if (m_db.exec("release qm_unit_%d", m_depth))
        return true;
    // The engine refused to commit (disk full, say): undo rather than leave it half open.
    m_db.exec("rollback to qm_unit_%d", m_depth);
    m_db.exec("release qm_unit_%d", m_depth);
    return false;
}

void Transaction::rollback() {
    if (!m_active)
        return;
    m_active = false;
    m_db.setOpenUnits(m_depth);
    // Keep the error of the statement that failed, not of the clean-up.
    int code = m_db.lastError();
    QString text = m_db.errorText();
    m_db.exec("rollback to qm_unit_%d", m_depth);
    m_db.exec("release qm_unit_%d", m_depth);
    m_db.setLastError(code);
    m_db.setErrorText(text);
}
