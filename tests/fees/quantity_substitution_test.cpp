#include "fees/evaluator.h"
#include "fees/quantity_substitution.h"

#include <QHash>
#include <QStringList>

#include <functional>
#include <random>

#include <gtest/gtest.h>

using namespace fees;

namespace {

// Class quantities answer with a number that tells which question was asked:
// hundreds give the kind (1 IO, 2 IP, 3 IQ, 4 IR), IP adds 10 for absent and
// 20 for notified absence, the rest is the class code.
class FakeProvider : public QuantityProvider {
public:
    QHash<QChar, double> simple;

    double simpleQuantity(QChar letter) override { return simple.value(letter, -999); }
    int scheduledClasses(int k) override { return 100 + k; }
    int classAttendance(int k, PresenceMark mark) override
    {
        return 200 + k + (mark == PresenceMark::Absent ? 10 : mark == PresenceMark::NotifiedAbsence ? 20 : 0);
    }
    int classesDuringStay(int k) override { return 300 + k; }
    int classesOnDaysPresent(int k) override { return 400 + k; }
};

QString u8(const char* s) { return QString::fromUtf8(s); }

}  // namespace

TEST(QuantitySubstitutionTest, ReplacesEveryCodeByItsValue)
{
    FakeProvider p;
    p.simple = {{'A', 30}, {'T', 0}, {'C', 0}, {'Z', 2}, {'N', 3.0000000001},
                {'E', 2.25}, {'F', 1.0 / 3}, {'H', -1.5}, {'W', 12}};
    const struct {
        const char* definition;
        const char* expected;
    } cases[] = {
        {"IA*0,5", "30*0,5"},
        {"IT/IC", "0/0"},
        {"IN", "3"},  // counts are whole numbers
        {"IE*1,5+IP[3]*12-IZ*2", "2,25*1,5+203*12-2*2"},
        {"IF", "0,333333333333333"},
        {"IW", "12"},
        {"2*IH", "2*(-1,5)"},
        {"IO[12]+IQ[5]-IR[7]", "112+305-407"},
        {"IP[3]IP[3,0]IP[3,1]IP[3,2]IP[3,7]IP[3,]", "203203213223203203"},
        {"IO[3,2]", "103"},
        {"2+ia", "2+ia"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(substituteQuantities(u8(c.definition), p), u8(c.expected)) << c.definition;

    EXPECT_EQ(evaluate(substituteQuantities(u"IA*0,5", p), 4), 15.0);
    EXPECT_EQ(evaluate(substituteQuantities(u"IT/IC", p), 4), 0.0);
    EXPECT_EQ(evaluate(substituteQuantities(u"10-IH*IH", p), 4), 7.75);
    p.simple['T'] = 1;
    EXPECT_THROW(evaluate(substituteQuantities(u"IT/IC", p), 4), EvalError);
}

TEST(QuantitySubstitutionTest, NamesTheCodeItCannotRead)
{
    FakeProvider p;
    const struct {
        const char* definition;
        const char* message;
    } cases[] = {
        {"2*IY+1", "Nieznany kod wielkości \"IY\""},
        {"2*I", "Nieznany kod wielkości \"I\""},
        {"IO[3*2", "Brak znaku \"]\" w kodzie wielkości \"IO[3*2\""},
        {"IO3]", "Nieprawidłowy kod wielkości \"IO3]\""},
        {"IP]", "Nieprawidłowy kod wielkości \"IP]\""},
        {"IQ[x]", "Nieprawidłowy kod zajęć w kodzie wielkości \"IQ[x]\""},
        {"IR[]", "Nieprawidłowy kod zajęć w kodzie wielkości \"IR[]\""},
        {"IP[3,x]", "Nieprawidłowy znacznik obecności w kodzie wielkości \"IP[3,x]\""},
    };
    for (const auto& c : cases) {
        try {
            substituteQuantities(u8(c.definition), p);
            ADD_FAILURE() << c.definition << ": no error";
        } catch (const EvalError& e) {
            EXPECT_EQ(e.message(), u8(c.message)) << c.definition;
        }
    }
}

TEST(QuantitySubstitutionTest, ReadsTokenExtents)
{
    const QStringView text = u"2*IP[14,2]+IA";
    const QuantityToken ip = readQuantityToken(text, 2);
    EXPECT_EQ(ip.letter, QLatin1Char('P'));
    EXPECT_EQ(ip.length, 8);
    EXPECT_EQ(ip.classCode, 14);
    EXPECT_EQ(ip.mark, PresenceMark::NotifiedAbsence);
    EXPECT_EQ(readQuantityToken(text, 11).length, 2);
}

namespace {

// What an evaluation gives: its value, or the message of its error.
QString outcome(const std::function<double()>& run)
{
    try {
        return QString::number(run(), 'g', 17);
    } catch (const EvalError& e) {
        return QStringLiteral("error: ") + e.message();
    }
}

}  // namespace

// A definition read once must give every line what writing its numbers into
// the text and reading that would give, errors included, whatever the text.
TEST(QuantitySubstitutionTest, CompiledDefinitionAgreesWithTheWrittenOutText)
{
    const QStringList pieces = {QStringLiteral("IA"), QStringLiteral("IE"), QStringLiteral("IH"), QStringLiteral("IP[3,1]"),
                                QStringLiteral("IO[2]"), QStringLiteral("2"), QStringLiteral("0,5"), QStringLiteral("10"),
                                QStringLiteral("+"), QStringLiteral("-"), QStringLiteral("*"), QStringLiteral("/"),
                                QStringLiteral("("), QStringLiteral(")"), QStringLiteral(" "), QStringLiteral(","),
                                QStringLiteral("x"), QStringLiteral("IY")};
    const double values[] = {0.0, -0.0, 1.0, -1.5, 2.25, 1.0 / 3, -2.0 / 3, 1e-7, 123456.789012345678, 7.4999, 1e16, -3.6};
    std::mt19937 random(20261210);
    auto pick = [&](auto& list) { return list[random() % std::size(list)]; };
    int compiled = 0;
    for (int round = 0; round < 20000; ++round) {
        QString definition;
        const int length = 1 + int(random() % 9);
        for (int i = 0; i < length; ++i)
            definition += pick(pieces);
        FakeProvider text;
        for (const QChar letter : {u'A', u'E', u'H'})
            text.simple[letter] = pick(values);
        FakeProvider once = text;
        const CompiledDefinition read(definition);
        const int decimals = int(random() % 11);
        const QString expected = outcome([&] { return evaluate(substituteQuantities(definition, text), decimals); });
        EXPECT_EQ(outcome([&] { return read.evaluate(once, decimals); }).toStdString(), expected.toStdString())
            << definition.toStdString();
        compiled += expected.startsWith(QLatin1String("error")) ? 0 : 1;
    }
    EXPECT_GT(compiled, 2000);  // the comparison covered values, not only errors
    FakeProvider p;
    EXPECT_EQ(CompiledDefinition(QString()).evaluate(p, 2), 0.0);
}
