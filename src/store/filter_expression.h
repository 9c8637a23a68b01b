#pragma once
// Row filters written as text, as the modules use them: "PIERW=NULL",
// "TYP = '4'", "AKTYWNY='T' and KLASA<>0". Comparisons of a field with a
// literal (NULL, 'text', number), joined by AND / OR (AND binds tighter).

#include <QString>
#include <QVariant>

#include <functional>

class FilterExpression {
public:
    FilterExpression() = default;
    // Throws Error for text it cannot read.
    static FilterExpression parse(const QString& text);

    bool isEmpty() const { return m_terms.isEmpty(); }
    bool matches(const std::function<QVariant(const QString& field)>& valueOf) const;

private:
    struct Condition {
        QString field;
        QString op;  // = <> < > <= >=
        QVariant literal;  // invalid = NULL
    };
    // OR of AND-groups
    QList<QList<Condition>> m_terms;
};
