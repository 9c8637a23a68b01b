#pragma once
// Publishing the local tables on the web service: each table's rows are
// selected locally and sent as insert statements of about 1000 characters,
// the service's copy emptied first where the table says so.

#include <QString>
#include <QVariant>

class Database;
class SyncSession;
struct Parameters;

namespace websync {

// The first month of the published data.
struct StartMonth {
    int year = 9999;
    int month = 12;
    int index() const { return 12 * year + month; }  // S
    QString firstDay() const;                          // D, "2024-09-01"
};

// Derived from the settlement months: back from the latest over at most
// twelve, the month after the first one whose free days are exactly "-",
// else the earliest of those twelve; December 9999 without any month.
StartMonth defaultStartMonth(Database& db);
// A chosen month not earlier than the earliest of the latest twelve
// settlement months, else that earliest one.
StartMonth acceptedStartMonth(Database& db, const StartMonth& chosen);

struct Upload {
    QString table;
    QString label;       // "(kartoteka dzieci)"
    bool deleteFirst = false;
    QString select;      // the local rows; empty with `rows` given
    bool requestsAndInformation = false;  // still sent with "Tylko zgłoszenia i informacje"
    // Rows given by the program itself instead of a local query.
    QList<QList<QPair<QString, QVariant>>> rows;
};

QList<Upload> fullUploads(Database& db, const Parameters& params, const StartMonth& start);

// The value as an insert statement writes it: NULL, a number with a point,
// the file name alone for PLIK, any other value quoted.
QString insertValue(const QVariant& value, const QString& field);

class Uploader {
public:
    Uploader(Database& db, SyncSession& session);
    // Returns the number of rows sent.
    int run(const Upload& upload);

    // Rows are sent once their text exceeds this many characters.
    static constexpr int batchLimit = 1000;

private:
    void sendInsert(const QString& table, const QString& fieldList, const QString& rows);

    Database& m_db;
    SyncSession& m_session;
};

}  // namespace websync
