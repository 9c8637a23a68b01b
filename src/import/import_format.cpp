#include "import_format.h"

#include "store/config_sections.h"
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

bool ImportFormat::reads(QChar code) const
{
    if (code == QLatin1Char('R') && referenceField.isEmpty())
        return false;
    if (code == QLatin1Char('M') && !debitMark)
        return false;
    return has(code);
}

QString referenceFieldOf(const QString& value, const QString& configurationText)
{
    const QString name = value.trimmed().toUpper();
    for (int n = 1; n <= 4; ++n)
        if (name == QStringLiteral("DANE%1").arg(n))
            return name;
    Parameters captions;
    captions.read(configurationText);
    for (int n = 0; n < 4; ++n)
        if (!captions.dzieciDane[n].isEmpty() && captions.dzieciDane[n].trimmed().compare(value.trimmed(), Qt::CaseInsensitive) == 0)
            return QStringLiteral("DANE%1").arg(n + 1);
    return {};
}

ImportFormat readImportFormat(const QString& configurationText, const QString& section)
{
    const QString header = QLatin1Char('[') + section + QLatin1Char(']');
    const auto entries =
        configSection(memoLines(configurationText), [&](const QString& line) { return line == header; });
    if (!entries)
        throw Error(noFormatMessage());

    // The last value of a key wins, except "B" whose lines accumulate; of
    // the reader keys the one written last decides.
    QHash<QString, QString> values;
    QList<AmountSlotLine> amounts;
    int spreadsheetAt = -1, htmlAt = -1, mt940At = -1;
    for (int i = 0; i < entries->size(); ++i) {
        const auto& [key, value] = (*entries)[i];
        if (key == QLatin1String("B")) {
            AmountSlotLine slot;
            slot.text = value;
            slot.settlement = value.startsWith(QLatin1Char('-'));
            slot.component = value.mid(1, 40);
            amounts << slot;
            continue;
        }
        if (key == QStringLiteral("ARKUSZ KALKULACYJNY"))
            spreadsheetAt = i;
        else if (key == QStringLiteral("TABELA HTML"))
            htmlAt = i;
        else if (key == QStringLiteral("MT940"))
            mt940At = flag(value) ? i : -1;
        values.insert(key, value);
    }
    if (!values.contains(QStringLiteral("KOLUMNY")))
        throw Error(noFormatMessage());

    ImportFormat f;
    f.columns = values.value(QStringLiteral("KOLUMNY"));
    f.amountLines = amounts;
    auto has = [&](const char* key) { return values.contains(QString::fromUtf8(key)); };
    auto get = [&](const char* key) { return values.value(QString::fromUtf8(key)); };

    if (get("STRONA KODOWA").trimmed().compare(QLatin1String("UTF-8"), Qt::CaseInsensitive) == 0
        || get("STRONA KODOWA").trimmed().compare(QLatin1String("UTF8"), Qt::CaseInsensitive) == 0) {
        f.utf8 = true;
    } else if (has("STRONA KODOWA")) {
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

    f.quote = firstChar(get("CUDZYSŁÓW"));
    f.searchTitle = flag(get("SZUKAJ W TYTULE"));
    f.incomingOnly = flag(get("TYLKO WPŁYWY"));
    if (has("ODPOWIEDNIK MINUS"))
        f.debitMark = get("ODPOWIEDNIK MINUS").isEmpty() ? QStringLiteral("D") : get("ODPOWIEDNIK MINUS");
    if (has("REFERENCJA")) {
        f.referenceField = referenceFieldOf(get("REFERENCJA"), configurationText);
        if (f.referenceField.isEmpty())
            throw Error(QStringLiteral("„%1” nie jest polem danych dziecka (REFERENCJA)").arg(get("REFERENCJA")));
    }
    if (has("START PO") && !get("START PO").isEmpty())
        f.startAfter = get("START PO");
    f.labelName = get("ETYKIETA K");
    f.labelDescription = get("ETYKIETA T");
    f.labelPesel = get("ETYKIETA P");

    // The latest of the reader keys decides the file kind.
    if (mt940At > spreadsheetAt && mt940At > htmlAt) {
        f.fileKind = FileKind::Mt940;
    } else if (spreadsheetAt > htmlAt) {
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
