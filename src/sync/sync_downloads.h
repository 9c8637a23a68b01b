#pragma once
// Downloading the rows parents entered on the web into the local tables:
// the count, then pages of records until the count is reached (or a page
// brings nothing), each record applied on its own. One table is written in
// one transaction, so a failure leaves none of it half downloaded.

#include <QDate>
#include <QString>
#include <QStringList>

class Database;
class Prompts;
class SyncSession;

namespace websync {

struct Download {
    enum class Apply { Append, UpdateByKey, ExtraClassAttendance };
    QString table;
    QString fields;     // "KOD, HASLO"
    QString condition;  // sent as it is; never holds user text
    Apply apply = Apply::Append;
    int keys = 0;       // leading key fields of UpdateByKey
    bool logins = false;  // the "Zapytogol" actions
};

// The downloads of a full synchronisation, in their order.
QList<Download> fullDownloads();
// PRZEDLOGI of the last `months` months before the system date.
Download loginRecords(int months, const QDate& today);

struct DownloadResult {
    int applied = 0;
    int requests = 0;       // ZGLOSZ rows added
    QStringList skipped;    // messages of records that could not be applied
};

class Downloader {
public:
    Downloader(Database& db, SyncSession& session, Prompts& prompts);
    DownloadResult run(const Download& download);

    static QString missingClassMessage(const QString& classCode);

private:
    void apply(const Download& d, const QStringList& fields, const QStringList& values, DownloadResult& result);

    Database& m_db;
    SyncSession& m_session;
    Prompts& m_prompts;
};

}  // namespace websync
