#include "batch_insert.h"

#include "database.h"
#include "values.h"

namespace {

QVariant nullValue()
{
    return QVariant(QMetaType(QMetaType::QString));
}

}  // namespace

BatchInsert::BatchInsert(Database& db, const QString& table, const QStringList& columns, int rowsPerStatement)
    : m_db(db), m_table(table), m_columns(columns), m_rowsPerStatement(qMax(1, rowsPerStatement)),
      m_direct(db.engine() == Engine::SQLite)
{
    if (m_direct) {
        m_single = std::make_unique<PreparedStatement>(db, statementText(1));
    } else {
        m_row = QList<QVariant>(columns.size(), nullValue());
        m_queued.reserve(qsizetype(m_rowsPerStatement) * columns.size());
    }
}

BatchInsert::~BatchInsert() = default;

QString BatchInsert::statementText(int rows) const
{
    QString row = QStringLiteral("(");
    for (qsizetype c = 0; c < m_columns.size(); ++c)
        row += c ? QStringLiteral(", ?") : QStringLiteral("?");
    row += QLatin1Char(')');
    QString sql = QStringLiteral("INSERT INTO %1 (%2) VALUES ").arg(m_table, m_columns.join(QStringLiteral(", ")));
    sql.reserve(sql.size() + rows * (row.size() + 2));
    for (int r = 0; r < rows; ++r) {
        if (r)
            sql += QStringLiteral(", ");
        sql += row;
    }
    return sql;
}

void BatchInsert::set(int column, qint64 value)
{
    if (m_direct)
        m_single->bind(column, value);
    else
        m_row[column] = value;
}

void BatchInsert::set(int column, double value)
{
    if (m_direct)
        m_single->bind(column, value);
    else
        m_row[column] = value;
}

void BatchInsert::set(int column, const QString& value)
{
    if (m_direct)
        m_single->bind(column, value);
    else
        m_row[column] = value.isEmpty() ? nullValue() : QVariant(value);
}

void BatchInsert::set(int column, const QVariant& value)
{
    if (m_direct)
        m_single->bind(column, value);
    else
        m_row[column] = values::bindable(value);
}

void BatchInsert::setNull(int column)
{
    if (m_direct)
        m_single->bindNull(column);
    else
        m_row[column] = nullValue();
}

void BatchInsert::add()
{
    ++m_added;
    if (m_direct) {
        m_single->exec();
        for (qsizetype c = 0; c < m_columns.size(); ++c)
            m_single->bindNull(int(c));
        return;
    }
    m_queued += m_row;
    m_row.fill(nullValue());
    if (m_queued.size() == qsizetype(m_rowsPerStatement) * m_columns.size())
        sendQueued(m_rowsPerStatement);
}

void BatchInsert::flush()
{
    if (m_direct || m_queued.isEmpty())
        return;
    sendQueued(int(m_queued.size() / m_columns.size()));
}

void BatchInsert::sendQueued(int rows)
{
    std::unique_ptr<PreparedStatement> tail;
    PreparedStatement* statement;
    if (rows == m_rowsPerStatement) {
        if (!m_full)
            m_full = std::make_unique<PreparedStatement>(m_db, statementText(rows));
        statement = m_full.get();
    } else {
        // Only the last, shorter chunk of a batch: prepared for it alone.
        tail = std::make_unique<PreparedStatement>(m_db, statementText(rows));
        statement = tail.get();
    }
    for (qsizetype i = 0; i < m_queued.size(); ++i)
        statement->bind(int(i), m_queued[i]);
    m_queued.clear();
    statement->exec();
}
