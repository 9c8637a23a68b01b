#include "inform_mail.h"

#include "inform_addressees.h"
#include "mail_link.h"

#include "browser/prompts.h"

namespace inform {

QString hideRecipientsQuestion()
{
    return QStringLiteral("Ukryć adresatów?");
}

bool sendMail(Prompts& prompts, const QStringList& addresses, const QString& subject, const QString& body,
              const UrlOpener& open)
{
    if (addresses.isEmpty()) {
        prompts.showInfo(noAddressesMessage());
        return false;
    }
    mail::Message message;
    message.addresses = addresses;
    message.subject = subject;
    message.body = body;
    if (addresses.size() > 1)
        message.hideRecipients = prompts.askYesNo(hideRecipientsQuestion());
    return mail::openLinks(mail::mailtoLinks(message), prompts, open ? open : mail::openWithDesktop);
}

}  // namespace inform
