#include "demo_rows.h"

#include "store/database.h"
#include "store/query.h"

#include <QStringList>

namespace demo {

void insert(Database& db, const QString& table, const Row& row)
{
    QStringList columns, names;
    for (qsizetype i = 0; i < row.size(); ++i) {
        columns << row[i].first;
        names << QStringLiteral(":V%1").arg(i);
    }
    Query q(db, QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(table, columns.join(QStringLiteral(", ")),
                                                                     names.join(QStringLiteral(", "))));
    for (qsizetype i = 0; i < row.size(); ++i)
        q.bind(QStringLiteral("V%1").arg(i), row[i].second);
    q.exec();
}

int insertKeyed(Database& db, const QString& table, const Row& row, const QString& key)
{
    insert(db, table, row);
    return Query(db, QStringLiteral("SELECT MAX(%1) FROM %2").arg(key, table)).scalar().toInt();
}

int count(Database& db, const QString& sql)
{
    return Query(db, sql).scalar().toInt();
}

}  // namespace demo
