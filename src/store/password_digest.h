#pragma once
// Stored password digests: MD5 over the code page 1250 bytes of the text
// followed by a salt. The stored values are shared with older stores and the
// parents' web service, so bytes, salts and letter case must not change.

#include <QString>

namespace digest {

// 32 hexadecimal digits of MD5(cp1250(text + salt)).
QString md5Hex(const QString& text, const QString& salt, bool upperCase);

// UZYT.HASLO: salt "QUR", upper-case digits; compared exactly at login.
QString userPassword(const QString& password);

// Internet passwords of children and of the administrator: salt "ZQ",
// lower-case digits.
QString internetPassword(const QString& password);

}  // namespace digest
