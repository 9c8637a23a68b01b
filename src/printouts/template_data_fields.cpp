#include "template_data_fields.h"

#include <QHash>

namespace printouts {

namespace {

struct Offer {
    const char* name;
    const char* types;  // the type codes that offer the field
};

// Menu order.
const Offer offers[] = {
    {"Nazwa", "1234"},
    {"Adres", "1234"},
    {"PESEL", "1234"},
    {"Nazwa kores.", "1234"},
    {"Adres kores.", "1234"},
    {"Nazwa i adres kores.", "1234"},
    {"Kod", "1"},
    {"Kod kreskowy", "1"},
    {"L.p.", "1"},
    {"Tytuł raportu", "23"},
    {"Miesiąc raportu", "24"},
    {"Filtr danych", "1"},
    {"Znak naliczenia", "4"},
    {"Wartość naliczenia", "234"},
    {"Wartość naliczenia słownie", "234"},
    {"Znak salda", "2"},
    {"Wartość salda", "2"},
    {"Wartość salda słownie", "2"},
    {"Tekst 1", "12"},
    {"Tekst 2", "12"},
    {"Numer dokumentu", "4"},
    {"Numer dokumentu pierwotnego", "4"},
    {"Data operacji", "1234"},
    {"Termin płatności", "4"},
    {"Nazwa przedszkola", "14"},
    {"Adres przedszkola", "14"},
    {"NIP przedszkola", "4"},
    {"Oryginał/kopia", "4"},
    {"Dane 1", "24"},
    {"Dane 2", "24"},
    {"Nazwa dzielona", "1"},
    {"Separator", "1"},
    {"Separator końcowy", "124"},
    {"Stopka", "124"},
};

const QHash<QString, QString>& typesByName()
{
    static const QHash<QString, QString> map = [] {
        QHash<QString, QString> m;
        for (const Offer& o : offers)
            m.insert(QString::fromUtf8(o.name), QString::fromLatin1(o.types));
        return m;
    }();
    return map;
}

}  // namespace

const QStringList& dataFieldNames()
{
    static const QStringList names = [] {
        QStringList n;
        for (const Offer& o : offers)
            n << QString::fromUtf8(o.name);
        return n;
    }();
    return names;
}

bool isDataFieldOffered(TemplateType type, const QString& name)
{
    return typesByName().value(name).contains(templateTypeCode(type));
}

QStringList dataFieldsOffered(TemplateType type)
{
    QStringList out;
    for (const QString& name : dataFieldNames())
        if (isDataFieldOffered(type, name))
            out << name;
    return out;
}

bool isBandMarker(const QString& name)
{
    return name == field::separator() || name == field::endSeparator() || name == field::footer();
}

}  // namespace printouts
