#include "store/cp1250.h"

#include <QStringDecoder>
#include <gtest/gtest.h>

namespace {

QByteArray bytes(std::initializer_list<int> values) {
    QByteArray out;
    for (int v : values) out.append(static_cast<char>(v));
    return out;
}

}  // namespace

TEST(Cp1250, PolishLettersMapToTheirBytesAndBack) {
    const QString letters = QString::fromUtf8("ąĄćĆęĘłŁńŃóÓśŚźŹżŻ");
    const QByteArray expected = bytes({0xB9, 0xA5, 0xE6, 0xC6, 0xEA, 0xCA, 0xB3, 0xA3, 0xF1,
                                       0xD1, 0xF3, 0xD3, 0x9C, 0x8C, 0x9F, 0x8F, 0xBF, 0xAF});
    EXPECT_EQ(cp1250::encode(letters), expected);
    EXPECT_EQ(cp1250::decode(expected), letters);
    EXPECT_TRUE(cp1250::representable(letters));
    EXPECT_EQ(cp1250::encode(QString::fromUtf8("Zażółć gęślą jaźń 12,50 €")),
              QByteArray("Za\xBF\xF3\xB3\xE6 g\xEA\x9C\x6C\xB9 ja\x9F\xF1 12,50 \x80"));
}

TEST(Cp1250, EveryByteSurvivesARoundTripAndMatchesTheSystemCodec) {
    QByteArray all;
    for (int b = 0; b < 256; ++b) all.append(static_cast<char>(b));
    const QString text = cp1250::decode(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(cp1250::encode(text), all);
    EXPECT_TRUE(cp1250::representable(text));

    // The unassigned bytes stand for the C1 control of the same number.
    for (int b : {0x81, 0x83, 0x88, 0x90, 0x98}) EXPECT_EQ(text.at(b).unicode(), b) << b;

    // An independent table (ICU) agrees on every assigned byte.
    QStringDecoder icu("windows-1250");
    if (!icu.isValid()) GTEST_SKIP() << "no windows-1250 decoder on this machine";
    for (int b = 0x80; b < 256; ++b) {
        if (b == 0x81 || b == 0x83 || b == 0x88 || b == 0x90 || b == 0x98) continue;
        const QString viaIcu = icu.decode(QByteArray(1, static_cast<char>(b)));
        EXPECT_EQ(viaIcu, QString(text.at(b))) << "byte " << b;
    }
}

TEST(Cp1250, CharactersOutsideTheCodePageBecomeOneQuestionMarkEach) {
    // Cyrillic, a Latin-1 letter the code page lacks, an emoji (two UTF-16 units).
    const QString text = QString::fromUtf8("aЖñ😀b");
    EXPECT_EQ(cp1250::encode(text), QByteArray("a???b"));
    EXPECT_FALSE(cp1250::representable(text));
    EXPECT_FALSE(cp1250::representable(QString::fromUtf8("ñ")));
    EXPECT_TRUE(cp1250::representable(QStringLiteral("a?b")));

    const QString withNul = QStringLiteral("a") + QChar(0) + QStringLiteral("b");
    EXPECT_EQ(cp1250::encode(withNul), QByteArray("a\0b", 3));
    EXPECT_TRUE(cp1250::representable(withNul));
    EXPECT_TRUE(cp1250::encode(QString()).isEmpty());
}
