#pragma once
// The arithmetic of calculation methods and of the calculator.
//
// Stored methods were written against this exact reading of an expression,
// odd corners included, so it is kept as it always behaved:
// - the text is read as if enclosed in "(" ... ")";
// - "*" "/" bind tighter than "+" "-", equal ranks group left to right;
// - a "-" right after "(" (or at the very start) subtracts from zero;
// - every intermediate result is held to 15 significant digits;
// - "/" with a zero dividend gives 0, whatever the divisor;
// - an unmatched ")" is ignored; an unmatched "(" leaves the operators pushed
//   before it out of the result ("(2+3" gives 5, "2*(3+4" gives 2);
// - the decimal separator is the comma, on every machine.

#include "store/error.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <span>

namespace fees {

// An expression that cannot be evaluated; message() is shown to the user.
class EvalError : public Error {
public:
    using Error::Error;
};

// Evaluates the expression and rounds the result to `decimals` places (first
// to 10 places, then to `decimals`, half away from zero). An empty text is 0.
// Throws EvalError for an operator without two operands, a minus right after
// another operator, a malformed number or a foreign character, a non-zero
// value divided by zero, and a result outside the range of numbers.
double evaluate(const QString& expression, int decimals);

// An expression read once and evaluated many times, as evaluate() would read
// it: its numbers are read and its operators placed once. Each `slotMark` in
// the text stands for a value given at every evaluation, taken as if it had
// been written there with 15 significant digits (a negative one in brackets).
class CompiledExpression {
public:
    static constexpr char16_t slotMark = 0xE000;

    // Nothing when a slot shares its operand with other characters ("2" next
    // to it would make one number of both): such a text is only evaluated whole.
    static std::optional<CompiledExpression> compile(QStringView text);

    // `values` in the order of their marks, each finite. Errors and result
    // are those of evaluate() on the written-out text.
    double evaluate(std::span<const double> values, int decimals) const;

private:
    struct Action {
        enum Kind : quint8 { Number, Slot, Zero, Operator, Close, Fail } kind;
        char16_t op = 0;
        int index = 0;  // Slot: the slot; Fail: the message
        double number = 0.0;
        int decimals = 0;
    };
    QList<Action> m_actions;
    QStringList m_failures;
};

// The number in plain decimal notation (no exponent) with at most 15
// significant digits and no trailing zeros: 14, 0.3333, -2.5. The calculator
// command line prints results with "."; definitions need the comma.
QString formatShortest(double value, QChar decimalPoint = QLatin1Char('.'));

}  // namespace fees
