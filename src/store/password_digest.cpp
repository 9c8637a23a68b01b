#include "password_digest.h"

#include "cp1250.h"

#include <QCryptographicHash>

namespace digest {

QString md5Hex(const QString& text, const QString& salt, bool upperCase) {
    const QByteArray hex =
        QCryptographicHash::hash(cp1250::encode(text + salt), QCryptographicHash::Md5).toHex();
    const QString digits = QString::fromLatin1(hex);  // toHex() gives lower case
    return upperCase ? digits.toUpper() : digits;
}

QString userPassword(const QString& password) {
    return md5Hex(password, QStringLiteral("QUR"), true);
}

QString internetPassword(const QString& password) {
    return md5Hex(password, QStringLiteral("ZQ"), false);
}

}  // namespace digest
