#include "template_store.h"

#include "template_layout_text.h"

#include "store/cp1250.h"
#include "store/database.h"
#include "store/error.h"
#include "store/query.h"

#include <QStringDecoder>

namespace printouts {

namespace {

QList<StoredTemplate> read(Query& q)
{
    q.exec();
    QList<StoredTemplate> out;
    while (q.next())
        out.append({q.value(0).toInt(), q.value(1).toString().trimmed(), q.value(2).toString(),
                    q.value(3).toString()});
    return out;
}

}  // namespace

QList<StoredTemplate> storedTemplates(Database& db)
{
    Query q(db, QStringLiteral("SELECT ID, TYP, NAZWA, DANE FROM SZABLONY ORDER BY ID"));
    return read(q);
}

QList<StoredTemplate> templatesNamed(Database& db, const QString& name, std::optional<TemplateType> type)
{
    QString sql = QStringLiteral("SELECT ID, TYP, NAZWA, DANE FROM SZABLONY WHERE NAZWA = :N");
    if (type)
        sql += QStringLiteral(" AND TYP = :T");
    Query q(db, sql + QStringLiteral(" ORDER BY ID"));
    q.bind(QStringLiteral("N"), name);
    if (type)
        q.bind(QStringLiteral("T"), templateTypeCode(*type));
    return read(q);
}

ImportResult importTemplate(Database& db, TemplateType type, const QString& name, const QString& layoutText)
{
    if (!db.tableRights(QStringLiteral("SZABLONY")).can(rights::Insert))
        throw AccessDenied();
    readLayout(layoutText);  // a malformed layout stops here with its message
    ImportResult result;
    db.batch([&] {
        const QList<StoredTemplate> same = templatesNamed(db, name, type);
        if (!same.isEmpty()) {
            result = {same.first().id, true};
            Query(db, QStringLiteral("UPDATE SZABLONY SET DANE = :D WHERE ID = :I"))
                .bind(QStringLiteral("D"), layoutText)
                .bind(QStringLiteral("I"), result.id)
                .exec();
            return;
        }
        Query(db, QStringLiteral("INSERT INTO SZABLONY (TYP, NAZWA, DANE) VALUES (:T, :N, :D)"))
            .bind(QStringLiteral("T"), templateTypeCode(type))
            .bind(QStringLiteral("N"), name)
            .bind(QStringLiteral("D"), layoutText)
            .exec();
        result = {Query(db, QStringLiteral("SELECT MAX(ID) FROM SZABLONY")).scalar().toInt(), false};
    });
    return result;
}

QString layoutFileText(const QByteArray& bytes)
{
    QByteArray data = bytes;
    if (data.startsWith("\xEF\xBB\xBF"))
        data.remove(0, 3);
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(data);
    if (utf8.hasError())
        text = cp1250::decode(data);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return text;
}

}  // namespace printouts
