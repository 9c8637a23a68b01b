#include "definition_tokens.h"

#include "evaluator.h"
#include "quantity_substitution.h"

namespace fees {

namespace {

int letterIndex(QChar letter)
{
    return int(quantityLetters.indexOf(letter));
}

// The length of the code whose "I" is at text[pos], read the way
// substitution reads it. A class code without its "]" takes the rest of the
// text, so that nothing of a damaged definition is lost unseen.
qsizetype codeLength(const QString& text, qsizetype pos)
{
    if (pos + 1 >= text.size())
        return 1;
    if (!isClassQuantity(text[pos + 1]))
        return 2;
    const qsizetype close = text.indexOf(QLatin1Char(']'), pos);
    return close < 0 ? text.size() - pos : close - pos + 1;
}

}  // namespace

bool isDefinitionChar(QChar c)
{
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || QStringView(u"+-*/(),").contains(c);
}

const QStringList& quantityCaptions()
{
    static const QStringList captions{
        QStringLiteral("Ilość wszystkich dni w miesiącu"),
        QStringLiteral("Ilość dni składnika w miesiącu"),
        QStringLiteral("Ilość dni pracy w miesiącu"),
        QStringLiteral("Ilość dni pracy składnika w miesiącu"),
        QStringLiteral("Ilość obecności w miesiącu"),
        QStringLiteral("Ilość nieobecności w miesiącu"),
        QStringLiteral("Ilość zgłoszonych nieobecności w miesiącu"),
        QStringLiteral("Ilość nieokreślonych obecności w miesiącu"),
        QStringLiteral("Zadeklarowany czas obecności w miesiącu"),
        QStringLiteral("Rzeczywisty czas obecności w miesiącu"),
        QStringLiteral("Zadeklarowany czas z odliczeniem zajęć dod."),
        QStringLiteral("Rzeczywisty czas z odliczeniem zajęć dod."),
        QStringLiteral("Rzeczywisty czas z odlicz. dekl. zajęć dod."),
        QStringLiteral("Rzeczywisty czas z odlicz. zajęć dod., na które jest dekl."),
        QStringLiteral("Zadeklarowana ilość zajęć dod. w miesiącu"),
        QStringLiteral("Ilość obecności na zajęciach dodatkowych"),
        QStringLiteral("Ilość dekl. zajęć dod. w czasie obecności"),
        QStringLiteral("Ilość dekl. zajęć dod. w dniach obecności"),
        QStringLiteral("Rzeczywisty czas obecności w miesiącu ponad zadekl."),
        QStringLiteral("Rzeczywisty czas ponad zadekl. z odliczeniem zajęć dod."),
        QStringLiteral("Rzeczywisty czas ponad zadekl. z odlicz. dekl. zajęć dod."),
        QStringLiteral("Rzecz. czas ponad zadekl. z odlicz. zajęć dod., na które jest dekl."),
    };
    return captions;
}

const QStringList& presenceMarkNames()
{
    static const QStringList names{QStringLiteral("obecności"), QStringLiteral("nieobecności"),
                                   QStringLiteral("zgłosz. nieobecn.")};
    return names;
}

DefinitionTokens::DefinitionTokens(QList<ExtraClass> classes) : m_classes(std::move(classes)) {}

void DefinitionTokens::load(const QString& definition)
{
    m_tokens.clear();
    for (qsizetype i = 0; i < definition.size();) {
        const QChar c = definition[i];
        if (c == QLatin1Char('I')) {
            const qsizetype n = codeLength(definition, i);
            const QString code = definition.mid(i, n);
            m_tokens.append({code, describe(code)});
            i += n;
        } else {
            if (isDefinitionChar(c))
                m_tokens.append({QString(c), describe(QString(c))});
            ++i;
        }
    }
    m_current = count();
}

QString DefinitionTokens::definition() const
{
    QString out;
    for (const DefinitionToken& t : m_tokens)
        out += t.code;
    return out;
}

QString definitionLengthRefusal(const QString& definition)
{
    if (definition.size() <= kMaxDefinitionLength)
        return QString();
    return QStringLiteral("Definicja jest za długa: ma %1 znaków, a może mieć najwyżej %2.")
        .arg(definition.size())
        .arg(kMaxDefinitionLength);
}

QString DefinitionTokens::refusal() const
{
    return definitionLengthRefusal(definition());
}

void DefinitionTokens::setCurrent(int index)
{
    m_current = qBound(0, index, count());
}

QString DefinitionTokens::className(int code) const
{
    for (const ExtraClass& c : m_classes)
        if (c.code == code)
            return c.name;
    // A class deleted since the method was written: its code at least.
    return QString::number(code);
}

QString DefinitionTokens::describe(const QString& code) const
{
    const QString blank = QStringLiteral(" ");
    if (!code.startsWith(QLatin1Char('I')))
        return blank + code;
    const int index = code.size() >= 2 ? letterIndex(code[1]) : -1;
    if (index < 0)
        return blank + code;
    QString text = blank + quantityCaptions()[index];
    if (!isClassQuantity(code[1]))
        return code.size() == 2 ? text : blank + code;
    QuantityToken token;
    try {
        token = readQuantityToken(code, 0);
    } catch (const EvalError&) {
        return blank + code;
    }
    if (token.length != code.size())
        return blank + code;
    text += QStringLiteral(" - ") + className(token.classCode);
    if (token.mark == PresenceMark::Absent)
        text += QStringLiteral(" (") + presenceMarkNames()[1] + QLatin1Char(')');
    else if (token.mark == PresenceMark::NotifiedAbsence)
        text += QStringLiteral(" (") + presenceMarkNames()[2] + QLatin1Char(')');
    return text;
}

void DefinitionTokens::insertCode(const QString& code)
{
    m_tokens.insert(m_current, {code, describe(code)});
    ++m_current;  // the element that was current stays current
}

bool DefinitionTokens::insertChar(QChar c)
{
    if (!isDefinitionChar(c))
        return false;
    insertCode(QString(c));
    return true;
}

bool DefinitionTokens::removeCurrent()
{
    if (endMarkerCurrent())
        return false;
    m_tokens.removeAt(m_current);
    m_current = count();
    return true;
}

void DefinitionTokens::chooseQuantity(int index)
{
    if (index < 0 || index >= int(quantityLetters.size()))
        return;
    if (index != m_quantity)
        m_mark = 0;  // the mark list opens on "obecności"
    m_quantity = index;
}

bool DefinitionTokens::classListShown() const
{
    return isClassQuantity(quantityLetters[m_quantity]);
}

bool DefinitionTokens::markListShown() const
{
    return quantityLetters[m_quantity] == QLatin1Char('P');
}

void DefinitionTokens::chooseClass(int index)
{
    m_class = index >= 0 && index < int(m_classes.size()) ? index : -1;
}

void DefinitionTokens::chooseMark(int index)
{
    m_mark = qBound(0, index, 2);
}

QString DefinitionTokens::chosenCode() const
{
    const QChar letter = quantityLetters[m_quantity];
    QString code = QStringLiteral("I") + letter;
    if (!isClassQuantity(letter))
        return code;
    if (m_class < 0)
        return QString();
    code += QLatin1Char('[') + QString::number(m_classes[m_class].code);
    if (letter == QLatin1Char('P') && m_mark > 0)
        code += QLatin1Char(',') + QString::number(m_mark);
    return code + QLatin1Char(']');
}

QString DefinitionTokens::insertChosen()
{
    const QString code = chosenCode();
    // A class code without its class could never be evaluated.
    if (code.isEmpty())
        return QStringLiteral("Wybierz zajęcia dodatkowe");
    insertCode(code);
    return QString();
}

QString DefinitionTokens::typedKey(QChar key, bool* handled)
{
    bool taken = true;
    QString message;
    if (key == QLatin1Char('\b'))
        removeCurrent();
    else if (insertChar(key))
        ;
    else if (const int index = letterIndex(key.toUpper()); key.isLetter() && index >= 0) {
        chooseQuantity(index);
        message = insertChosen();
    } else
        taken = false;
    if (handled)
        *handled = taken;
    return message;
}

}  // namespace fees
