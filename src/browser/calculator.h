#pragma once
// The calculator without its window: the expression with its caret and
// selection, the result shown after every change, the values browsers feed
// into it and the writing of the result into a browser's field.

#include <QString>

class Table;

namespace calc {

// The expression evaluated with 10 decimals and written with the comma in
// the shortest form; empty when it is not a valid expression.
QString resultOf(const QString& expression);

class Calculator {
public:
    const QString& expression() const { return m_expression; }
    int caret() const { return m_caret; }
    int selectionStart() const { return m_selStart; }
    int selectionLength() const { return m_selLength; }
    // The result box, kept up to date after every change.
    const QString& result() const { return m_result; }

    // The box as the user left it by typing; the selection is dropped.
    void setExpression(const QString& text, int caret);
    void setCaret(int caret);
    void setSelection(int start, int length);

    // A button's caption, or a fed value, at the caret; it replaces the selection.
    void insert(const QString& text);
    // "Usuń z.": the selection, or the character before the caret.
    void deleteBack();
    // "Usuń w"; closing the calculator does the same.
    void clear();

    // A value from a browser: inserted when it is a number (as the grid
    // shows numbers: "12,50", "-3", "1 200,5"); true when it was.
    bool feed(const QString& value);
    // A value added by a double-click: as feed(), but a number that follows
    // a digit and is not negative comes as "+ " and the number, so that two
    // values in a row make a sum rather than one longer number.
    bool feedTerm(const QString& value);

private:
    void changed();

    QString m_expression;
    int m_caret = 0;
    int m_selStart = 0;
    int m_selLength = 0;
    QString m_result;
};

// "Wstaw": writes the result into the field of the table's current row,
// putting the row into edit mode first. An empty result writes nothing (it
// would erase the field). Returns the message to show when the result does
// not fit the field, else an empty string.
QString writeResult(Table& table, const QString& field, const QString& result);

}  // namespace calc
