#pragma once
// "Hasło w internecie": gives the current child of a DZIECI cursor an
// internet password, or takes it away.

#include <QString>

struct RunContext;
class Table;

namespace child_password {

// The preset that stands for an existing password.
inline QString mask() { return QStringLiteral("******"); }

// Asks the password and stores its digest in HASLO (empty: no access),
// then tells the identifier and offers to send the change to the web
// service when the synchronisation exists. Confirming the untouched mask
// keeps the password it stands for. Throws Error when the save is refused.
void set(RunContext& context, Table& children);

// "57-312": the client number and the child's code.
QString identifier(int clientNumber, int child);

QString addedMessage(const QString& identifier, const QString& password);
QString removedMessage();  // "Odebrano dostęp przez internet"
QString sendQuestion();    // "Wysłać poprawkę na serwer internetowy?"

}  // namespace child_password
