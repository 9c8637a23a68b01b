#include "import_format.h"

#include "store/error.h"
#include "store/params.h"

#include <QHash>

namespace import {

QString chargesSection() { return QStringLiteral("IMPORT NALICZEŃ"); }
QString paymentsSection() { return QStringLiteral("IMPORT WPŁAT"); }
QString attendanceSection() { return QStringLiteral("IMPORT OBECNOŚCI"); }

QString noFormatMessage() { return QStringLiteral("Brak zdefiniowanego formatu importu"); }

QString notWholeNumberMessage(const QString& text)
{
    return QStringLiteral("„%1” nie jest poprawną liczbą całkowitą").arg(text);
}

QString ImportFormat::fileFilter() const
{
    if (extension.isEmpty())
        return {};
    return QStringLiteral("Pliki %1|*.%1").arg(extension);
}

namespace {

int wholeNumber(const QString& text)
{
    bool ok = false;
    const int n = text.trimmed().toInt(&ok, 10);
    if (!ok)
        throw Error(notWholeNumberMessage(text));
    return n;
}

// Flags and one-character keys need the value's first character; an empty
// value counts as if the key were absent.
bool flag(const QString& v) { return v.startsWith(QLatin1Char('T')); }

std::optional<QChar> firstChar(const QString& v)
{
    if (v.isEmpty())
        return std::nullopt;
    return v.front();
}

}  // namespace

ImportFormat readImportFormat(const QString& configurationText, const QString& section)
{
    const QStringList lines = memoLines(configurationText);
    const QString header = QLatin1Char('[') + section + QLatin1Char(']');
    qsizetype i = lines.indexOf(header);
    if (i < 0)
        throw Error(noFormatMessage());

    // Keys are matched upper-cased but untrimmed; the last value of a key
    // wins, except "B" whose lines accumulate.
    QHash<QString, QString> values;
    QList<AmountSlotLine> amounts;
    int spreadsheetAt = -1, htmlAt = -1;
    for (++i; i < lines.size(); ++i) {
        const QString& line = lines[i];
        if (line.isEmpty())
            continue;
        if (line.startsWith(QLatin1Char('[')))
            break;
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        const QString key = (eq < 0 ? line : line.left(eq)).toUpper();
        const QString value = eq < 0 ? QString() : line.mid(eq + 1);
        if (key == QLatin1String("B")) {
            AmountSlotLine slot;
            slot.text = value;
            slot.settlement = value.startsWith(QLatin1Char('-'));
            slot.component = value.mid(1, 40);
            amounts << slot;
            continue;
        }
        if (key == QStringLiteral("ARKUSZ KALKULACYJNY"))
            spreadsheetAt = int(i);
        else if (key == QStringLiteral("TABELA HTML"))
            htmlAt = int(i);
        values.insert(key, value);
    }
    if (!values.contains(QStringLiteral("KOLUMNY")))
        throw Error(noFormatMessage());

    ImportFormat f;
    f.columns = values.value(QStringLiteral("KOLUMNY"));
    f.amountLines = amounts;
    auto has = [&](const char* key) { return values.contains(QString::fromUtf8(key)); };
    auto get = [&](const char* key) { return values.value(QString::fromUtf8(key)); };

    if (has("STRONA KODOWA")) {
        const int page = wholeNumber(get("STRONA KODOWA"));
        if (page < 0 || page > 20)
            throw Error(QStringLiteral("Nieznana strona kodowa %1 (dozwolone 0–20)").arg(page));
        f.codePage = page;
    }
    if (has("START"))
        f.start = wholeNumber(get("START"));
    if (!get("ROSNĄCO").isEmpty())
        f.descending = get("ROSNĄCO").startsWith(QLatin1Char('N'));
    if (has("SEPARATOR KOLUMN"))
        f.separator = get("SEPARATOR KOLUMN");
    if (has("PRZESUNIĘCIE PRZECINKA"))
        f.commaShift = wholeNumber(get("PRZESUNIĘCIE PRZECINKA"));
    f.decimalSeparator = firstChar(get("SEPARATOR DZIESIĘTNY"));
    f.thousandsSeparator = firstChar(get("SEPARATOR TYSIĘCY"));
    f.dateSeparator = firstChar(get("SEPARATOR DATY"));
    f.dateFormat = get("FORMAT DATY");
    f.settlementNegative = flag(get("ROZLICZENIE NA MINUS"));
    f.skipFreeDays = flag(get("OMIJAJ DNI WOLNE"));
    if (has("ODPOWIEDNIK T"))
        f.markPresent = get("ODPOWIEDNIK T");
    if (has("ODPOWIEDNIK N"))
        f.markAbsent = get("ODPOWIEDNIK N");
    if (has("ODPOWIEDNIK Z"))
        f.markNotified = get("ODPOWIEDNIK Z");
    f.peselMarker = get("PESEL W NAZWIE");
    f.folder = get("KATALOG");
    f.extension = get("ROZSZERZENIE");
    f.okForPesel = flag(get("OK DLA PESEL"));
    f.okForName = flag(get("OK DLA NAZWA"));
    f.skipEmptyName = flag(get("OMIJAJ PUSTĄ NAZWĘ"));

    // The later of the two keys decides the file kind.
    if (spreadsheetAt > htmlAt) {
        f.fileKind = FileKind::Spreadsheet;
        f.sheetName = get("ARKUSZ KALKULACYJNY");
    } else if (htmlAt >= 0) {
        f.fileKind = FileKind::Html;
        bool ok = false;
        const int n = get("TABELA HTML").trimmed().toInt(&ok);
        f.htmlTable = ok && n >= 1 ? n : 1;
    }

    if (f.separator.isEmpty()) {
        const QString list = get("SZEROKOŚĆ KOLUMN");
        if (!list.isEmpty())
            for (const QString& w : list.split(QLatin1Char(',')))
                f.widths << wholeNumber(w);
        if (f.widths.size() < f.columns.size())
            throw Error(QStringLiteral("„SZEROKOŚĆ KOLUMN” podaje %1 szerokości dla %2 kolumn")
                            .arg(f.widths.size())
                            .arg(f.columns.size()));
    }
    return f;
}

}  // namespace import
