#include "child_password.h"

#include "browser/area_registry.h"
#include "browser/prompts.h"
#include "browser/run_context.h"
#include "shell/main_commands.h"
#include "store/password_digest.h"
#include "store/table.h"

namespace child_password {

QString identifier(int clientNumber, int child)
{
    return QString::number(clientNumber) + QLatin1Char('-') + QString::number(child);
}

QString addedMessage(const QString& identifier, const QString& password)
{
    return QStringLiteral("Dodano dostęp przez internet\r\nIdentyfikator: ") + identifier
        + QStringLiteral("\r\nHasło: ") + password;
}

QString removedMessage()
{
    return QStringLiteral("Odebrano dostęp przez internet");
}

QString sendQuestion()
{
    return QStringLiteral("Wysłać poprawkę na serwer internetowy?");
}

void set(RunContext& context, Table& children)
{
    if (!children.isOpen() || (children.isEmpty() && children.state() != Table::State::Insert))
        return;
    const QString field = QStringLiteral("HASLO");
    const bool hadPassword = !children.isNull(field);
    QString answer = hadPassword ? mask() : QString();
    if (!context.prompts.askText(QStringLiteral("Id w internecie"), QStringLiteral("Hasło"), answer))
        return;
    // The mask is not a password: confirming it untouched changes nothing.
    if (hadPassword && answer == mask())
        return;

    const bool wasEditing = children.isEditing();
    children.edit();
    try {
        if (answer.isEmpty())
            children.clear(field);
        else
            children.setValue(field, digest::internetPassword(answer));
        children.post();
    } catch (...) {
        if (!wasEditing)
            children.cancel();
        throw;
    }

    const int kod = children.asInt(QStringLiteral("KOD"));
    if (answer.isEmpty())
        context.prompts.showInfo(removedMessage());
    else
        context.prompts.showInfo(addedMessage(identifier(context.institution.clientNumber, kod), answer));

    if (context.areas.has(mainmenu::syncArea()) && context.prompts.askYesNo(sendQuestion()))
        context.areas.open(mainmenu::syncArea(), context, {{QStringLiteral("mode"), 2}, {QStringLiteral("key"), kod}});
}

}  // namespace child_password
