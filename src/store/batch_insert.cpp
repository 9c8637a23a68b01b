#include "batch_insert.h"

#include "database.h"
#include "pg_copy.h"
#include "statement_rights.h"
#include "values.h"

#include <cmath>
#include <limits>

namespace {

bool isIntegerType(FieldType type)
{
    return type == FieldType::Integer || type == FieldType::SmallInt || type == FieldType::AutoInc;
}

}  // namespace

BatchInsert::BatchInsert(Database& db, const QString& table, const QStringList& columns, int rowsPerChunk)
    : m_db(db), m_table(table), m_columns(columns), m_rowsPerChunk(qMax(1, rowsPerChunk)),
      m_direct(db.engine() == Engine::SQLite)
{
    if (m_direct) {
        m_single = std::make_unique<PreparedStatement>(db, statementText());
        return;
    }
    m_copy = std::make_unique<PgCopy>(db, table, columns);
    m_cells = QList<QByteArray>(columns.size());
    m_integerColumn = QList<bool>(columns.size(), false);
    const QList<StoreField> fields = db.fields(table);
    for (qsizetype c = 0; c < columns.size(); ++c)
        for (const StoreField& f : fields)
            if (f.name.compare(columns[c], Qt::CaseInsensitive) == 0)
                m_integerColumn[c] = isIntegerType(f.type);
}

BatchInsert::~BatchInsert() = default;

QString BatchInsert::statementText() const
{
    QString marks;
    for (qsizetype c = 0; c < m_columns.size(); ++c)
        marks += c ? QStringLiteral(", ?") : QStringLiteral("?");
    return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(m_table, m_columns.join(QStringLiteral(", ")), marks);
}

QByteArray& BatchInsert::cell(int column)
{
    QByteArray& out = m_cells[column];
    out.truncate(0);
    return out;
}

void BatchInsert::set(int column, qint64 value)
{
    if (m_direct)
        m_single->bind(column, value);
    else
        copytext::appendInteger(cell(column), value);
}

void BatchInsert::set(int column, double value)
{
    if (m_direct)
        return m_single->bind(column, value);
    // An integer column takes a number rounded, as the server's assignment
    // of a number to it does for an INSERT.
    constexpr double limit = double(std::numeric_limits<qint64>::max());
    if (m_integerColumn[column] && std::isfinite(value) && std::fabs(value) < limit)
        copytext::appendInteger(cell(column), std::llround(value));
    else
        copytext::appendDouble(cell(column), value);
}

void BatchInsert::set(int column, const QString& value)
{
    if (m_direct)
        m_single->bind(column, value);
    else if (value.isEmpty())
        setNull(column);
    else
        copytext::appendText(cell(column), value);
}

void BatchInsert::set(int column, const QVariant& value)
{
    if (m_direct)
        return m_single->bind(column, value);
    if (values::isEmpty(value))
        return setNull(column);
    // Dates and times in the form the store keeps them.
    const QVariant stored = values::bindable(value);
    switch (stored.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return set(column, stored.toLongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return set(column, stored.toDouble());
    case QMetaType::QByteArray:
        return copytext::appendBytes(cell(column), stored.toByteArray());
    default:
        return set(column, stored.toString());
    }
}

void BatchInsert::setNull(int column)
{
    if (m_direct)
        m_single->bindNull(column);
    else
        m_cells[column].truncate(0);
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
    for (qsizetype c = 0; c < m_cells.size(); ++c) {
        if (c)
            m_queued += '\t';
        if (m_cells[c].isEmpty())
            copytext::appendNull(m_queued);
        else
            m_queued += m_cells[c];
        m_cells[c].truncate(0);
    }
    m_queued += '\n';
    if (++m_queuedRows == m_rowsPerChunk)
        sendQueued();
}

void BatchInsert::flush()
{
    if (!m_direct && m_queuedRows)
        sendQueued();
}

void BatchInsert::sendQueued()
{
    // The server is sent no INSERT to check: the rights an INSERT of these
    // columns needs are checked here, once.
    if (!m_rightsChecked) {
        checkStatementRights(m_db, statementText());
        m_rightsChecked = true;
    }
    m_copy->send(m_queued);
    m_queued.truncate(0);
    m_queuedRows = 0;
}
