#include "cli.h"

#include "store/database.h"
#include "store/user_sql.h"
#include "store/values.h"

#include <QTextStream>

namespace cli {

namespace {

// One row per line: tabs and line breaks inside a value are escaped.
QString cellText(const QVariant& v)
{
    if (values::isEmpty(v))
        return {};
    QString s;
    if (v.typeId() == QMetaType::Double)
        s = QString::number(v.toDouble(), 'g', 15);
    else if (v.typeId() == QMetaType::QByteArray)
        s = QStringLiteral("<%1 B>").arg(v.toByteArray().size());
    else
        s = values::bindable(v).toString();
    s.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\\n"));
    s.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    s.replace(QLatin1Char('\t'), QStringLiteral("\\t"));
    return s;
}

}  // namespace

int runQuery(Context& ctx)
{
    if (ctx.arguments.size() != 1) {
        ctx.err << QStringLiteral("Użycie: lunawactl [--store DIR|URI] --user NAZWA --password HASŁO query \"SQL\"\n");
        return Usage;
    }
    int status = Success;
    auto session = openSession(ctx, status);
    if (!session)
        return status;
    const UserSqlResult result = user_sql::run(*session->db, ctx.arguments.first());
    if (!result.returnsRows) {
        ctx.out << result.rowsAffected << '\n';
        return Success;
    }
    ctx.out << result.columns.join(QLatin1Char('\t')) << '\n';
    for (const QVariantList& values : result.rows) {
        QStringList row;
        for (const QVariant& v : values)
            row << cellText(v);
        ctx.out << row.join(QLatin1Char('\t')) << '\n';
    }
    return Success;
}

}  // namespace cli
