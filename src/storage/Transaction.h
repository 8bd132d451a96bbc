#pragma once

class Database;

// A unit of work that is stored whole or not at all. Built on savepoints so that units nest:
// the outermost one commits to the file, inner ones fold into it. Destroying an uncommitted
// Transaction rolls its changes back.
class Transaction {
public:
    explicit Transaction(Database& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    bool isActive() const { return m_active; }
    bool commit();
    void rollback();

private:
    Database& m_db;
    int m_depth;
    bool m_active;
};
