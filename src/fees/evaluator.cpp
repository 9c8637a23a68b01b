#include "evaluator.h"

#include "store/money.h"

#include <QVarLengthArray>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <string_view>

namespace fees {

namespace {

bool isOperator(char16_t c)
{
    return c == u'+' || c == u'-' || c == u'*' || c == u'/';
}

bool isOperatorOrBracket(char16_t c)
{
    return isOperator(c) || c == u'(' || c == u')';
}

// Lower binds tighter; "(" ranks below everything so it is always pushed.
int rank(char16_t c)
{
    switch (c) {
    case u'*':
    case u'/':
        return 1;
    case u'+':
    case u'-':
        return 2;
    default:
        return 0;
    }
}

[[noreturn]] void fail(const QString& what)
{
    throw EvalError(QStringLiteral("Błąd w wyrażeniu: ") + what);
}

// A number together with how many decimals the decimal text it was read
// from had; kManyDecimals when that is unknown or long.
constexpr int kManyDecimals = 1000;
struct Value {
    double number = 0.0;
    int decimals = 0;
};

// Intermediate results have always been written out with 15 significant
// digits and read back; methods that divide and multiply again depend on it.
Value hold15(double value)
{
    if (value == std::trunc(value) && std::fabs(value) < 1e15)
        return {value, 0};
    char buf[64];
    const auto written = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 15);
    Value held{value, kManyDecimals};
    std::from_chars(buf, written.ptr, held.number);
    const std::string_view text(buf, static_cast<size_t>(written.ptr - buf));
    if (text.find('e') == std::string_view::npos) {
        const size_t point = text.find('.');
        held.decimals = point == std::string_view::npos ? 0 : static_cast<int>(text.size() - point - 1);
    }
    return held;
}

// One number of the expression: digits with at most one comma.
Value readNumber(QStringView text)
{
    char small[64];
    std::string large;
    char* ascii = small;
    if (text.size() > qsizetype(sizeof small)) {
        large.resize(static_cast<size_t>(text.size()));
        ascii = large.data();
    }
    int length = 0;
    int separators = 0;
    int decimals = 0;
    bool digits = false;
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        if (c >= u'0' && c <= u'9') {
            ascii[length++] = static_cast<char>(c);
            digits = true;
            if (separators > 0)
                ++decimals;
        } else if (c == u',') {
            ascii[length++] = '.';
            ++separators;
        } else {
            fail(QStringLiteral("niedozwolony znak \"%1\"").arg(ch));
        }
    }
    if (separators > 1)
        fail(QStringLiteral("liczba \"%1\" ma więcej niż jeden przecinek").arg(text));
    if (!digits)
        fail(QStringLiteral("niepoprawna liczba \"%1\"").arg(text));
    Value value{0.0, decimals};
    const auto parsed = std::from_chars(ascii, ascii + length, value.number);
    if (parsed.ec != std::errc() || parsed.ptr != ascii + length)
        fail(QStringLiteral("liczba \"%1\" przekracza zakres liczb").arg(text));
    return value;
}

// Rounds as money::roundHalfAway does, skipping its text round trip when the
// number already has no more than the wanted decimals: below 2^19 a double is
// within 3e-11 of the decimal it was read from, so that round trip gives the
// same double back.
double roundResult(Value value, int decimals)
{
    if (value.decimals <= std::clamp(decimals, 0, 10) && std::fabs(value.number) < 524288.0)
        return value.number + 0.0;  // no negative zero, like the helper
    return money::roundHalfAway(value.number, decimals);
}

// The output list is consumed as it is produced: taking the first operator
// with the two items before it, again and again, is the same as applying each
// operator to the top of a value stack the moment it reaches the output.
class Machine {
public:
    void pushValue(Value v) { m_values.append(v); }

    void output(char16_t op)
    {
        if (m_values.size() < 2)
            fail(QStringLiteral("operator \"%1\" nie ma dwóch argumentów").arg(QChar(op)));
        const double right = m_values.last().number;
        m_values.removeLast();
        const double left = m_values.last().number;
        double result = 0.0;
        switch (op) {
        case u'*':
            result = left * right;
            break;
        case u'+':
            result = left + right;
            break;
        case u'-':
            result = left - right;
            break;
        default:  // '/'
            if (left == 0.0)
                result = 0.0;
            else if (right == 0.0)
                throw EvalError(QStringLiteral("Dzielenie przez zero"));
            else
                result = left / right;
            break;
        }
        if (!std::isfinite(result))
            throw EvalError(QStringLiteral("Wynik wyrażenia przekracza zakres liczb"));
        m_values.last() = hold15(result);
    }

    void closeBracket()
    {
        while (!m_ops.isEmpty() && m_ops.last() != u'(') {
            output(m_ops.last());
            m_ops.removeLast();
        }
        // A ")" without its "(" pops what there is and is otherwise ignored.
        if (!m_ops.isEmpty())
            m_ops.removeLast();
    }

    void push(char16_t c)
    {
        while (!m_ops.isEmpty()) {
            const char16_t top = m_ops.last();
            if (top == u'(' || rank(c) < rank(top))
                break;
            output(top);
            m_ops.removeLast();
        }
        m_ops.append(c);
    }

    // Operators left behind an unmatched "(" never reach the output.
    Value result() const
    {
        if (m_values.isEmpty())
            fail(QStringLiteral("brak liczby"));
        return m_values.first();
    }

private:
    QVarLengthArray<Value, 32> m_values;
    QVarLengthArray<char16_t, 32> m_ops;
};

}  // namespace

double evaluate(const QString& expression, int decimals)
{
    if (expression.isEmpty())
        return 0.0;
    // Without marks every text compiles.
    return CompiledExpression::compile(expression)->evaluate({}, decimals);
}

// Reads the text once, recording what the evaluation does at each operator
// and bracket; a fault met on the way is recorded where it would be thrown,
// so that errors of the arithmetic before it still come first.
std::optional<CompiledExpression> CompiledExpression::compile(QStringView text)
{
    CompiledExpression out;
    QList<Action>& actions = out.m_actions;
    auto failure = [&](const QString& message) {
        out.m_failures.append(message);
        actions.append(Action{Action::Fail, 0, int(out.m_failures.size() - 1)});
        return out;
    };
    actions.append(Action{Action::Operator, u'('});
    const qsizetype n = text.size();
    qsizetype bufferStart = 0;
    int marks = 0;
    // i == n stands for the closing bracket around the whole text.
    for (qsizetype i = 0; i <= n; ++i) {
        const char16_t c = i < n ? text[i].unicode() : u')';
        if (!isOperatorOrBracket(c))
            continue;
        const char16_t previous = i == 0 ? u'(' : text[i - 1].unicode();
        if (c == u'-' && previous == u'(') {
            actions.append(Action{Action::Zero});
        } else {
            const QStringView number = text.mid(bufferStart, i - bufferStart).trimmed();
            if (number.contains(QChar(slotMark)) && number.size() > 1)
                return std::nullopt;
            try {
                if (c == u'-' && isOperator(previous))
                    fail(QStringLiteral("znak \"-\" bezpośrednio po operatorze \"%1\"").arg(QChar(previous)));
                if (number.size() == 1 && number[0] == QChar(slotMark)) {
                    actions.append(Action{Action::Slot, 0, marks++});
                } else if (!number.isEmpty()) {
                    const Value v = readNumber(number);
                    actions.append(Action{Action::Number, 0, 0, v.number, v.decimals});
                }
            } catch (const EvalError& e) {
                return failure(e.message());
            }
        }
        bufferStart = i + 1;
        actions.append(c == u')' ? Action{Action::Close} : Action{Action::Operator, c});
    }
    return out;
}

double CompiledExpression::evaluate(std::span<const double> values, int decimals) const
{
    Machine machine;
    for (const Action& a : m_actions) {
        switch (a.kind) {
        case Action::Number:
            machine.pushValue({a.number, a.decimals});
            break;
        case Action::Slot:
            // Written out and read back: 15 significant digits, and a
            // negative zero is written "0".
            machine.pushValue(hold15(values[size_t(a.index)] + 0.0));
            break;
        case Action::Zero:
            machine.pushValue({0.0, 0});
            break;
        case Action::Operator:
            machine.push(a.op);
            break;
        case Action::Close:
            machine.closeBracket();
            break;
        case Action::Fail:
            throw EvalError(m_failures[a.index]);
        }
    }
    return roundResult(machine.result(), decimals);
}

QString formatShortest(double value, QChar decimalPoint)
{
    if (!std::isfinite(value))
        return QString::number(value);
    if (value == std::trunc(value) && std::fabs(value) < 1e15)
        return QString::number(static_cast<qint64>(value));
    // d.dddddddddddddde±x: the 15 significant digits and the exponent.
    char sci[64];
    const char* const sciEnd = std::to_chars(sci, sci + sizeof sci, value, std::chars_format::scientific, 14).ptr;
    const bool negative = sci[0] == '-';
    const char* const e = std::find(static_cast<const char*>(sci), sciEnd, 'e');
    char digits[20];
    int count = 0;
    for (const char* p = sci + (negative ? 1 : 0); p < e; ++p) {
        if (*p != '.')
            digits[count++] = *p;
    }
    while (count > 1 && digits[count - 1] == '0')
        --count;
    int exponent = 0;
    std::from_chars(e + (e[1] == '+' ? 2 : 1), sciEnd, exponent);

    // The first digit stands for 10^exponent; below 1e15 or above 1e-300 the
    // plain text fits in a few hundred characters.
    std::string out;
    out.reserve(static_cast<size_t>(std::abs(exponent) + count + 3));
    if (negative)
        out += '-';
    qsizetype point = -1;
    if (exponent < 0) {
        out += '0';
        point = static_cast<qsizetype>(out.size());
        out += '.';
        out.append(static_cast<size_t>(-exponent - 1), '0');
        out.append(digits, static_cast<size_t>(count));
    } else if (exponent + 1 >= count) {
        out.append(digits, static_cast<size_t>(count));
        out.append(static_cast<size_t>(exponent + 1 - count), '0');
    } else {
        out.append(digits, static_cast<size_t>(exponent) + 1);
        point = static_cast<qsizetype>(out.size());
        out += '.';
        out.append(digits + exponent + 1, static_cast<size_t>(count - exponent - 1));
    }
    QString text = QString::fromLatin1(out.data(), static_cast<qsizetype>(out.size()));
    if (point >= 0)
        text[point] = decimalPoint;
    return text;
}

}  // namespace fees
