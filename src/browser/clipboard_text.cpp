#include "clipboard_text.h"

#include "browser/cell_text.h"
#include "browser/refusal.h"
#include "store/error.h"
#include "store/table.h"

#include <QStringList>

namespace clip {

namespace {

const QString kLineEnd = QStringLiteral("\r\n");

// Tabs and line breaks inside a value would break the row apart.
QString flat(QString s)
{
    s.replace(QLatin1Char('\t'), QLatin1Char(' '));
    s.replace(QLatin1String("\r\n"), QLatin1String(" "));
    s.replace(QLatin1Char('\n'), QLatin1Char(' '));
    s.replace(QLatin1Char('\r'), QLatin1Char(' '));
    return s;
}

QString valueText(const Table& table, int row, const QString& field)
{
    const Table::Field& f = table.field(field);
    return flat(cell::text(table.valueAt(row, field), f.def.type));
}

}  // namespace

QList<int> rowsToUse(const Table& table, const QList<int>& selected)
{
    if (!selected.isEmpty())
        return selected;
    if (table.isEmpty() || table.position() < 0)
        return {};
    return {table.position()};
}

QString copyText(const Table& table, const QList<Column>& columns, const QList<int>& rows, bool header)
{
    QStringList lines;
    if (header && rows.size() > 1) {
        QStringList captions;
        for (const Column& c : columns) {
            if (!table.hasField(c.field))
                continue;
            captions << flat(c.caption);
            if (cell::hasLookupSource(table.field(c.field)))
                captions << flat(c.caption);
        }
        lines << captions.join(QLatin1Char('\t'));
    }
    for (int r : rows) {
        QStringList pieces;
        for (const Column& c : columns) {
            if (!table.hasField(c.field))
                continue;
            const Table::Field& f = table.field(c.field);
            if (cell::hasLookupSource(f))
                pieces << valueText(table, r, f.keyFields.last());
            pieces << valueText(table, r, c.field);
        }
        lines << pieces.join(QLatin1Char('\t'));
    }
    if (lines.isEmpty())
        return QString();
    return lines.join(kLineEnd) + kLineEnd;
}

QString copy(Prompts& prompts, const Table& table, const QList<Column>& columns, const QList<int>& selected)
{
    const QList<int> rows = rowsToUse(table, selected);
    if (rows.isEmpty())
        return QString();
    const bool header = prompts.askYesNo(QStringLiteral("Z nagłówkami?"));
    return copyText(table, columns, rows, header);
}

QString copyChosen(Prompts& prompts, const Table& table, const QList<Column>& columns, const QList<int>& selected)
{
    QList<PickEntry> entries;
    for (int i = 0; i < columns.size(); ++i)
        entries << PickEntry{columns[i].caption, i};
    QString option = QStringLiteral("Tak");
    if (!prompts.pickChecksWithOption(QStringLiteral("Skopiuj kolumny"), entries, int(entries.size()),
                                      QStringLiteral("Z nagłówkami"), {QStringLiteral("Tak"), QStringLiteral("Nie")},
                                      option))
        return QString();
    QList<Column> chosen;
    for (const PickEntry& e : entries)
        chosen << columns.value(e.value.toInt());
    const QList<int> rows = rowsToUse(table, selected);
    if (rows.isEmpty() || chosen.isEmpty())
        return QString();
    return copyText(table, chosen, rows, option == QLatin1String("Tak"));
}

bool settlePendingEdit(Prompts& prompts, Table& table)
{
    if (!table.isEditing())
        return true;
    if (!table.modified()) {
        table.cancel();
        return true;
    }
    switch (prompts.askYesNoCancel(QStringLiteral("Zapisać zmiany?"))) {
    case Answer::Yes:
        try {
            table.post();
        } catch (const Error& e) {
            refusal::show(prompts, e);
            return false;
        }
        return true;
    case Answer::No:
        table.cancel();
        return true;
    case Answer::Cancel:
        break;
    }
    return false;
}

namespace {

bool writable(const Table& table, const QString& field, const QList<Column>& columns)
{
    if (!table.hasField(field))
        return false;
    const Table::Field& f = table.field(field);
    if (f.kind != Table::FieldKind::Data || f.def.type == FieldType::AutoInc || !f.present)
        return false;
    for (const Column& c : columns)
        if (c.field.compare(field, Qt::CaseInsensitive) == 0 && c.readOnly)
            return false;
    return true;
}

void setFromText(Table& table, const QString& field, const QString& piece)
{
    const auto v = cell::fromText(piece, table.field(field).def.type);
    if (!v)
        return;
    try {
        table.setValue(field, *v);
    } catch (const Error&) {
        // a single value that does not fit is left out
    }
}

void setLookup(Table& table, const Table::Field& f, const QString& piece)
{
    Table* source = f.lookupTable;
    if (!source || f.lookupKeys.size() != f.keyFields.size())
        return;
    try {
        if (!source->isOpen())
            source->open();
        for (int r = 0; r < source->rowCount(); ++r) {
            if (source->valueAt(r, f.lookupResult).toString() != piece)
                continue;
            for (int k = 0; k < f.keyFields.size(); ++k)
                table.setValue(f.keyFields[k], source->valueAt(r, f.lookupKeys[k]));
            return;
        }
    } catch (const Error&) {
    }
}

void fillRow(Table& table, const QList<Column>& columns, const QStringList& pieces)
{
    int p = 0;
    for (const Column& c : columns) {
        if (p >= pieces.size())
            return;
        if (!table.hasField(c.field)) {
            ++p;
            continue;
        }
        const Table::Field& f = table.field(c.field);
        const QString& piece = pieces[p++];
        if (cell::hasLookupSource(f)) {
            if (writable(table, f.keyFields.last(), columns) && !c.readOnly)
                setFromText(table, f.keyFields.last(), piece);
            ++p;  // its shown text
        } else if (f.kind == Table::FieldKind::Lookup) {
            if (!c.readOnly)
                setLookup(table, f, piece);
        } else if (writable(table, c.field, columns)) {
            setFromText(table, c.field, piece);
        }
    }
}

}  // namespace

PasteResult paste(Prompts& prompts, Table& table, const QList<Column>& columns, const QString& text)
{
    PasteResult result;
    QStringList lines = QString(text).remove(QLatin1Char('\r')).split(QLatin1Char('\n'));
    // The line break after the last line ends it; it does not start a row.
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    if (lines.isEmpty())
        return result;
    if (!settlePendingEdit(prompts, table)) {
        result.stopped = true;
        return result;
    }
    const bool several = lines.size() > 1;
    for (const QString& line : lines) {
        try {
            table.insert();
        } catch (const Error& e) {
            refusal::show(prompts, e);
            result.stopped = true;
            return result;
        }
        fillRow(table, columns, line.split(QLatin1Char('\t')));
        ++result.rows;
        if (!several) {
            result.leftOpen = true;
            return result;
        }
        try {
            table.post();
        } catch (const Error& e) {
            table.cancel();
            --result.rows;
            refusal::show(prompts, e);
            result.stopped = true;
            return result;
        }
    }
    return result;
}

}  // namespace clip
