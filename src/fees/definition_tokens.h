#pragma once
// The definition editor without its window: a method's definition as a row
// of tokens with one current element, and the choices of the button panel
// (quantity, extra class, presence mark) that insert quantity codes.
//
// The row holds tokens 0 … n-1 and the end marker at n; new tokens go just
// before the current element and do not become current themselves.

#include <QList>
#include <QString>
#include <QStringList>

namespace fees {

// An extra class as the editor lists it (ZAJDOD in KOLEJ order).
struct ExtraClass {
    int code = 0;
    QString name;
};

struct DefinitionToken {
    QString code;         // its text in the definition: "7", "IE", "IP[3,2]"
    QString description;  // what its box shows
};

// The longest definition the method table stores.
inline constexpr int kMaxDefinitionLength = 200;

// The characters that are tokens by themselves: digits, operators, brackets
// and the decimal separator (the comma on every machine).
bool isDefinitionChar(QChar c);

// Empty when the definition fits the method table, else the message refusing it.
QString definitionLengthRefusal(const QString& definition);

// The 22 captions of the quantity list, in the order of quantityLetters.
const QStringList& quantityCaptions();
// The presence marks of IP: "obecności", "nieobecności", "zgłosz. nieobecn.".
const QStringList& presenceMarkNames();

class DefinitionTokens {
public:
    explicit DefinitionTokens(QList<ExtraClass> classes = {});

    // Reads a stored definition: characters of the token set and quantity
    // codes become tokens, anything else is skipped. The end marker is current.
    void load(const QString& definition);
    // The codes of all tokens, left to right.
    QString definition() const;
    // Empty when the definition may be stored, else the message refusing it.
    QString refusal() const;

    const QList<DefinitionToken>& tokens() const { return m_tokens; }
    int count() const { return int(m_tokens.size()); }
    // 0 … count(); count() is the end marker.
    int current() const { return m_current; }
    void setCurrent(int index);
    bool endMarkerCurrent() const { return m_current == count(); }

    // The box text of a code: a blank and its description.
    QString describe(const QString& code) const;

    // Inserts one character of the token set; false for any other.
    bool insertChar(QChar c);
    // Deletes the current token ("Usuń pozycje", Backspace); the end marker
    // becomes current. False when the end marker was current.
    bool removeCurrent();

    // --- the button panel's choices ------------------------------------------
    const QList<ExtraClass>& classes() const { return m_classes; }
    // 0 … 21 in the quantity list.
    int chosenQuantity() const { return m_quantity; }
    void chooseQuantity(int index);
    // Whether the chosen quantity needs an extra class (IO … IR), and a mark (IP).
    bool classListShown() const;
    bool markListShown() const;
    // Index into classes(), -1 for none.
    int chosenClass() const { return m_class; }
    void chooseClass(int index);
    // 0 present, 1 absent, 2 notified absence.
    int chosenMark() const { return m_mark; }
    void chooseMark(int index);
    // The code the insert button would insert; empty when a class quantity
    // has no class chosen.
    QString chosenCode() const;
    // The insert button: empty on success, else why nothing was inserted.
    QString insertChosen();

    // A key typed while a token box or the end marker has the focus: a
    // character of the token set, a quantity letter in either case (chosen
    // in the list and inserted), or '\b' deleting the current token. An
    // empty string when the key was handled or ignored; else a message.
    QString typedKey(QChar key, bool* handled = nullptr);

private:
    void insertCode(const QString& code);
    QString className(int code) const;

    QList<ExtraClass> m_classes;
    QList<DefinitionToken> m_tokens;
    int m_current = 0;
    int m_quantity = 0;
    int m_class = -1;
    int m_mark = 0;
};

}  // namespace fees
