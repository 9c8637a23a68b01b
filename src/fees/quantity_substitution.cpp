#include "quantity_substitution.h"

#include "evaluator.h"

#include <QVarLengthArray>

#include <cmath>

namespace fees {

namespace {

[[noreturn]] void badToken(const QString& what, QStringView token)
{
    throw EvalError(what.arg(token));
}

bool allDigits(QStringView text)
{
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

QString numberText(double value, bool count)
{
    const QString text = count ? QString::number(std::llround(value))
                               : formatShortest(value, QLatin1Char(','));
    return value < 0 && text != QLatin1String("0") ? QLatin1Char('(') + text + QLatin1Char(')') : text;
}

}  // namespace

bool isCountQuantity(QChar letter)
{
    return QStringView(u"ABCDTNZX").contains(letter);
}

bool isClassQuantity(QChar letter)
{
    return QStringView(u"OPQR").contains(letter);
}

QuantityToken readQuantityToken(QStringView text, qsizetype pos)
{
    QuantityToken token;
    if (pos + 1 >= text.size())
        badToken(QStringLiteral("Nieznany kod wielkości \"%1\""), text.mid(pos));
    token.letter = text[pos + 1];
    if (!quantityLetters.contains(token.letter))
        badToken(QStringLiteral("Nieznany kod wielkości \"%1\""), text.mid(pos, 2));
    if (!isClassQuantity(token.letter)) {
        token.length = 2;
        return token;
    }

    const qsizetype close = text.indexOf(QLatin1Char(']'), pos);
    if (close < 0)
        badToken(QStringLiteral("Brak znaku \"]\" w kodzie wielkości \"%1\""), text.mid(pos));
    token.length = close - pos + 1;
    const QStringView whole = text.mid(pos, token.length);
    if (token.length < 4 || whole[2] != QLatin1Char('['))
        badToken(QStringLiteral("Nieprawidłowy kod wielkości \"%1\""), whole);

    const QStringView inside = whole.mid(3, whole.size() - 4);
    const qsizetype comma = inside.indexOf(QLatin1Char(','));
    const QStringView classText = comma < 0 ? inside : inside.left(comma);
    bool ok = false;
    token.classCode = allDigits(classText) ? classText.toInt(&ok) : 0;
    if (!ok)
        badToken(QStringLiteral("Nieprawidłowy kod zajęć w kodzie wielkości \"%1\""), whole);

    // Only IP carries a mark; other letters have never looked past the comma.
    if (token.letter == QLatin1Char('P') && comma >= 0) {
        const QStringView markText = inside.mid(comma + 1);
        if (!allDigits(markText))
            badToken(QStringLiteral("Nieprawidłowy znacznik obecności w kodzie wielkości \"%1\""), whole);
        // Leading zeros are harmless; a long digit run is just "another digit".
        const int mark = markText.isEmpty() ? 0 : markText.toInt(&ok);
        if (mark == 1)
            token.mark = PresenceMark::Absent;
        else if (mark == 2)
            token.mark = PresenceMark::NotifiedAbsence;
    }
    return token;
}

namespace {

bool isCount(const QuantityToken& token)
{
    return isClassQuantity(token.letter) || isCountQuantity(token.letter);
}

// The value as written in the definition: counts as whole numbers.
double quantityValue(const QuantityToken& token, QuantityProvider& provider)
{
    double value;
    switch (token.letter.unicode()) {
    case u'O':
        value = provider.scheduledClasses(token.classCode);
        break;
    case u'P':
        value = provider.classAttendance(token.classCode, token.mark);
        break;
    case u'Q':
        value = provider.classesDuringStay(token.classCode);
        break;
    case u'R':
        value = provider.classesOnDaysPresent(token.classCode);
        break;
    default:
        value = provider.simpleQuantity(token.letter);
        break;
    }
    return isCount(token) && std::isfinite(value) ? double(std::llround(value)) : value;
}

QString quantityText(const QuantityToken& token, QuantityProvider& provider)
{
    return numberText(quantityValue(token, provider), isCount(token));
}

}  // namespace

QString substituteQuantities(QStringView definition, QuantityProvider& provider)
{
    QString out;
    out.reserve(definition.size() + 16);
    qsizetype pos = 0;
    while (pos < definition.size()) {
        const qsizetype at = definition.indexOf(QLatin1Char('I'), pos);
        if (at < 0) {
            out += definition.mid(pos);
            break;
        }
        out += definition.mid(pos, at - pos);
        const QuantityToken token = readQuantityToken(definition, at);
        out += quantityText(token, provider);
        pos = at + token.length;
    }
    return out;
}

CompiledDefinition::CompiledDefinition(const QString& definition) : m_definition(definition)
{
    const QStringView text(m_definition);
    qsizetype pos = 0;
    try {
        for (;;) {
            const qsizetype at = text.indexOf(QLatin1Char('I'), pos);
            m_texts.append(text.mid(pos, at < 0 ? text.size() - pos : at - pos).toString());
            if (at < 0)
                break;
            m_codes.append(readQuantityToken(text, at));
            pos = at + m_codes.last().length;
        }
    } catch (const EvalError&) {
        m_malformed = true;
        return;
    }
    // An empty text evaluates to 0 without being read.
    if (m_definition.isEmpty() || m_definition.contains(QChar(CompiledExpression::slotMark)))
        return;
    QString marked;
    for (qsizetype i = 0; i < m_codes.size(); ++i)
        marked += m_texts[i] + QChar(CompiledExpression::slotMark);
    m_expression = CompiledExpression::compile(marked + m_texts.last());
}

QString CompiledDefinition::substitute(QuantityProvider& provider) const
{
    if (m_malformed)
        return substituteQuantities(m_definition, provider);  // throws as it always did
    QString out;
    out.reserve(m_definition.size() + 16 * m_codes.size());
    for (qsizetype i = 0; i < m_codes.size(); ++i)
        out += m_texts[i] + quantityText(m_codes[i], provider);
    return out + m_texts.last();
}

double CompiledDefinition::evaluate(QuantityProvider& provider, int decimals) const
{
    if (!m_expression)
        return fees::evaluate(substitute(provider), decimals);
    QVarLengthArray<double, 16> values;
    for (const QuantityToken& code : m_codes) {
        const double value = quantityValue(code, provider);
        // Infinity or NaN written out is no number: the text says how.
        if (!std::isfinite(value))
            return fees::evaluate(substitute(provider), decimals);
        values.append(value);
    }
    return m_expression->evaluate(values, decimals);
}

}  // namespace fees
