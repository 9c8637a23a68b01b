#pragma once
// E-mail handed to the desktop's mail program as "mailto:" links: the
// addresses of children or of an information's addressees, with a subject
// and a body. Every text is URL-encoded, and a list of addresses too long
// for one link is split into several messages rather than cut.

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>

class Prompts;

namespace mail {

// The addresses trimmed, empty ones dropped, each taken once: compared as
// whole addresses without regard to case ("a@b.pl" does not swallow
// "a@b.pl.com"); the first spelling and the order are kept.
QStringList uniqueAddresses(const QStringList& addresses);

struct Message {
    QStringList addresses;        // already unique
    bool hideRecipients = false;  // the addresses go to "bcc"
    QString subject;              // empty: none
    QString body;                 // empty: none
};

// What mail programs accept in one link, with room to spare.
constexpr int kMaxLinkLength = 2000;

// The links of a message: one when everything fits into maxLength
// characters, otherwise the addresses spread over several links, each with
// the subject and body. No addresses: no links.
QList<QUrl> mailtoLinks(const Message& message, int maxLength = kMaxLinkLength);

// Opens each link with `open` (the desktop's handler in the program);
// a link that cannot be opened is reported through `prompts` and ends it.
bool openLinks(const QList<QUrl>& links, Prompts& prompts, const std::function<bool(const QUrl&)>& open);

// The desktop's handler for "mailto:" links (QDesktopServices).
bool openWithDesktop(const QUrl& link);

}  // namespace mail
