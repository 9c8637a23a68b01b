#pragma once
// One Paradox table (.DB with its .MB) read through pxlib: the fields and
// the records as program values. Text is in code page 1250; dates, times,
// timestamps, numbers, logical values, memos and pictures are converted.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>

namespace paradox {

enum class ColumnKind { Text, Integer, Number, Logical, Date, Time, Timestamp, Memo, Binary, Unknown };

struct Column {
    QString name;  // upper-cased
    ColumnKind kind = ColumnKind::Unknown;
    int type = 0;    // the Paradox type code
    int length = 0;  // bytes in the record
    int decimals = 0;  // decimal places of a BCD number
    bool autoIncrement = false;
};

class Table {
public:
    Table();
    ~Table();
    Table(const Table&) = delete;
    Table& operator=(const Table&) = delete;

    // Opens the .DB file and, when it exists beside it, the .MB file of the
    // same name. False with error() set when it cannot be read.
    bool open(const QString& dbPath);

    const QList<Column>& columns() const { return m_columns; }
    int recordCount() const;
    // The table's own counter of its auto-incremented field (0 when none).
    int autoIncrementCounter() const;

    // Record `index` (0-based), one value per column; a null value for an
    // empty field. False with `problem` set when a field cannot be read.
    bool record(int index, QVariantList& values, QString& problem);

    QString error() const { return m_error; }

private:
    struct Private;
    std::unique_ptr<Private> d;
    QList<Column> m_columns;
    QString m_error;
};

}  // namespace paradox
