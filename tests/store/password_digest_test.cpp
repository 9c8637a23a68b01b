#include "store/password_digest.h"

#include <QCryptographicHash>
#include <gtest/gtest.h>

TEST(PasswordDigest, UserPasswordsAreUpperCaseOverCodePage1250) {
    EXPECT_EQ(digest::userPassword(QStringLiteral("tebov")),
              QStringLiteral("70BA7ED8F2AD91488878DC5CAEDA7139"));
    // Bytes A3 F3 64 9F; over UTF-8 the digest would be 1B8FDC57...
    EXPECT_EQ(digest::userPassword(QString::fromUtf8("Łódź")),
              QStringLiteral("679EF04DEBAD2618F1F342AE188DDB21"));
    EXPECT_EQ(digest::md5Hex(QStringLiteral("tebov"), QStringLiteral("QUR"), false),
              QStringLiteral("70ba7ed8f2ad91488878dc5caeda7139"));
    EXPECT_EQ(digest::md5Hex(QString(), QString(), true),
              QStringLiteral("D41D8CD98F00B204E9800998ECF8427E"));
}

TEST(PasswordDigest, InternetPasswordsUseSaltZQInLowerCase) {
    EXPECT_EQ(digest::internetPassword(QStringLiteral("tebov")),
              QStringLiteral("093189be92fa3a2790480a2afd70d2e1"));
    EXPECT_EQ(digest::internetPassword(QString::fromUtf8("Łódź")),
              QStringLiteral("3db661b8b6712b6052a7f3e80e6cbfe6"));
}

TEST(PasswordDigest, UserPasswordsOutsideCodePage1250KeepTheirCharacters) {
    const QString a = QString::fromUtf8("пароль");
    const QString b = QString::fromUtf8("абвгде");
    EXPECT_NE(digest::userPassword(a), digest::userPassword(b));
    EXPECT_NE(digest::userPassword(a), digest::userPassword(QStringLiteral("??????")));
    // Digested from the UTF-8 bytes, salt included, upper-case digits.
    EXPECT_EQ(digest::userPassword(a),
              QString::fromLatin1(QCryptographicHash::hash((a + QStringLiteral("QUR")).toUtf8(),
                                                           QCryptographicHash::Md5).toHex()).toUpper());
    // One character outside the code page is enough; mixed text is one digest.
    EXPECT_NE(digest::userPassword(QString::fromUtf8("Łódź€ж")), digest::userPassword(QString::fromUtf8("Łódź€ф")));
    // Text the code page holds keeps its old digest ("€" is 0x80 there).
    EXPECT_EQ(digest::userPassword(QString::fromUtf8("€uro")), digest::md5Hex(QString::fromUtf8("€uro"), QStringLiteral("QUR"), true));
}
