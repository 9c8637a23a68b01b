#include "template_field_values.h"

#include "child_code.h"

#include "store/database.h"
#include "store/polish_dates.h"
#include "store/query.h"

namespace printouts {

namespace {

const QString crlf = QStringLiteral("\r\n");

QString joined(const QString& a, const QString& b)
{
    return a + QLatin1Char(' ') + b;
}

QString address(const ChildAddress& c)
{
    return joined(c.przedul, c.ulica) + crlf + joined(c.kodpocz, c.miasto);
}

QString correspondenceName(const ChildAddress& c)
{
    return c.nazwakor.isEmpty() ? c.nazwa : c.nazwakor;
}

// Each line falls back to the home address on its own.
QString correspondenceAddress(const ChildAddress& c)
{
    const QString street = c.ulicakor.isEmpty() ? joined(c.przedul, c.ulica) : joined(c.przedulkor, c.ulicakor);
    const QString town = c.miastokor.isEmpty() ? joined(c.kodpocz, c.miasto) : joined(c.kodpoczkor, c.miastokor);
    return street + crlf + town;
}

}  // namespace

QHash<int, ChildAddress> readChildAddresses(Database& db)
{
    QHash<int, ChildAddress> children;
    Query query(db, QStringLiteral("select KOD, NAZWA, PRZEDUL, ULICA, KODPOCZ, MIASTO, PESEL, NAZWAKOR, PRZEDULKOR, "
                                   "ULICAKOR, KODPOCZKOR, MIASTOKOR, DANE1, DANE2, KLASA, AKTYWNY from DZIECI"));
    query.exec();
    while (query.next()) {
        ChildAddress c;
        c.kod = query.value(0).toInt();
        c.nazwa = query.value(1).toString();
        c.przedul = query.value(2).toString();
        c.ulica = query.value(3).toString();
        c.kodpocz = query.value(4).toString();
        c.miasto = query.value(5).toString();
        c.pesel = query.value(6).toString();
        c.nazwakor = query.value(7).toString();
        c.przedulkor = query.value(8).toString();
        c.ulicakor = query.value(9).toString();
        c.kodpoczkor = query.value(10).toString();
        c.miastokor = query.value(11).toString();
        c.dane1 = query.value(12).toString();
        c.dane2 = query.value(13).toString();
        c.klasa = query.value(14).toInt();
        c.aktywny = query.value(15).toString() != QLatin1String("N");
        children.insert(c.kod, c);
    }
    return children;
}

bool isChildField(const QString& field)
{
    static const QStringList names{
        QStringLiteral("Nazwa"),        QStringLiteral("Adres"),          QStringLiteral("PESEL"),
        QStringLiteral("Nazwa kores."), QStringLiteral("Adres kores."),   QStringLiteral("Nazwa i adres kores."),
        QStringLiteral("Dane 1"),       QStringLiteral("Dane 2"),         QStringLiteral("Nazwa dzielona"),
        QStringLiteral("Kod"),          QStringLiteral("Kod kreskowy"),
    };
    return names.contains(field);
}

std::optional<QString> childFieldValue(const QString& field, const ChildAddress& child, int clientNumber)
{
    if (field == QLatin1String("Nazwa"))
        return child.nazwa;
    if (field == QLatin1String("Adres"))
        return address(child);
    if (field == QLatin1String("PESEL"))
        return child.pesel;
    if (field == QLatin1String("Nazwa kores."))
        return correspondenceName(child);
    if (field == QLatin1String("Adres kores."))
        return correspondenceAddress(child);
    if (field == QLatin1String("Nazwa i adres kores."))
        return correspondenceName(child) + crlf + correspondenceAddress(child);
    if (field == QLatin1String("Dane 1"))
        return child.dane1;
    if (field == QLatin1String("Dane 2"))
        return child.dane2;
    if (field == QLatin1String("Nazwa dzielona"))
        return QString(child.nazwa).replace(QLatin1Char(' '), crlf);
    if (field == QLatin1String("Kod"))
        return childCode(clientNumber, child.kod);
    if (field == QLatin1String("Kod kreskowy"))
        return QLatin1Char('*') + childCode(clientNumber, child.kod) + QLatin1Char('*');
    return std::nullopt;
}

bool isInstitutionField(const QString& field)
{
    return field == QLatin1String("Nazwa przedszkola") || field == QLatin1String("Adres przedszkola")
           || field == QLatin1String("NIP przedszkola");
}

std::optional<QString> institutionFieldValue(const QString& field, const Institution& institution,
                                             TemplateDocument document)
{
    if (field == QLatin1String("Nazwa przedszkola"))
        return institution.name;
    if (field == QLatin1String("Adres przedszkola")) {
        QString text = institution.address;
        if (document == TemplateDocument::Invoices) {
            const qsizetype at = text.indexOf(QLatin1String(", "));
            if (at >= 0)
                text.replace(at, 2, crlf);
        }
        return text;
    }
    if (field == QLatin1String("NIP przedszkola"))
        return institution.nip;
    return std::nullopt;
}

QString operationDate(QDate date)
{
    return polish::shortDate(date);
}

QString reportMonth(int year, int month)
{
    return polish::monthYear(year, month);
}

}  // namespace printouts
