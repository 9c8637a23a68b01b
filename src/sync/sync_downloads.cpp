#include "sync_downloads.h"

#include "sync_session.h"
#include "wire_encoding.h"

#include "browser/prompts.h"
#include "registers/held_classes.h"
#include "store/database.h"
#include "store/error.h"
#include "store/query.h"

#include <QDate>
#include <QSqlQuery>

namespace websync {

QList<Download> fullDownloads()
{
    using A = Download::Apply;
    const QString web = QStringLiteral("WSTAWIONE='T'");
    return {
        {QStringLiteral("DZIECI"), QStringLiteral("KOD, HASLO"), web, A::UpdateByKey, 1},
        {QStringLiteral("ZGLOSZ"), QStringLiteral("OSOBA, DATAPRZY, OPIS, DATAZAL"), web, A::Append, 0},
        {QStringLiteral("ZGLWPL"), QStringLiteral("KOD, OSOBA, DATA, JAK"), web, A::Append, 0},
        {QStringLiteral("DZIEINF"), QStringLiteral("INFORM, OSOBA, DATAOTW"), web, A::UpdateByKey, 2},
        {QStringLiteral("ZAJOBEC"), QStringLiteral("KLASA, ID, OSOBA, ZAJECIE, DATA, OBECNY"),
         QStringLiteral("DATA is not NULL"), A::ExtraClassAttendance, 0},
    };
}

Download loginRecords(int months, const QDate& today)
{
    Download d{QStringLiteral("PRZEDLOGI"), QStringLiteral("CZAS, KON, OK"),
               QStringLiteral("12*extract(YEAR from CZAS)+extract(MONTH from CZAS)>12*%1+%2-%3")
                   .arg(today.year())
                   .arg(today.month(), 2, 10, QLatin1Char('0'))
                   .arg(months),
               Download::Apply::Append, 0};
    d.logins = true;
    return d;
}

QString Downloader::missingClassMessage(const QString& classCode)
{
    return QStringLiteral("Brak zajęcia dodatkowego o kodzie ") + classCode
        + QStringLiteral(".\r\nZgłoszenia zostaną pominięte.");
}

namespace {

// A downloaded text as the local field's value; an empty text is NULL.
QVariant typed(const QString& text, FieldType type, const QString& field)
{
    if (text.isEmpty())
        return QVariant();
    bool ok = true;
    QVariant v;
    switch (type) {
    case FieldType::AutoInc:
    case FieldType::Integer:
    case FieldType::SmallInt: v = text.toInt(&ok); break;
    case FieldType::Float: v = text.toDouble(&ok); break;
    case FieldType::Date: {
        const QDate d = QDate::fromString(text.left(10), Qt::ISODate);
        ok = d.isValid();
        v = d;
        break;
    }
    case FieldType::Time: {
        const QTime t = QTime::fromString(text.left(5), QStringLiteral("HH:mm"));
        ok = t.isValid();
        v = t;
        break;
    }
    case FieldType::DateTime: {
        QDateTime dt = QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        if (!dt.isValid())
            dt = QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd HH:mm"));
        if (!dt.isValid())
            dt = QDateTime::fromString(text, Qt::ISODate);
        ok = dt.isValid();
        v = dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        break;
    }
    default: v = text; break;
    }
    if (!ok)
        throw Error(QStringLiteral("Błędna wartość pola %1: %2").arg(field, text));
    return v;
}

// SQL condition "F = :F" or "F is NULL" for a value.
QString equals(const QString& field, const QVariant& value, const QString& bindName)
{
    return value.isValid() ? field + QStringLiteral(" = :") + bindName : field + QStringLiteral(" is NULL");
}

// PostgreSQL aborts the whole transaction on a failed statement: each
// record runs under a savepoint so that only its own change is undone.
class RecordSavepoint {
public:
    explicit RecordSavepoint(Database& db) : m_db(db), m_on(db.engine() == Engine::PostgreSQL)
    {
        if (m_on)
            QSqlQuery(m_db.connection()).exec(QStringLiteral("SAVEPOINT LW_SYNC_REC"));
    }
    void release()
    {
        if (m_on)
            QSqlQuery(m_db.connection()).exec(QStringLiteral("RELEASE SAVEPOINT LW_SYNC_REC"));
        m_on = false;
    }
    ~RecordSavepoint()
    {
        if (m_on)
            QSqlQuery(m_db.connection()).exec(QStringLiteral("ROLLBACK TO SAVEPOINT LW_SYNC_REC"));
    }

private:
    Database& m_db;
    bool m_on;
};

}  // namespace

Downloader::Downloader(Database& db, SyncSession& session, Prompts& prompts)
    : m_db(db), m_session(session), m_prompts(prompts)
{
}

DownloadResult Downloader::run(const Download& d)
{
    DownloadResult result;
    m_session.setAction(QStringLiteral("Pobieranie zbioru ") + d.table + QStringLiteral(" ..."));
    const char* action = d.logins ? "Zapytogol" : "Zapytanie";
    auto request = [&](int row) {
        return wire::ActionString(action)
            .raw("row", QByteArray::number(row))
            .text("select", d.fields)
            .text("from", d.table)
            .text("where", d.condition)
            .bytes();
    };
    const int count = QString::fromLatin1(m_session.send(request(0))).trimmed().toInt();
    m_session.setProgress(0, count);

    QStringList fields;
    for (const QString& f : d.fields.split(QStringLiteral(", ")))
        fields.append(f.mid(f.indexOf(QLatin1Char('.')) + 1));

    // The records are gathered first and written in one short transaction:
    // the store is not held while the service answers, and a failure or
    // Stop leaves nothing of this table half written.
    QList<QStringList> decoded;
    int done = 0;
    while (done < count) {
        m_session.checkStop();
        const auto records = wire::splitRecords(m_session.send(request(done + 1)));
        // A service that counts more rows than it gives must not keep us here.
        if (records.isEmpty())
            break;
        for (const QList<QByteArray>& record : records) {
            ++done;
            m_session.setProgress(done, count);
            try {
                QStringList values;
                for (const QByteArray& field : record)
                    values.append(wire::decode(field));
                decoded.append(values);
            } catch (const Error& e) {
                result.skipped.append(e.message());
            }
        }
    }
    if (decoded.isEmpty())
        return result;
    Transaction transaction(m_db);
    for (const QStringList& values : decoded) {
        try {
            RecordSavepoint savepoint(m_db);
            apply(d, fields, values, result);
            savepoint.release();
        } catch (const Error& e) {
            result.skipped.append(e.message());
        }
    }
    transaction.commit();
    return result;
}

void Downloader::apply(const Download& d, const QStringList& fields, const QStringList& values,
                       DownloadResult& result)
{
    const QList<StoreField> local = m_db.fields(d.table);
    auto localType = [&](const QString& name) -> const StoreField* {
        for (const StoreField& f : local)
            if (f.name.compare(name, Qt::CaseInsensitive) == 0)
                return &f;
        return nullptr;
    };
    auto value = [&](int i) { return i < values.size() ? values[i] : QString(); };

    if (d.apply == Download::Apply::ExtraClassAttendance) {
        // group, number, child, class, date, code
        const QVariant group = typed(value(0), FieldType::Integer, QStringLiteral("KLASA"));
        QVariant number = typed(value(1), FieldType::Integer, QStringLiteral("ID"));
        const QVariant child = typed(value(2), FieldType::Integer, QStringLiteral("OSOBA"));
        const QVariant classCode = typed(value(3), FieldType::Integer, QStringLiteral("ZAJECIE"));
        const QDate date = typed(value(4), FieldType::Date, QStringLiteral("DATA")).toDate();
        const QString code = value(5);
        QVariant heldGroup = group;
        if (!number.isValid()) {
            // A class held on the web that is not recorded here yet.
            Query cls(m_db, QStringLiteral("SELECT KLASA FROM ZAJDOD WHERE KOD = :K"));
            cls.bind(QStringLiteral("K"), classCode).exec();
            if (!cls.next()) {
                m_prompts.showError(missingClassMessage(value(3)));
                throw Error(missingClassMessage(value(3)));
            }
            Query held(m_db, QStringLiteral("SELECT KLASA, ID FROM ZAJODB WHERE ZAJECIE = :Z AND DATA = :D "
                                            "ORDER BY KLASA, ID"));
            held.bind(QStringLiteral("Z"), classCode).bind(QStringLiteral("D"), date).exec();
            if (held.next()) {
                heldGroup = held.value(0);
                number = held.value(1);
            } else {
                heldGroup = cls.value(0).isNull() ? QVariant() : cls.value(0);
                number = heldclasses::nextNumber(m_db, heldGroup);
                const heldclasses::Schedule s = heldclasses::scheduleOn(m_db, classCode.toInt(), date);
                Query(m_db, QStringLiteral("INSERT INTO ZAJODB (ZAJECIE, DATA, CZASP, CZASW, KLASA, ID) "
                                           "VALUES (:Z, :D, :P, :W, :K, :I)"))
                    .bind(QStringLiteral("Z"), classCode)
                    .bind(QStringLiteral("D"), date)
                    .bind(QStringLiteral("P"), s.found ? QVariant(s.start) : QVariant())
                    .bind(QStringLiteral("W"), s.found ? QVariant(s.end) : QVariant())
                    .bind(QStringLiteral("K"), heldGroup)
                    .bind(QStringLiteral("I"), number)
                    .exec();
            }
        }
        const QString where = equals(QStringLiteral("KLASA"), heldGroup, QStringLiteral("K"))
            + QStringLiteral(" AND ID = :I AND OSOBA = :O");
        Query update(m_db, QStringLiteral("UPDATE ZAJOBEC SET OBECNY = :C WHERE ") + where);
        update.bind(QStringLiteral("C"), code.isEmpty() ? QVariant() : QVariant(code))
            .bind(QStringLiteral("I"), number)
            .bind(QStringLiteral("O"), child);
        if (heldGroup.isValid())
            update.bind(QStringLiteral("K"), heldGroup);
        if (update.exec().rowsAffected() == 0)
            Query(m_db, QStringLiteral("INSERT INTO ZAJOBEC (KLASA, ID, OSOBA, OBECNY) VALUES (:K, :I, :O, :C)"))
                .bind(QStringLiteral("K"), heldGroup)
                .bind(QStringLiteral("I"), number)
                .bind(QStringLiteral("O"), child)
                .bind(QStringLiteral("C"), code.isEmpty() ? QVariant() : QVariant(code))
                .exec();
        ++result.applied;
        return;
    }

    // Fields the local table has, with their values.
    QStringList names;
    QList<QVariant> typedValues;
    QList<bool> isKey;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        const StoreField* f = localType(fields[i]);
        if (!f)
            continue;
        names.append(f->name);
        typedValues.append(typed(value(int(i)), f->type, f->name));
        isKey.append(d.apply == Download::Apply::UpdateByKey && i < d.keys);
    }

    if (d.apply == Download::Apply::UpdateByKey) {
        QStringList sets, keys;
        for (qsizetype i = 0; i < names.size(); ++i) {
            const QString bind = QStringLiteral("V%1").arg(i);
            if (isKey[i])
                keys.append(equals(names[i], typedValues[i], bind));
            else
                sets.append(names[i] + QStringLiteral(" = :") + bind);
        }
        if (sets.isEmpty() || keys.isEmpty())
            return;
        Query q(m_db, QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                          .arg(d.table, sets.join(QStringLiteral(", ")), keys.join(QStringLiteral(" AND "))));
        for (qsizetype i = 0; i < names.size(); ++i)
            if (!isKey[i] || typedValues[i].isValid())
                q.bind(QStringLiteral("V%1").arg(i), typedValues[i]);
        // A row that no longer exists here is left alone.
        if (q.exec().rowsAffected() > 0)
            ++result.applied;
        return;
    }

    // A row identical to one already here was downloaded before (an
    // exchange stopped before the upload cleared the web's mark).
    QStringList same, binds;
    for (qsizetype i = 0; i < names.size(); ++i) {
        const QString bind = QStringLiteral("V%1").arg(i);
        same.append(equals(names[i], typedValues[i], bind));
        binds.append(QLatin1Char(':') + bind);
    }
    if (names.isEmpty())
        return;
    Query existing(m_db, QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2").arg(d.table, same.join(QStringLiteral(" AND "))));
    for (qsizetype i = 0; i < names.size(); ++i)
        if (typedValues[i].isValid())
            existing.bind(QStringLiteral("V%1").arg(i), typedValues[i]);
    if (existing.scalar().toInt() > 0)
        return;
    Query insert(m_db, QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                           .arg(d.table, names.join(QStringLiteral(", ")), binds.join(QStringLiteral(", "))));
    for (qsizetype i = 0; i < names.size(); ++i)
        insert.bind(QStringLiteral("V%1").arg(i), typedValues[i]);
    insert.exec();
    ++result.applied;
    if (d.table == QLatin1String("ZGLOSZ"))
        ++result.requests;
}

}  // namespace websync
