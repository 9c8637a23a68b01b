#pragma once
// Stored password digests: MD5 over the bytes of the text followed by a salt.
// The stored values are shared with older stores and the parents' web
// service, so bytes, salts and letter case of existing digests must not
// change.

#include <QString>

namespace digest {

// 32 hexadecimal digits of MD5(cp1250(text + salt)); characters outside
// code page 1250 become '?'.
QString md5Hex(const QString& text, const QString& salt, bool upperCase);

// UZYT.HASLO: salt "QUR", upper-case digits; compared exactly at login.
// Text the code page holds is digested from its code page 1250 bytes (so
// older digests keep logging in); any other text from its UTF-8 bytes, so
// two passwords differing only in such characters never share a digest.
QString userPassword(const QString& password);

// True when `stored` (UZYT.HASLO) is the digest of `password`. A digest
// stored before such passwords kept their characters (each one outside
// the code page taken as '?') is still accepted, so nobody is locked out;
// setting the password again stores the digest that tells them apart.
bool userPasswordMatches(const QString& stored, const QString& password);

// Internet passwords of children and of the administrator: salt "ZQ",
// lower-case digits, always over code page 1250 as the web service
// digests what parents type.
QString internetPassword(const QString& password);

}  // namespace digest
