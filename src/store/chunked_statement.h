#pragma once
// One statement over many rows of values, sent many rows at a time: the
// text is `head`, then `row` (a pattern of "?" marks) once for each row of
// the chunk separated by ", ", then `tail`. A statement is prepared once for
// full chunks and once more for the shorter last one.
//
//   runChunked(db, "DELETE FROM NALICZ WHERE ID IN (", "?", ")", ids, 1);

#include <QList>
#include <QString>
#include <QVariant>

#include <functional>

class Database;
class PreparedStatement;

// `values` holds `valuesPerRow` values for each row, row after row.
// `eachChunk` is called after each chunk has run, to read what it returned.
void runChunked(Database& db, const QString& head, const QString& row, const QString& tail,
                const QList<QVariant>& values, int valuesPerRow, int rowsPerStatement = 500,
                const std::function<void(PreparedStatement&)>& eachChunk = {});
