#include "bank_formats.h"

#include "import_format.h"

#include "store/params.h"

namespace import {

namespace {

// Every bank format reads incoming transfers only, looks for the child in
// the title when the payer is a parent, and skips lines without a payer.
const QString incoming = QStringLiteral("TYLKO WPŁYWY=T\nSZUKAJ W TYTULE=T\nOMIJAJ PUSTĄ NAZWĘ=T\n");

QList<BankFormat> makeFormats()
{
    const QString mt940 = QStringLiteral("MT940=T\nKOLUMNY=DBKTX\nSEPARATOR DZIESIĘTNY=,\n") + incoming;
    return {
        {QStringLiteral("mbank-csv"), QStringLiteral("mBank – historia operacji (CSV)"),
         QStringLiteral("KOLUMNY=DXXTKXBX\nSEPARATOR KOLUMN=;\nCUDZYSŁÓW=\"\nSTART PO=#Data operacji\n"
                        "SEPARATOR DZIESIĘTNY=,\nSEPARATOR DATY=-\nFORMAT DATY=yyyy-mm-dd\nROZSZERZENIE=csv\n")
             + incoming},
        {QStringLiteral("mbank-mt940"), QStringLiteral("mBank – wyciąg MT940"), mt940},
        {QStringLiteral("ing-csv"), QStringLiteral("ING – lista transakcji (CSV)"),
         QStringLiteral("KOLUMNY=DXKTXXXXBX\nSEPARATOR KOLUMN=;\nCUDZYSŁÓW=\"\nSTART PO=\"Data transakcji\"\n"
                        "SEPARATOR DZIESIĘTNY=,\nSEPARATOR DATY=-\nFORMAT DATY=yyyy-mm-dd\nROZSZERZENIE=csv\n")
             + incoming},
        {QStringLiteral("ing-mt940"), QStringLiteral("ING – wyciąg MT940"), mt940},
        {QStringLiteral("ing-wirtualne"), QStringLiteral("ING – wpłaty na rachunki wirtualne (CSV)"),
         QStringLiteral("KOLUMNY=DRBKT\nREFERENCJA=DANE1\nSEPARATOR KOLUMN=;\nCUDZYSŁÓW=\"\nSTART=2\n"
                        "SEPARATOR DZIESIĘTNY=,\nSEPARATOR DATY=-\nFORMAT DATY=yyyy-mm-dd\nROZSZERZENIE=csv\n")
             + incoming},
        {QStringLiteral("pko-csv"), QStringLiteral("PKO BP – historia rachunku (CSV)"),
         QStringLiteral("KOLUMNY=DXXBX\nSEPARATOR KOLUMN=,\nCUDZYSŁÓW=\"\nSTART=2\nSEPARATOR DZIESIĘTNY=.\n"
                        "SEPARATOR DATY=-\nFORMAT DATY=yyyy-mm-dd\nETYKIETA K=Nazwa nadawcy:\nETYKIETA T=Tytuł:\n"
                        "ROZSZERZENIE=csv\n")
             + incoming},
        {QStringLiteral("pekao-csv"), QStringLiteral("Pekao – historia operacji (CSV)"),
         QStringLiteral("KOLUMNY=DXKXXXTBX\nSEPARATOR KOLUMN=;\nCUDZYSŁÓW=\"\nSTART=2\nSEPARATOR DZIESIĘTNY=,\n"
                        "SEPARATOR DATY=.\nFORMAT DATY=dd.mm.yyyy\nROZSZERZENIE=csv\n")
             + incoming},
        {QStringLiteral("santander-csv"), QStringLiteral("Santander – historia operacji (CSV)"),
         QStringLiteral("KOLUMNY=DXTXKBX\nSEPARATOR KOLUMN=,\nCUDZYSŁÓW=\"\nSTART=2\nSEPARATOR DZIESIĘTNY=,\n"
                        "SEPARATOR DATY=-\nFORMAT DATY=dd-mm-yyyy\nROZSZERZENIE=csv\n")
             + incoming},
        {QStringLiteral("millennium-csv"), QStringLiteral("Millennium – historia transakcji (CSV)"),
         QStringLiteral("KOLUMNY=XDXXXKTBBXX\nSEPARATOR KOLUMN=,\nCUDZYSŁÓW=\"\nSTART=2\nSEPARATOR DZIESIĘTNY=.\n"
                        "SEPARATOR DATY=-\nFORMAT DATY=yyyy-mm-dd\nROZSZERZENIE=csv\n")
             + incoming},
        {QStringLiteral("elixir-0"), QStringLiteral("Elixir-0 – przelewy przychodzące"),
         QStringLiteral("KOLUMNY=XDBXXXRKXXXT\nSEPARATOR KOLUMN=,\nCUDZYSŁÓW=\"\nSTART=1\nPRZESUNIĘCIE PRZECINKA=2\n"
                        "FORMAT DATY=yyyymmdd\n")
             + incoming},
    };
}

bool isHeader(const QString& line) { return line.startsWith(QLatin1Char('[')); }

}  // namespace

const QList<BankFormat>& bankFormats()
{
    static const QList<BankFormat> formats = makeFormats();
    return formats;
}

const BankFormat* bankFormat(const QString& name)
{
    for (const BankFormat& f : bankFormats())
        if (f.key.compare(name.trimmed(), Qt::CaseInsensitive) == 0
            || f.title.compare(name.trimmed(), Qt::CaseInsensitive) == 0)
            return &f;
    return nullptr;
}

QString bankSection(const BankFormat& format)
{
    return QLatin1Char('[') + paymentsSection() + QStringLiteral("]\n") + format.lines;
}

bool hasSection(const QString& configurationText, const QString& section)
{
    return memoLines(configurationText).contains(QLatin1Char('[') + section + QLatin1Char(']'));
}

QString withSection(const QString& configurationText, const QString& section, const QString& sectionText)
{
    // The options text keeps the line breaks it was written with.
    const QString eol = configurationText.contains(QStringLiteral("\r\n")) ? QStringLiteral("\r\n") : QStringLiteral("\n");
    QStringList lines = memoLines(configurationText);
    QStringList added = memoLines(sectionText);
    const qsizetype at = lines.indexOf(QLatin1Char('[') + section + QLatin1Char(']'));
    if (at < 0) {
        if (!lines.isEmpty() && !lines.last().isEmpty())
            lines << QString();
        lines << added;
    } else {
        qsizetype end = at + 1;
        while (end < lines.size() && !isHeader(lines[end]))
            ++end;
        // Keep one empty line before the next section.
        if (end < lines.size())
            added << QString();
        lines.remove(at, end - at);
        for (qsizetype i = 0; i < added.size(); ++i)
            lines.insert(at + i, added[i]);
    }
    return lines.join(eol) + eol;
}

QString insertBankFormatTitle() { return QStringLiteral("Wstaw format banku"); }

}  // namespace import
