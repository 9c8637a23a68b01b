#pragma once
// An information sent by e-mail through the desktop's mail program: one
// address goes as it is, several are shown or hidden (bcc) as the user
// answers "Ukryć adresatów?".

#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>

class Prompts;

namespace inform {

using UrlOpener = std::function<bool(const QUrl&)>;

// "Ukryć adresatów?"
QString hideRecipientsQuestion();

// Opens the message for the addresses (already each taken once) with
// `open`; without addresses says so (noAddressesMessage()). False when
// nothing was opened.
bool sendMail(Prompts& prompts, const QStringList& addresses, const QString& subject, const QString& body,
              const UrlOpener& open);

}  // namespace inform
