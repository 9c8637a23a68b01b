#pragma once
// The web service's address: the [PARAMETRY] key "SERWIS INTERNETOWY" of the
// options row, "host[:port]" or a full http:// or https:// address. The
// script path "/lunawas.php" is added when the address names no path.

#include <QString>
#include <QUrl>

class Database;

namespace service_address {

inline QString key() { return QStringLiteral("SERWIS INTERNETOWY"); }

// The key's value in a configuration text (empty when missing).
QString read(const QString& configurationText);
// The text with the key set (or removed when `value` is empty), added to
// the [PARAMETRY] section, which is created when missing.
QString write(const QString& configurationText, const QString& value);

// The request address: the scheme in any letter case or none (http), the
// script path when there is none. Invalid for an empty text.
QUrl toUrl(const QString& configured);

// OPCJE.PARAMS of the store.
QString load(Database& db);
void save(Database& db, const QString& value);

// "Brak adresu serwisu internetowego (SERWIS INTERNETOWY w [PARAMETRY])"
QString missingMessage();

}  // namespace service_address
