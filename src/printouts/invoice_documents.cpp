#include "invoice_documents.h"

#include "grid_printout.h"

#include "fees/invoice_number.h"
#include "store/database.h"
#include "store/money.h"
#include "store/params.h"
#include "store/query.h"

#include <QSet>

#include <algorithm>
#include <map>

namespace printouts {

namespace {

struct Month {
    int year = 0;
    int month = 0;
};

struct Fakt {
    int id = 0;
    int kod = 0;
    int numer = 0;
    int osoba = 0;
    QDate wyst;
    QDate termin;
    QString tytul;
    int pierw = 0;
};

struct Charge {
    int idf = 0;
    int lpf = 0;
    int osoba = 0;
    QString rozlicz;
    int medium = 0;
    std::optional<double> ilosc;
    QString jm;
    std::optional<double> cena;
    double wartosc = 0;
    int stawka = 0;
    double vat = 0;
    int dot = 0;
    int id = 0;
    int kod = 0;
};

struct Rate {
    int kod = 0;
    QString name;
};

std::optional<double> optionalDouble(const QVariant& v)
{
    if (!v.isValid() || v.isNull())
        return std::nullopt;
    return v.toDouble();
}

QDate dateOf(const QVariant& v)
{
    if (v.typeId() == QMetaType::QDate)
        return v.toDate();
    if (v.typeId() == QMetaType::QDateTime)
        return v.toDateTime().date();
    return QDate::fromString(v.toString().left(10), Qt::ISODate);
}

struct Store {
    QHash<int, Month> months;
    QHash<int, QString> media;
    QList<Rate> rates;
    QHash<int, Fakt> fakt;  // the month's documents and the ones they correct
    QHash<int, QList<Charge>> charges;  // by IDF, approved only
};

const QString monthsFilter = QStringLiteral("KOD=:M1 or ID in (select PIERW from FAKT where KOD=:M2 and PIERW>0)");

Store readStore(Database& db, int month)
{
    Store s;
    {
        Query q(db, QStringLiteral("select KOD, ROK, MIES from MIESIACE"));
        q.exec();
        while (q.next())
            s.months.insert(q.value(0).toInt(), {q.value(1).toInt(), q.value(2).toInt()});
    }
    {
        Query q(db, QStringLiteral("select KOD, NAZWA from MEDIA"));
        q.exec();
        while (q.next())
            s.media.insert(q.value(0).toInt(), q.value(1).toString());
    }
    if (db.hasTable(QStringLiteral("STAVAT"))) {
        Query q(db, QStringLiteral("select KOD, NAZWA from STAVAT order by KOD"));
        q.exec();
        while (q.next())
            s.rates.append({q.value(0).toInt(), q.value(1).toString()});
    }
    if (!db.hasTable(QStringLiteral("FAKT")) || !db.hasColumn(QStringLiteral("NALICZ"), QStringLiteral("IDF")))
        return s;
    {
        Query q(db, QStringLiteral("select ID, KOD, NUMER, OSOBA, WYST, TERMIN, TYTUL, PIERW from FAKT where ")
                        + monthsFilter);
        q.bind(QStringLiteral("M1"), month).bind(QStringLiteral("M2"), month).exec();
        while (q.next()) {
            Fakt f;
            f.id = q.value(0).toInt();
            f.kod = q.value(1).toInt();
            f.numer = q.value(2).toInt();
            f.osoba = q.value(3).toInt();
            f.wyst = dateOf(q.value(4));
            f.termin = dateOf(q.value(5));
            f.tytul = q.value(6).toString();
            f.pierw = q.value(7).toInt();
            s.fakt.insert(f.id, f);
        }
    }
    {
        Query q(db, QStringLiteral("select IDF, LPF, OSOBA, ROZLICZ, MEDIUM, ILOSC, JM, CENA, WARTOSC, STAWKA, VAT, DOT, "
                                   "ID, KOD from NALICZ where TYP='1' and IDF in (select ID from FAKT where ")
                        + monthsFilter + QStringLiteral(")"));
        q.bind(QStringLiteral("M1"), month).bind(QStringLiteral("M2"), month).exec();
        while (q.next()) {
            Charge c;
            c.idf = q.value(0).toInt();
            c.lpf = q.value(1).toInt();
            c.osoba = q.value(2).toInt();
            c.rozlicz = q.value(3).toString();
            c.medium = q.value(4).toInt();
            c.ilosc = optionalDouble(q.value(5));
            c.jm = q.value(6).toString();
            c.cena = optionalDouble(q.value(7));
            c.wartosc = q.value(8).toDouble();
            c.stawka = q.value(9).toInt();
            c.vat = q.value(10).toDouble();
            c.dot = q.value(11).toInt();
            c.id = q.value(12).toInt();
            c.kod = q.value(13).toInt();
            s.charges[c.idf].append(c);
        }
    }
    for (QList<Charge>& list : s.charges)
        std::sort(list.begin(), list.end(), [](const Charge& a, const Charge& b) {
            if (a.lpf != b.lpf)
                return a.lpf < b.lpf;
            if (a.rozlicz != b.rozlicz)
                return a.rozlicz < b.rozlicz;
            return a.id < b.id;
        });
    return s;
}

bool passes(const InvoiceSelection& selection, const ChildAddress& child)
{
    if (selection.child)
        return child.kod == *selection.child;
    if (!selection.inactive && !child.aktywny)
        return false;
    if (selection.groups && !selection.groups->contains(child.klasa))
        return false;
    if (selection.chosen && !selection.chosen->contains(child.kod))
        return false;
    return true;
}

class Builder {
public:
    Builder(const Store& store, const InvoiceDocuments& out, const QString& numberFormat)
        : m_store(store)
        , m_out(out)
        , m_format(numberFormat)
    {
    }

    QString documentTitle(const Fakt& f) const
    {
        return f.pierw > 0 ? QStringLiteral("Faktura korygująca VAT") : QStringLiteral("Faktura VAT");
    }

    QString numberText(const Fakt& f) const
    {
        const Month m = m_store.months.value(f.kod);
        return fees::invoiceNumberText(f.numer, m.year, m.month, m_format);
    }

    QString childName(int kod) const { return m_out.children.value(kod).nazwa; }

    QString serviceText(const Charge& c, int addressee) const
    {
        const int monthKod = c.dot != 0 ? std::abs(c.dot) : c.kod;
        const auto month = m_store.months.constFind(monthKod);
        QString text = m_store.media.value(c.medium) + QLatin1Char(' ');
        if (month != m_store.months.cend())
            text += romanMonth(month->month) + QLatin1Char(' ') + QString::number(month->year);
        else
            text += QLatin1Char(' ');
        if (c.osoba != addressee)
            text += QStringLiteral(" (") + childName(c.osoba) + QLatin1Char(')');
        return text;
    }

    InvoiceSection section(QChar type, const QString& heading, bool showsItems, const QList<Charge>& charges,
                           int addressee, bool onlyPositioned) const
    {
        InvoiceSection s;
        s.type = type;
        s.heading = heading;
        s.showsItems = showsItems;
        std::map<int, VatSums> byRate;
        VatSums negative;
        for (const Charge& c : charges) {
            if (onlyPositioned && c.lpf <= 0)
                continue;
            InvoiceLine line;
            line.position = c.lpf;
            line.service = serviceText(c, addressee);
            line.quantity = c.ilosc;
            line.unit = c.jm;
            line.price = c.cena;
            line.gross = c.wartosc;
            line.vat = c.vat;
            line.rate = c.stawka;
            line.rateName = QStringLiteral(" ");
            for (const Rate& r : m_store.rates)
                if (r.kod == c.stawka)
                    line.rateName = r.name;
            s.lines.append(line);
            s.total.add(c.wartosc, c.vat);
            if (c.stawka < 0)
                negative.add(c.wartosc, c.vat);
            else
                byRate[c.stawka].add(c.wartosc, c.vat);
        }
        auto addVatLine = [&](const QString& name, const VatSums& sums) {
            if (sums.isZero())
                return;
            s.vatLines.append({name, sums, s.vatLines.isEmpty()});
        };
        addVatLine(QString(), negative);
        for (const Rate& r : m_store.rates)
            addVatLine(r.name, byRate[r.kod]);
        return s;
    }

    std::optional<InvoiceDocument> document(const Fakt& f) const
    {
        InvoiceDocument d;
        d.id = f.id;
        d.number = f.numer;
        const Month m = m_store.months.value(f.kod);
        d.year = m.year;
        d.month = m.month;
        d.issued = f.wyst;
        d.due = f.termin;
        d.addressee = f.osoba;
        d.title = f.tytul;
        d.correction = f.pierw > 0;
        d.documentTitle = documentTitle(f);
        d.numberText = numberText(f);
        const QList<Charge> own = m_store.charges.value(f.id);
        const auto original = d.correction ? m_store.fakt.constFind(f.pierw) : m_store.fakt.cend();
        if (original != m_store.fakt.cend()) {
            d.originalNumberText = numberText(*original);
            d.sections.append(section(QLatin1Char('A'), QString(), false, {}, f.osoba, false));
            const QList<Charge> before = m_store.charges.value(original->id);
            if (!before.isEmpty())
                d.sections.append(section(QLatin1Char('B'),
                                          documentTitle(*original) + QStringLiteral(" nr: ") + numberText(*original)
                                              + QStringLiteral(" (") + original->tytul + QLatin1Char(')'),
                                          true, before, original->osoba, false));
        }
        if (d.correction) {
            const bool anyPositioned = std::any_of(own.begin(), own.end(), [](const Charge& c) { return c.lpf > 0; });
            if (anyPositioned)
                d.sections.append(section(QLatin1Char('C'),
                                          d.numberField() + QStringLiteral(" (") + f.tytul + QLatin1Char(')'), true,
                                          own, f.osoba, true));
        }
        if (!own.isEmpty())
            d.sections.append(section(QLatin1Char('D'),
                                      (d.correction ? QStringLiteral("Różnica") : f.tytul) + QStringLiteral(" - ")
                                          + childName(f.osoba),
                                      !d.correction, own, f.osoba, false));
        if (d.sections.isEmpty())
            return std::nullopt;
        for (const InvoiceSection& s : d.sections)
            if (s.type != QLatin1Char('A'))
                d.total = s.total.gross;
        return d;
    }

private:
    const Store& m_store;
    const InvoiceDocuments& m_out;
    QString m_format;
};

}  // namespace

bool VatSums::isZero() const
{
    return money::round(net) == 0 && money::round(vat) == 0 && money::round(gross) == 0;
}

void VatSums::add(double lineGross, double lineVat)
{
    net += lineGross - lineVat;
    vat += lineVat;
    gross += lineGross;
}

QString romanMonth(int month)
{
    static const char* names[] = {"I", "II", "III", "IV", "V", "VI", "VII", "VIII", "IX", "X", "XI", "XII"};
    return month >= 1 && month <= 12 ? QString::fromLatin1(names[month - 1]) : QString();
}

QString quantityFormat(int decimals)
{
    return QStringLiteral("#0.") + QString(qBound(0, decimals, 6), QLatin1Char('#'));
}

InvoiceDocuments readInvoiceDocuments(Database& db, const InvoiceSelection& selection)
{
    InvoiceDocuments out;
    Parameters params;
    params.load(db);
    out.quantityDecimals = qBound(0, params.iloscPoPrzecinku, 6);
    out.institution = Institution::read(db);
    out.footerLine = report::footerLine(db);
    out.copyLabel = copyLabelText(selection.copyLabel, selection.today);
    out.children = readChildAddresses(db);

    const Store store = readStore(db, selection.month);
    QList<Fakt> printed;
    for (const Fakt& f : store.fakt) {
        const auto child = out.children.constFind(f.osoba);
        if (f.kod == selection.month && child != out.children.cend() && passes(selection, *child))
            printed.append(f);
    }
    std::sort(printed.begin(), printed.end(), [](const Fakt& a, const Fakt& b) {
        return a.numer != b.numer ? a.numer < b.numer : a.id < b.id;
    });
    const Builder builder(store, out, params.fakturyFormat);
    for (const Fakt& f : printed)
        if (std::optional<InvoiceDocument> d = builder.document(f))
            out.documents.append(std::move(*d));
    return out;
}

}  // namespace printouts
