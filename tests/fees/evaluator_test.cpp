#include "fees/evaluator.h"

#include <gtest/gtest.h>

using fees::evaluate;
using fees::EvalError;
using fees::formatShortest;

namespace {

struct Case {
    const char* expression;
    int decimals;
    const char* expected;  // as formatShortest prints it
};

QString u8(const char* s) { return QString::fromUtf8(s); }

}  // namespace

TEST(EvaluatorTest, ComputesAndRoundsLikeStoredMethodsExpect)
{
    const Case cases[] = {
        {"", 4, "0"},
        {"2+3*4", 4, "14"},
        {"(2+3)*4", 4, "20"},
        {"10-4-3", 4, "3"},
        {"8/4/2", 4, "1"},
        {"10-2+3", 4, "11"},            // equal ranks group left to right
        {"2*3/4*5", 4, "7.5"},
        {"1-1-1-1-1-1-1-1-1-1", 4, "-8"},
        {"2-3*4+5", 4, "-5"},
        {"-5+2", 4, "-3"},
        {"2*(-3)", 4, "-6"},
        {"2*(3-(4-(5-6)))", 4, "-4"},
        {"((1+2)*(3+4))", 4, "21"},
        {"1/3", 4, "0.3333"},
        {"2/3", 4, "0.6667"},
        {"-2/3", 4, "-0.6667"},
        {"0/0", 4, "0"},
        {"0/0+3", 4, "3"},
        {"(1-1)/0", 4, "0"},
        {"30*0,5", 4, "15"},
        {",5*2", 4, "1"},
        {" 2 + 3 ", 4, "5"},
        // Halves on decimal digits, not on the binary value.
        {"2,675", 2, "2.68"},
        {"1,005", 2, "1.01"},
        {"-2,675", 2, "-2.68"},
        {"8,345", 2, "8.35"},
        {"1,1*1,1", 2, "1.21"},
        {"2,5", 0, "3"},
        {"-2,5", 0, "-3"},
        {"0,1+0,2", 10, "0.3"},
        {"0,12345678905", 10, "0.1234567891"},
        // Intermediate results carry 15 significant digits.
        {"100000/3*3", 10, "99999.9999999999"},
        {"123456789012345678*1", 0, "123456789012346000"},
        // Unmatched brackets.
        {"(2+3", 4, "5"},
        {"2*(3+4", 4, "2"},
        {"2+3)*4", 4, "20"},
        {"(2+3))*2", 4, "10"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expression);
        EXPECT_EQ(formatShortest(evaluate(u8(c.expression), c.decimals)), u8(c.expected));
    }
}

TEST(EvaluatorTest, RefusesWhatIsNotAnExpression)
{
    const struct {
        const char* expression;
        const char* message;
    } cases[] = {
        {"2+", "Błąd w wyrażeniu: operator \"+\" nie ma dwóch argumentów"},
        {"+5", "Błąd w wyrażeniu: operator \"+\" nie ma dwóch argumentów"},
        {"*", "Błąd w wyrażeniu: operator \"*\" nie ma dwóch argumentów"},
        {"2*-3", "Błąd w wyrażeniu: znak \"-\" bezpośrednio po operatorze \"*\""},
        {"(5)(2*-3)", "Błąd w wyrażeniu: znak \"-\" bezpośrednio po operatorze \"*\""},
        {"2--3", "Błąd w wyrażeniu: znak \"-\" bezpośrednio po operatorze \"-\""},
        {"1,2,3+1", "Błąd w wyrażeniu: liczba \"1,2,3\" ma więcej niż jeden przecinek"},
        {"2 +x", "Błąd w wyrażeniu: niedozwolony znak \"x\""},
        {"2,5+2.5", "Błąd w wyrażeniu: niedozwolony znak \".\""},
        {"1E5", "Błąd w wyrażeniu: niedozwolony znak \"E\""},
        {"2 3", "Błąd w wyrażeniu: niedozwolony znak \" \""},
        {"2*(x", "Błąd w wyrażeniu: niedozwolony znak \"x\""},
        {",+1", "Błąd w wyrażeniu: niepoprawna liczba \",\""},
        {"5/0", "Dzielenie przez zero"},
        {"(1+1)/(2-2)", "Dzielenie przez zero"},
        {"()", "Błąd w wyrażeniu: brak liczby"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expression);
        try {
            evaluate(u8(c.expression), 4);
            ADD_FAILURE() << "no error";
        } catch (const EvalError& e) {
            EXPECT_EQ(e.message(), u8(c.message));
        }
    }
    const QString huge = QStringLiteral("1") + QString(200, QLatin1Char('0'));
    EXPECT_THROW(evaluate(huge + QStringLiteral("*") + huge, 4), EvalError);
}

TEST(EvaluatorTest, FormatsTheShortestPlainDecimal)
{
    const struct {
        double value;
        const char* expected;
    } cases[] = {
        {0.0, "0"}, {-0.0, "0"}, {14, "14"}, {-2.5, "-2.5"}, {1.0 / 3, "0.333333333333333"},
        {2.0 / 3, "0.666666666666667"}, {9.9999999999999999, "10"}, {1e20, "100000000000000000000"},
        {1.5e-7, "0.00000015"}, {123456.789, "123456.789"}, {0.1 + 0.2, "0.3"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(formatShortest(c.value), u8(c.expected)) << c.value;
    EXPECT_EQ(formatShortest(2.25, QLatin1Char(',')), QStringLiteral("2,25"));
}
