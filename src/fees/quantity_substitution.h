#pragma once
// Quantity codes in a method's definition and their replacement by numbers.
//
// A definition names quantities of a child's month as "I" + a letter (IA, IT,
// IE, ...) or, for one extra class k, as IO[k], IP[k], IP[k,m], IQ[k], IR[k].
// Substitution writes each quantity's value in their place, giving the text
// fees::evaluate() reads.

#include "fees/evaluator.h"

#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

namespace fees {

// The mark of IP[k,m]: 1 absent, 2 notified absence, anything else present.
enum class PresenceMark { Present, Absent, NotifiedAbsence };

// The quantities of one child, month and charge period. The attendance
// computation implements it; substitution asks it once per code in the text.
class QuantityProvider {
public:
    virtual ~QuantityProvider() = default;

    // IA ... IW: `letter` is one of "ABCDTNZXEFGHJKSUVW". A to X are day
    // counts (written as whole numbers), the others hours.
    virtual double simpleQuantity(QChar letter) = 0;
    // IO[k]: scheduled occurrences of class k the child is enrolled in, on working days.
    virtual int scheduledClasses(int classCode) = 0;
    // IP[k] and IP[k,m]: held occurrences of class k at which the child has the mark.
    virtual int classAttendance(int classCode, PresenceMark mark) = 0;
    // IQ[k]: scheduled occurrences overlapping the child's stay on days present.
    virtual int classesDuringStay(int classCode) = 0;
    // IR[k]: scheduled occurrences on days present.
    virtual int classesOnDaysPresent(int classCode) = 0;
};

// Letters of the quantity codes in the order the definition editor lists them.
inline constexpr QStringView quantityLetters = u"ABCDTNZXEFGHJKOPQRSUVW";

bool isCountQuantity(QChar letter);   // A B C D T N Z X
bool isClassQuantity(QChar letter);   // O P Q R

// One quantity code as written in a definition.
struct QuantityToken {
    QChar letter;
    qsizetype length = 0;  // from the "I" up to and including "]" for class codes
    int classCode = 0;     // class codes only
    PresenceMark mark = PresenceMark::Present;  // IP only
};

// Reads the code whose "I" is at text[pos]. Throws EvalError naming the code
// when the letter is not a quantity, a class code has no closing "]", or the
// class or mark between the brackets is not a number.
QuantityToken readQuantityToken(QStringView text, qsizetype pos);

// The definition with every quantity code replaced by its value: counts as
// whole numbers, hours in the shortest form with up to 15 significant digits
// and the comma. A negative value is written in brackets, "(-1,5)", so that
// "2*IH" still reads as a product. Throws EvalError for a malformed code.
QString substituteQuantities(QStringView definition, QuantityProvider& provider);

// A definition read once for a run: its text split at the quantity codes,
// so that each child's line only writes in its numbers. The result is that
// of evaluate(substituteQuantities(definition, provider), decimals), errors
// included; a malformed code is reported when the definition is evaluated,
// not when it is read.
class CompiledDefinition {
public:
    CompiledDefinition() = default;
    explicit CompiledDefinition(const QString& definition);

    bool isEmpty() const { return m_definition.isEmpty(); }
    QString substitute(QuantityProvider& provider) const;
    double evaluate(QuantityProvider& provider, int decimals) const;

private:
    QString m_definition;
    QList<QString> m_texts;       // the text before each code, then the rest
    QList<QuantityToken> m_codes;
    bool m_malformed = false;     // a code that cannot be read: substitution reports it
    // The arithmetic read once, a code standing for each slot; nothing when
    // a code is written into a number ("2IA") and only the text can say.
    std::optional<CompiledExpression> m_expression;
};

}  // namespace fees
