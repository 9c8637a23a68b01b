#pragma once
// The central data module of a run: the open store, the shared cursors, the
// run's private directory and the run-wide values set when it is created.

#include "database.h"
#include "store_location.h"

#include <QDate>
#include <QHash>
#include <QString>

#include <memory>

class Table;

class TDMBaza {
public:
    // Opens the store found by the program's own rule (alias "Lunawa", else
    // "Baza" beside the program). Throws Error with the store's message;
    // never creates a store.
    TDMBaza();
    // `Later`: the store opens on the first open(), so that a window can
    // be on the screen before the store has been read and checked.
    enum class Opening { Now, Later };
    explicit TDMBaza(const StoreLocation& location, Opening opening = Opening::Now);
    ~TDMBaza();
    TDMBaza(const TDMBaza&) = delete;
    TDMBaza& operator=(const TDMBaza&) = delete;

    // Opens the store unless it is open; throws Error with the store's
    // message (a damaged store is refused here).
    void open();
    bool isOpen() const { return m_db->isOpen(); }

    Database& database() { return *m_db; }
    QString dataDirectory() const { return m_dataDirectory; }
    QString privateDirectory() const { return m_privateDirectory; }

    // Shared cursors by table name, made on first use and opened by the
    // caller (they open under the credentials of the login).
    Table& shared(const QString& tableName);

    // Hours and minutes, no seconds: every time shown or typed.
    static QString timeFormat() { return QStringLiteral("HH:mm"); }
    QDate systemDate() const { return m_systemDate; }
    void setSystemDate(const QDate& d) { m_systemDate = d; }
    bool systemDateFilter() const { return m_systemDateFilter; }
    void setSystemDateFilter(bool on) { m_systemDateFilter = on; }

private:
    void start(const StoreLocation& location, Opening opening);

    std::unique_ptr<Database> m_db;
    QHash<QString, Table*> m_shared;
    QString m_dataDirectory;
    QString m_privateDirectory;
    QDate m_systemDate;
    bool m_systemDateFilter = true;
};
