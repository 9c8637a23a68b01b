#include "sync_uploads.h"

#include "sync_session.h"
#include "wire_encoding.h"

#include "store/database.h"
#include "store/params.h"
#include "store/query.h"

#include <QFileInfo>

namespace websync {

QString StartMonth::firstDay() const
{
    return QStringLiteral("%1-%2-01").arg(year, 4, 10, QLatin1Char('0')).arg(month, 2, 10, QLatin1Char('0'));
}

namespace {

struct Month {
    int year;
    int month;
    QString freeDays;
};

// The latest twelve settlement months, latest first.
QList<Month> latestMonths(Database& db)
{
    QList<Month> months;
    Query q(db, QStringLiteral("SELECT ROK, MIES, DNIWOLNE FROM MIESIACE ORDER BY ROK DESC, MIES DESC"));
    q.exec();
    while (months.size() < 12 && q.next())
        months.append({q.value(0).toInt(), q.value(1).toInt(), q.value(2).toString()});
    return months;
}

StartMonth monthAfter(const Month& m)
{
    return m.month == 12 ? StartMonth{m.year + 1, 1} : StartMonth{m.year, m.month + 1};
}

}  // namespace

StartMonth defaultStartMonth(Database& db)
{
    const QList<Month> months = latestMonths(db);
    if (months.isEmpty())
        return {};
    for (const Month& m : months)
        if (m.freeDays == QLatin1String("-"))
            return monthAfter(m);
    return {months.last().year, months.last().month};
}

StartMonth acceptedStartMonth(Database& db, const StartMonth& chosen)
{
    const QList<Month> months = latestMonths(db);
    if (months.isEmpty())
        return chosen;
    const StartMonth earliest{months.last().year, months.last().month};
    return chosen.index() < earliest.index() ? earliest : chosen;
}

QList<Upload> fullUploads(Database& db, const Parameters& params, const StartMonth& start)
{
    const QString S = QString::number(start.index());
    const QString D = start.firstDay();
    Query first(db, QStringLiteral("SELECT KOD FROM MEDIA ORDER BY KOLEJ, KOD"));
    first.exec();
    const QString M = first.next() ? QString::number(first.value(0).toInt()) : QStringLiteral("0");
    const QString internetChild = QStringLiteral("D.HASLO<> '' and D.AKTYWNY='T'");

    auto u = [](const char* table, const char* label, bool deleteFirst, const QString& select, bool always = false) {
        return Upload{QString::fromLatin1(table), QString::fromUtf8(label), deleteFirst, select, always, {}};
    };
    QList<Upload> list{
        u("DZIECI", "(dostęp całkowity)", true,
          QStringLiteral("select cast(0 as int) as KOD, cast(0 as int) as KLASA, HASLO from OPCJE where HASLO<> ''"), true),
        u("DZIECI", "(kartoteka dzieci)", false,
          QStringLiteral("select KOD, KLASA, STATUS, HASLO from DZIECI where HASLO<> '' and AKTYWNY='T'"), true),
        u("MIESIACE", "(bilans otwarcia)", true,
          QStringLiteral("select cast(0 as int) as KOD, cast(0 as smallint) as ROK, cast(0 as smallint) as MIES, "
                         "'' as DNIWOLNE from OPCJE")),
        u("MIESIACE", "(miesiące rozliczeniowe)", false,
          QStringLiteral("select KOD, ROK, MIES, DNIWOLNE from MIESIACE where 12*ROK+MIES>=") + S),
        u("NALICZ", "(bilans otwarcia naliczeń)", true,
          QStringLiteral("select cast(0 as int) as KOD, N.OSOBA, cast(") + M
              + QStringLiteral(" as int) as MEDIUM, 0 as ILOSC, '' as JM, 0 as CENA, sum(N.WARTOSC) as WARTOSC, "
                               "'N' as ROZLICZ from MIESIACE M, NALICZ N, DZIECI D where ")
              + internetChild
              + QStringLiteral(" and D.KOD=N.OSOBA and N.TYP='1' and N.KOD=M.KOD and 12*M.ROK+M.MIES<") + S
              + QStringLiteral(" group by N.OSOBA")),
        u("WPLATY", "(bilans otwarcia wpłat)", true,
          QStringLiteral("select cast(0 as int) as KOD, W.OSOBA, '' as DATA, sum(W.WARTOSC) as WARTOSC "
                         "from MIESIACE M, WPLATY W, DZIECI D where ")
              + internetChild + QStringLiteral(" and D.KOD=W.OSOBA and W.KOD=M.KOD and 12*M.ROK+M.MIES<") + S
              + QStringLiteral(" group by W.OSOBA")),
        u("NALICZ", "(naliczenia)", false,
          QStringLiteral("select N.KOD, N.OSOBA, N.MEDIUM, N.ILOSC, N.JM, N.CENA, N.WARTOSC, N.ROZLICZ "
                         "from MIESIACE M, NALICZ N, DZIECI D where ")
              + internetChild
              + QStringLiteral(" and D.KOD=N.OSOBA and N.TYP='1' and N.KOD=M.KOD and 12*M.ROK+M.MIES>=") + S),
        u("WPLATY", "(wpłaty)", false,
          QStringLiteral("select W.KOD, W.OSOBA, W.DATA, W.WARTOSC from MIESIACE M, WPLATY W, DZIECI D where ")
              + internetChild + QStringLiteral(" and D.KOD=W.OSOBA and W.KOD=M.KOD and 12*M.ROK+M.MIES>=") + S),
        u("OBECN", "(lista obecności)", true,
          QStringLiteral("select OSOBA, DATA, OBECNY, CZASP, CZASW from OBECN where DATA>='") + D + QLatin1Char('\'')),
        u("OBECM", "(obecności sumarycznie)", true,
          QStringLiteral("select OSOBA, ROK, MIES, OBECNY, ILE from OBECM where ")
              + (params.obecnosciSumarycznie ? QStringLiteral("12*ROK+MIES>=") + S : QStringLiteral("1=2"))),
        u("DZIECZAS", "(deklarowany czas pobytu)", true, QStringLiteral("select OSOBA, ODDATY, CZASP, CZASW from DZIECZAS")),
        u("ZAJDOD", "(zajęcia dodatkowe)", true, QStringLiteral("select KOD, NAZWA, KOLEJ, ZGLOSZG from ZAJDOD")),
        u("ZAJDAT", "(terminy zajęć dodatkowych)", true,
          QStringLiteral("select ZAJECIE, ODDATY, DODATY, DZIENTYG, CZASP, CZASW from ZAJDAT where DODATY is NULL or DODATY>='")
              + D + QLatin1Char('\'')),
        u("DZIEZAJ", "(deklaracje dzieci na zajęcia dodatkowe)", true,
          QStringLiteral("select OSOBA, ZAJECIE, ODDATY, DODATY from DZIEZAJ where DODATY is NULL or DODATY>='") + D
              + QLatin1Char('\'')),
        u("ZAJODB", "(odbyte zajęcia dodatkowe)", true,
          QStringLiteral("select KLASA, ID, ZAJECIE, DATA, CZASP, CZASW from ZAJODB where DATA>='") + D + QLatin1Char('\'')),
        u("ZAJOBEC", "(obecności na zajęciach dodatkowych)", true,
          QStringLiteral("select D.KLASA, D.ID, D.OSOBA, D.OBECNY from ZAJOBEC D, ZAJODB O where (D.KLASA=O.KLASA or "
                         "(D.KLASA is NULL and O.KLASA is NULL)) and D.ID=O.ID and O.DATA>='")
              + D + QLatin1Char('\'')),
        u("POSILKI", "(posiłki)", true, QStringLiteral("select DATA, OPIS from POSILKI where DATA>='") + D + QLatin1Char('\'')),
        u("GRUPYOP", "(grupy opłat)", true, QStringLiteral("select KOD, NAZWA, KOLEJ from GRUPYOP")),
        u("MEDIA", "(składniki opłat)", true, QStringLiteral("select KOD, NAZWA, KOLEJ, GRUPAOP from MEDIA")),
        u("CZASBEZP", "(czas bezpłatny)", true, QStringLiteral("select ODDATY, CZASP, CZASW from CZASBEZP")),
        u("NALKLA", "(naliczenia dodatkowe)", true,
          QStringLiteral("select KLASA, KOD, DATA, SKROT, KWOTA, OPIS from NALKLA where DATA>='") + D + QLatin1Char('\'')),
        u("NALDOD", "(wpłaty dodatkowe)", true,
          // A charge without a group ("Brak") has a null KLASA, which "=" never matches.
          QStringLiteral("select D.KLASA, D.KOD, D.OSOBA, D.WPLATA, D.OPIS from NALDOD D, NALKLA K where (D.KLASA=K.KLASA "
                         "or (D.KLASA is NULL and K.KLASA is NULL)) and D.KOD=K.KOD and K.DATA>='")
              + D + QLatin1Char('\'')),
    };
    // The options are the parameters' own texts: built here rather than
    // pasted into a local query. Like the service's columns they hold up to
    // 20 characters.
    Upload options = u("OPCJE", "(opcje)", true, QString());
    auto option = [&](const char* name, const QString& value) {
        options.rows.append({{QStringLiteral("NAZWA"), QString::fromLatin1(name)},
                             {QStringLiteral("WARTOSC"), value.left(20)}});
    };
    if (Query(db, QStringLiteral("SELECT COUNT(*) FROM OPCJE")).scalar().toInt() > 0) {
        option("TEKST NA ROZLICZENIE", params.tekstNaRozliczenie);
        option("TEKST NA ZALICZKA", params.tekstNaZaliczka);
        option("TEKST NA WPLATY", params.tekstNaWplaty);
        option("TEKST NA ZALEGLOSC", params.tekstNaZaleglosc);
        option("GRUPUJ OPLATY", params.grupujOplaty ? QStringLiteral("T") : QStringLiteral("N"));
    }
    list.append(options);
    list += QList<Upload>{
        u("ZGLWPL", "(potwierdzenia wpłat)", true,
          QStringLiteral("select W.KOD, W.OSOBA, W.DATA, W.JAK from MIESIACE M, ZGLWPL W, DZIECI D where ")
              + internetChild + QStringLiteral(" and D.KOD=W.OSOBA and W.KOD=M.KOD and 12*M.ROK+M.MIES>=") + S,
          true),
        u("INFORM", "(informacje)", true,
          QStringLiteral("select KLASA, KOD, DATA, OPIS, TYP, TEKST from INFORM where TYP in ('I','G') and DATA>='") + D
              + QLatin1Char('\''),
          true),
        u("LINKI", "(odnośniki informacji)", true,
          QStringLiteral("select L.ID, L.INFORM, L.PLIK, L.LINK from LINKI L, INFORM I where L.LINK<>'' and "
                         "L.INFORM=I.KOD and I.KLASA is NULL and I.TYP in ('I','G') and I.DATA>='")
              + D + QLatin1Char('\''),
          true),
        u("DZIEINF", "(powiązania informacji)", true,
          QStringLiteral("select D.OSOBA, D.INFORM, D.DATAOTW from INFORM I, DZIEINF D where D.INFORM=I.KOD and "
                         "I.KLASA is NULL and I.TYP='I' and I.DATA>='")
              + D + QLatin1Char('\''),
          true),
        u("ZGLOSZ", "(zgłoszenia)", true,
          QStringLiteral("select OSOBA, OPIS, DATAPRZY, DATAZAL, WYKONANIE from ZGLOSZ where DATAPRZY>='") + D
              + QLatin1Char('\''),
          true),
        u("STATUSY", "(statusy)", true, QStringLiteral("select KOD, NAZWA, KOLEJ from STATUSY"), true),
        u("KODY", "(kody)", true, QStringLiteral("select TYP, RODZAJ, NAZWA from KODY"), true),
    };
    return list;
}

QString insertValue(const QVariant& value, const QString& field)
{
    if (!value.isValid() || value.isNull())
        return QStringLiteral("NULL");
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return QString::number(value.toLongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return QString::number(value.toDouble(), 'g', 15);
    case QMetaType::QDate:
        return wire::quoted(value.toDate().toString(QStringLiteral("yyyy-MM-dd")));
    case QMetaType::QTime:
        return wire::quoted(value.toTime().toString(QStringLiteral("HH:mm")));
    case QMetaType::QDateTime:
        return wire::quoted(value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    default:
        break;
    }
    if (field.compare(QLatin1String("PLIK"), Qt::CaseInsensitive) == 0) {
        QString path = value.toString();
        path.replace(QLatin1Char('\\'), QLatin1Char('/'));
        return wire::quoted(QFileInfo(path).fileName());
    }
    return wire::quoted(value.toString());
}

Uploader::Uploader(Database& db, SyncSession& session) : m_db(db), m_session(session) {}

void Uploader::sendInsert(const QString& table, const QString& fieldList, const QString& rows)
{
    m_session.checkStop();
    m_session.send(wire::ActionString("Egzekucja")
                       .text("select", QStringLiteral("insert into"))
                       .text("from", table)
                       .text("where", QLatin1Char('(') + fieldList + QStringLiteral(") values ") + rows)
                       .bytes());
}

int Uploader::run(const Upload& upload)
{
    m_session.setAction(QStringLiteral("Wysyłanie zbioru ") + upload.table + QLatin1Char(' ') + upload.label
                        + QStringLiteral(" ..."));
    // Read every row first: the store stays free while the service is slow.
    QStringList fields;
    QList<QStringList> rows;
    if (upload.select.isEmpty()) {
        for (const auto& row : upload.rows) {
            QStringList values;
            fields.clear();
            for (const auto& [name, value] : row) {
                fields.append(name);
                values.append(insertValue(value, name));
            }
            rows.append(values);
        }
    } else {
        Query q(m_db, upload.select);
        q.exec();
        for (int c = 0; c < q.columnCount(); ++c)
            fields.append(q.columnName(c));
        while (q.next()) {
            QStringList values;
            for (int c = 0; c < fields.size(); ++c)
                values.append(insertValue(q.value(c), fields[c]));
            rows.append(values);
        }
    }
    m_session.setProgress(0, int(rows.size()));
    if (upload.deleteFirst)
        m_session.send(wire::ActionString("Egzekucja")
                           .text("select", QStringLiteral("delete from"))
                           .text("from", upload.table)
                           .text("where", QStringLiteral(" "))
                           .bytes());
    const QString fieldList = fields.join(QStringLiteral(", "));
    QString batch;
    int sent = 0;
    for (const QStringList& values : rows) {
        if (!batch.isEmpty())
            batch += QStringLiteral(", ");
        batch += QLatin1Char('(') + values.join(QStringLiteral(", ")) + QLatin1Char(')');
        m_session.setProgress(++sent, int(rows.size()));
        if (batch.size() > batchLimit) {
            sendInsert(upload.table, fieldList, batch);
            batch.clear();
        }
    }
    if (!batch.isEmpty())
        sendInsert(upload.table, fieldList, batch);
    return sent;
}

}  // namespace websync
