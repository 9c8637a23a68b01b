#include "mail_link.h"

#include "browser/prompts.h"

#include <QDesktopServices>
#include <QSet>

namespace mail {

QStringList uniqueAddresses(const QStringList& addresses)
{
    QStringList unique;
    QSet<QString> seen;
    for (const QString& raw : addresses) {
        const QString address = raw.trimmed();
        if (address.isEmpty())
            continue;
        const QString key = address.toLower();
        if (seen.contains(key))
            continue;
        seen.insert(key);
        unique << address;
    }
    return unique;
}

namespace {

QString encoded(const QString& text)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(text));
}

// The part after the addresses: "?bcc=…&subject=…&body=…" without the
// addresses themselves, which the caller puts in.
QString linkText(const QStringList& addresses, const Message& message)
{
    // "@" stays readable; everything else that is not plain is encoded.
    QStringList parts;
    for (const QString& a : addresses)
        parts << QString::fromLatin1(QUrl::toPercentEncoding(a, "@"));
    const QString list = parts.join(QLatin1Char(';'));
    QStringList query;
    QString text = QStringLiteral("mailto:");
    if (message.hideRecipients)
        query << QStringLiteral("bcc=") + list;
    else
        text += list;
    if (!message.subject.isEmpty())
        query << QStringLiteral("subject=") + encoded(message.subject);
    if (!message.body.isEmpty())
        query << QStringLiteral("body=") + encoded(message.body);
    if (!query.isEmpty())
        text += QLatin1Char('?') + query.join(QLatin1Char('&'));
    return text;
}

QUrl toUrl(const QString& text)
{
    return QUrl(text, QUrl::StrictMode);
}

}  // namespace

QList<QUrl> mailtoLinks(const Message& message, int maxLength)
{
    QList<QUrl> links;
    QStringList batch;
    for (const QString& address : message.addresses) {
        QStringList tried = batch;
        tried << address;
        // A single address too long with the text still goes alone: the
        // mail program decides, nothing is dropped.
        if (!batch.isEmpty() && linkText(tried, message).size() > maxLength) {
            links << toUrl(linkText(batch, message));
            batch = {address};
        } else {
            batch = tried;
        }
    }
    if (!batch.isEmpty())
        links << toUrl(linkText(batch, message));
    return links;
}

bool openLinks(const QList<QUrl>& links, Prompts& prompts, const std::function<bool(const QUrl&)>& open)
{
    for (const QUrl& link : links) {
        if (!open(link)) {
            prompts.showError(QStringLiteral("Nie można otworzyć programu pocztowego dla adresu:\n")
                              + link.toString().left(200));
            return false;
        }
    }
    return true;
}

bool openWithDesktop(const QUrl& link)
{
    return QDesktopServices::openUrl(link);
}

}  // namespace mail
