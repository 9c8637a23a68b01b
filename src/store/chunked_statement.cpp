#include "chunked_statement.h"

#include "prepared_statement.h"

#include <memory>

namespace {

QString statementText(const QString& head, const QString& row, const QString& tail, qsizetype rows)
{
    QString sql = head;
    sql.reserve(head.size() + rows * (row.size() + 2) + tail.size());
    for (qsizetype r = 0; r < rows; ++r) {
        if (r)
            sql += QStringLiteral(", ");
        sql += row;
    }
    return sql + tail;
}

}  // namespace

void runChunked(Database& db, const QString& head, const QString& row, const QString& tail,
                const QList<QVariant>& values, int valuesPerRow, int rowsPerStatement,
                const std::function<void(PreparedStatement&)>& eachChunk)
{
    if (valuesPerRow <= 0 || values.isEmpty())
        return;
    const qsizetype rows = values.size() / valuesPerRow;
    const qsizetype chunk = qMax(1, rowsPerStatement);
    std::unique_ptr<PreparedStatement> full;
    for (qsizetype first = 0; first < rows; first += chunk) {
        const qsizetype n = qMin(chunk, rows - first);
        std::unique_ptr<PreparedStatement> last;
        std::unique_ptr<PreparedStatement>& slot = n == chunk ? full : last;
        if (!slot)
            slot = std::make_unique<PreparedStatement>(db, statementText(head, row, tail, n));
        const qsizetype offset = first * valuesPerRow;
        for (qsizetype i = 0; i < n * valuesPerRow; ++i)
            slot->bind(int(i), values[offset + i]);
        slot->exec();
        if (eachChunk)
            eachChunk(*slot);
    }
}
