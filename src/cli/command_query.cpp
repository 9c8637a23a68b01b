#include "cli.h"

#include "store/database.h"
#include "store/query.h"
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
    Query q(*session->db, ctx.arguments.first());
    q.exec();
    if (!q.returnsRows()) {
        ctx.out << q.rowsAffected() << '\n';
        return Success;
    }
    QStringList header;
    for (int c = 0; c < q.columnCount(); ++c)
        header << q.columnName(c);
    ctx.out << header.join(QLatin1Char('\t')) << '\n';
    while (q.next()) {
        QStringList row;
        for (int c = 0; c < header.size(); ++c)
            row << cellText(q.value(c));
        ctx.out << row.join(QLatin1Char('\t')) << '\n';
    }
    return Success;
}

}  // namespace cli
