#include "calculator.h"

#include "cell_text.h"

#include "fees/evaluator.h"
#include "store/table.h"

#include <QRegularExpression>

namespace calc {

QString resultOf(const QString& expression)
{
    const QString text = expression.trimmed();
    try {
        return fees::formatShortest(fees::evaluate(text, 10), QLatin1Char(','));
    } catch (const fees::EvalError&) {
        return QString();
    }
}

void Calculator::changed()
{
    m_result = resultOf(m_expression);
}

void Calculator::setExpression(const QString& text, int caret)
{
    m_expression = text;
    m_selStart = m_selLength = 0;
    setCaret(caret);
    changed();
}

void Calculator::setCaret(int caret)
{
    m_caret = qBound(0, caret, int(m_expression.size()));
    m_selStart = m_caret;
    m_selLength = 0;
}

void Calculator::setSelection(int start, int length)
{
    start = qBound(0, start, int(m_expression.size()));
    m_selStart = start;
    m_selLength = qBound(0, length, int(m_expression.size()) - start);
    m_caret = start + m_selLength;
}

void Calculator::insert(const QString& text)
{
    if (m_selLength > 0) {
        m_expression.remove(m_selStart, m_selLength);
        m_caret = m_selStart;
    }
    m_expression.insert(m_caret, text);
    setCaret(m_caret + int(text.size()));
    changed();
}

void Calculator::deleteBack()
{
    if (m_selLength > 0) {
        m_expression.remove(m_selStart, m_selLength);
        setCaret(m_selStart);
    } else if (m_caret > 0) {
        m_expression.remove(m_caret - 1, 1);
        setCaret(m_caret - 1);
    } else
        return;
    changed();
}

void Calculator::clear()
{
    m_expression.clear();
    setCaret(0);
    changed();
}

namespace {

// The value as the expression takes it; empty when it is not a number.
QString numberOf(const QString& value)
{
    QString text = value.trimmed();
    text.remove(QLatin1Char(' '));
    text.remove(QChar(0xA0));  // the grouping blank of formatted amounts
    static const QRegularExpression number(QStringLiteral("^-?[0-9]+(,[0-9]+)?$"));
    return number.match(text).hasMatch() ? text : QString();
}

}  // namespace

bool Calculator::feed(const QString& value)
{
    const QString text = numberOf(value);
    if (text.isEmpty())
        return false;
    insert(text);
    return true;
}

bool Calculator::feedTerm(const QString& value)
{
    const QString text = numberOf(value);
    if (text.isEmpty())
        return false;
    // What comes before the value is what stays before the selection it replaces.
    const int at = m_selLength > 0 ? m_selStart : m_caret;
    const bool afterDigit = at > 0 && m_expression.at(at - 1).isDigit();
    insert(afterDigit && !text.startsWith(QLatin1Char('-')) ? QStringLiteral("+ ") + text : text);
    return true;
}

QString writeResult(Table& table, const QString& field, const QString& result)
{
    if (result.isEmpty() || !table.isOpen() || !table.hasField(field))
        return QString();
    const Table::Field& f = table.field(field);
    const std::optional<QVariant> value = cell::fromText(result, f.def.type);
    if (!value) {
        const QString caption = f.def.caption.isEmpty() ? f.def.name : f.def.caption;
        return QStringLiteral("\"%1\" nie jest prawidłową wartością pola \"%2\"").arg(result, caption);
    }
    if (!table.isEditing())
        table.edit();
    table.setValue(field, *value);
    return QString();
}

}  // namespace calc
