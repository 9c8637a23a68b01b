#pragma once
// The six things an exchange with the web service does, each one login,
// its work and logout:
//
//   full                downloads what parents entered, then publishes
//   correction          one password (a child's, or 0: the administrator's)
//   readConfiguration   the service's configuration string COJEST
//   writeConfiguration
//   attachment          a file sent in 1024-byte chunks; gives its link
//   logins              the login records of the last months
//
// Each returns true on success. Stop and Abort end it silently, any other
// failure is shown; in every case the service is told to log out.

#include "sync_uploads.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <functional>

class Database;
class Prompts;
class SyncSession;
struct Institution;
struct Parameters;

namespace websync {

struct Environment {
    Database& db;
    const Parameters& params;
    const Institution& institution;
    Prompts& prompts;
};

struct FullOptions {
    StartMonth start;
    bool onlyRequestsAndInformation = false;  // "Tylko zgłoszenia i informacje"
};

struct Summary {
    int downloaded = 0;        // records applied locally
    int uploaded = 0;          // rows published
    int requestsReceived = 0;  // ZGLOSZ rows among the downloaded
    QStringList skipped;       // records that could not be applied
    QString configuration;     // read by readConfiguration
    QString link;              // given by attachment
};

class Synchronizer {
public:
    Synchronizer(const Environment& env, SyncSession& session);

    bool full(const QString& password, const FullOptions& options);
    bool correction(const QString& password, int key);
    bool readConfiguration(const QString& password);
    bool writeConfiguration(const QString& password, const QString& configuration);
    bool attachment(const QString& password, int linkId, const QString& file);
    bool logins(const QString& password, int months, const QDate& today);

    const Summary& summary() const { return m_summary; }

    static QString finishedMessage();  // "Transmisja zakończona"

private:
    bool exchange(const QString& password, const std::function<bool()>& work);
    void setStatus(const char* value);

    Environment m_env;
    SyncSession& m_session;
    Summary m_summary;
};

// "z ilu ostatnich miesięcy?" (preset 3; not a number counts as 3);
// false when cancelled.
bool askLoginMonths(Prompts& prompts, int& months);

// The configuration items in COJEST's digit order, and whether parents may
// add entries to an item ("Dopisywanie pozycji").
QStringList configurationItems();
bool itemAllowsAdding(int item);

}  // namespace websync
