#include "window_title.h"

#include "polish_dates_pattern.h"

#include <QRegularExpression>

namespace browser {

QString baseTitle(OpenedFrom from, const QString& text, const QString& dataSetName)
{
    QString t;
    switch (from) {
    case OpenedFrom::MenuCommand:
    case OpenedFrom::Button:
        t = text;
        break;
    case OpenedFrom::PickField:
        t = text + QStringLiteral(" - WYBÓR");
        break;
    case OpenedFrom::Other:
        t = dataSetName;
        break;
    }
    const qsizetype amp = t.indexOf(QLatin1Char('&'));
    if (amp >= 0)
        t.remove(amp, 1);
    return t;
}

QString settingsKey(const QString& title)
{
    QString key = title;
    const qsizetype colon = key.indexOf(QLatin1Char(':'));
    if (colon >= 0)
        key.truncate(colon);
    const QString stripped = withoutDates(key);
    // A title that is nothing but a date keeps it rather than an empty key.
    return stripped.isEmpty() ? key.trimmed() : stripped;
}

QString detailTitle(const QString& base, const QString& masterCaption)
{
    return masterCaption.isEmpty() ? base : base + QLatin1Char(' ') + masterCaption;
}

bool hasDataSheet(const QString& title)
{
    return !title.startsWith(QStringLiteral("Lista obecności")) && !title.startsWith(QStringLiteral("Naliczenia dodatkowe"));
}

}  // namespace browser
