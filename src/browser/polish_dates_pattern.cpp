#include "polish_dates_pattern.h"

#include "store/polish_dates.h"

#include <QRegularExpression>
#include <QStringList>

namespace browser {

namespace {

const QRegularExpression& datePattern()
{
    static const QRegularExpression re = [] {
        QStringList months;
        for (int m = 1; m <= 12; ++m)
            months << QRegularExpression::escape(polish::monthName(m))
                   << QRegularExpression::escape(polish::monthNameGenitive(m));
        const QString names = months.join(QLatin1Char('|'));
        const QString pattern = QStringLiteral(
                                    "\\b\\d{1,2}\\.\\d{1,2}\\.\\d{4}\\b"
                                    "|\\b\\d{4}-\\d{1,2}-\\d{1,2}\\b"
                                    "|\\b\\d{1,2}\\.\\d{4}\\b"
                                    "|(?:\\b\\d{1,2}\\s+)?\\b(?:%1)\\s+\\d{4}\\b")
                                    .arg(names);
        return QRegularExpression(pattern, QRegularExpression::CaseInsensitiveOption
                                               | QRegularExpression::UseUnicodePropertiesOption);
    }();
    return re;
}

}  // namespace

QString withoutDates(const QString& text)
{
    QString t = text;
    t.replace(datePattern(), QString());
    // "Obecności za  - grupa" -> "Obecności za - grupa"; "Lista z ," -> "Lista z"
    t.replace(QRegularExpression(QStringLiteral("\\s+")), QStringLiteral(" "));
    t = t.trimmed();
    static const QRegularExpression dangling(QStringLiteral("(?:\\s*[-,;(\\[]\\s*)+$|^(?:\\s*[-,;)\\]]\\s*)+"));
    t.replace(dangling, QString());
    t.replace(QStringLiteral("()"), QString());
    return t.trimmed();
}

}  // namespace browser
