#include "password_digest.h"

#include "cp1250.h"

#include <QCryptographicHash>

namespace digest {

namespace {

QString hexOf(const QByteArray& bytes, bool upperCase)
{
    const QString digits = QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex());
    return upperCase ? digits.toUpper() : digits;  // toHex() gives lower case
}

}  // namespace

QString md5Hex(const QString& text, const QString& salt, bool upperCase) {
    return hexOf(cp1250::encode(text + salt), upperCase);
}

QString userPassword(const QString& password) {
    const QString salt = QStringLiteral("QUR");
    if (cp1250::representable(password))
        return md5Hex(password, salt, true);
    return hexOf((password + salt).toUtf8(), true);
}

bool userPasswordMatches(const QString& stored, const QString& password) {
    if (stored == userPassword(password))
        return true;
    return !cp1250::representable(password) && stored == md5Hex(password, QStringLiteral("QUR"), true);
}

QString internetPassword(const QString& password) {
    return md5Hex(password, QStringLiteral("ZQ"), false);
}

}  // namespace digest
