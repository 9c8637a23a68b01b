#pragma once
// Searching a browser's data set for a text in one field.

#include "browser/prompts.h"
#include "store/schema.h"

#include <QString>
#include <QVariant>

class Table;

namespace search {

// Numbers, dates and times by equal value (the text read as the type),
// text by case-insensitive prefix or, with `anyFragment`, containment.
bool matches(const QVariant& value, FieldType type, const QString& text, bool anyFragment);

// The first matching row from `from` on; with `wrap` the rows before
// `from` are tried after the end. -1 when none matches.
int scan(const Table& table, const QString& field, const QString& text, bool anyFragment, int from, bool wrap);

// The last search of a window, for "Szukanie" (F3).
struct State {
    QString text;
    bool anyFragment = false;
};

// "&Wyszukaj": asks "Wyszukiwanie" labelled with the column's caption
// (text fields with "Dowolny fragment"), then scans from the first row.
// Returns the found row, -1 when nothing matches or it was cancelled.
int ask(Prompts& prompts, const Table& table, const QString& field, const QString& caption, State& state);
// "Szukanie": from the row after the current one with the last text.
int again(const Table& table, const QString& field, const State& state);
// A quick search box: from the current row, wrapping once.
int quick(const Table& table, const QString& field, const QString& text);

}  // namespace search
