#pragma once
// One open store: the connection, its credentials and the rights they
// grant, the store's own description of its tables, and batches.

#include "rights.h"
#include "schema.h"
#include "store_location.h"

#include <QHash>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

// A field as the store has it now (older stores lack upgrade columns).
struct StoreField {
    QString name;
    FieldType type = FieldType::Integer;
    int width = 0;
    bool autoInc = false;
};

struct StoreIndex {
    QString name;  // logical name ("" for unnamed orderings)
    QStringList fields;
    bool primary = false;
};

class Database {
public:
    explicit Database(StoreLocation location);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Opens an existing store; throws Error with the store's message.
    // Never creates a store.
    void open();
    // Opens without the soundness check that refuses a damaged store, for
    // the commands that check and repair one.
    void openForMaintenance();
    void close();
    bool isOpen() const;
    // A store whose file or folder cannot be written is opened for reading.
    bool isReadOnly() const { return m_readOnly; }

    // Connects without requiring the store's tables (used only by the
    // create-store routine, which makes the SQLite file itself).
    void connectForCreation();

    Engine engine() const { return m_location.engine; }
    const StoreLocation& location() const { return m_location; }
    QString dataDirectory() const;
    QSqlDatabase connection() const;

    // Credential list of the connection (master, U+user, G+group).
    void setCredentials(const QStringList& credentials);
    const QStringList& credentials() const { return m_credentials; }
    bool isMaster() const;
    // Rights on a table; tables of the schema only (others need master).
    TableRights tableRights(const QString& table) const;
    void reloadRights();

    // The store's own work (metadata, the rights table, creation) runs
    // with every right while a SystemAccess is alive.
    class SystemAccess {
    public:
        explicit SystemAccess(Database& db) : m_db(db) { ++m_db.m_systemDepth; }
        ~SystemAccess() { --m_db.m_systemDepth; }
    private:
        Database& m_db;
    };
    bool systemAccess() const { return m_systemDepth > 0; }

    // Introspection (needs no rights).
    QStringList tableNames() const;  // the store's tables, creation order
    bool hasTable(const QString& table) const;
    QList<StoreField> fields(const QString& table) const;  // cached
    bool hasColumn(const QString& table, const QString& column) const;
    QList<StoreIndex> indexes(const QString& table) const;  // logical names
    bool hasIndex(const QString& table, const QString& logicalName) const;
    void forgetStructure();  // after DDL

    // Unit of work in one transaction: commits when fn returns, rolls back
    // and rethrows when it throws. Nested batches join the outer one.
    void batch(const std::function<void()>& fn);
    bool inTransaction() const { return m_txDepth > 0; }

    // Low level, used by the transaction guard and the cursor.
    void begin();
    void commit();
    void rollback();

    // Raised by a statement the SQLite authorizer refused.
    bool takeDenied();
    void noteDenied() { m_denied = true; }

    // Name of the hidden row identity on PostgreSQL tables without their
    // own auto-numbered key.
    static QString hiddenRowId() { return QStringLiteral("LW_ROWID"); }
    // The column a positioned update addresses a row by.
    QString rowIdColumn(const QString& table) const;

private:
    void connect(bool create);
    void openStore(bool checkSoundness);
    void installSqliteHooks();
    void runPragmas();

    StoreLocation m_location;
    QString m_connectionName;
    QStringList m_credentials;
    QHash<QString, TableRights> m_rights;
    int m_systemDepth = 0;
    int m_txDepth = 0;
    bool m_readOnly = false;
    bool m_denied = false;
    mutable QHash<QString, QList<StoreField>> m_fieldCache;
    mutable QStringList m_tableCache;
};

// Begins a transaction unless one is running; rolls back if not committed.
class Transaction {
public:
    explicit Transaction(Database& db);
    ~Transaction();
    void commit();
private:
    Database& m_db;
    bool m_done = false;
};
