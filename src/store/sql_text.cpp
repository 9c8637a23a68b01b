#include "sql_text.h"

#include "rights.h"

#include <QRegularExpression>

namespace sqltext {

namespace {

struct Token {
    enum Kind { Word, Quoted, String, Symbol } kind;
    QString text;
    qsizetype begin;
    qsizetype end;  // one past the last character
};

QList<Token> tokenize(const QString& sql)
{
    QList<Token> out;
    qsizetype i = 0;
    const qsizetype n = sql.size();
    while (i < n) {
        const QChar c = sql[i];
        if (c.isSpace()) {
            ++i;
        } else if (c == QLatin1Char('-') && i + 1 < n && sql[i + 1] == QLatin1Char('-')) {
            while (i < n && sql[i] != QLatin1Char('\n'))
                ++i;
        } else if (c == QLatin1Char('/') && i + 1 < n && sql[i + 1] == QLatin1Char('*')) {
            // A block comment separates words like a space; unclosed, it runs to the end.
            const qsizetype close = sql.indexOf(QLatin1String("*/"), i + 2);
            i = close < 0 ? n : close + 2;
        } else if (c == QLatin1Char('\'')) {
            const qsizetype b = i++;
            while (i < n) {
                if (sql[i] == QLatin1Char('\'')) {
                    if (i + 1 < n && sql[i + 1] == QLatin1Char('\'')) {
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                ++i;
            }
            out.append({Token::String, sql.mid(b, i - b), b, i});
        } else if (c == QLatin1Char('"')) {
            const qsizetype b = i++;
            while (i < n && sql[i] != QLatin1Char('"'))
                ++i;
            if (i < n)
                ++i;
            out.append({Token::Quoted, sql.mid(b + 1, i - b - 2).toUpper(), b, i});
        } else if (c.isLetter() || c == QLatin1Char('_')) {
            const qsizetype b = i;
            while (i < n && (sql[i].isLetterOrNumber() || sql[i] == QLatin1Char('_') || sql[i] == QLatin1Char('$')))
                ++i;
            out.append({Token::Word, sql.mid(b, i - b).toUpper(), b, i});
        } else if (c.isDigit()) {
            const qsizetype b = i;
            while (i < n && (sql[i].isLetterOrNumber() || sql[i] == QLatin1Char('.')))
                ++i;
            out.append({Token::Symbol, sql.mid(b, i - b), b, i});
        } else {
            out.append({Token::Symbol, QString(c), i, i + 1});
            ++i;
        }
    }
    return out;
}

bool isWord(const QList<Token>& t, qsizetype i, const char* w)
{
    return i >= 0 && i < t.size() && t[i].kind == Token::Word && t[i].text == QLatin1String(w);
}

bool isSymbol(const QList<Token>& t, qsizetype i, char s)
{
    return i >= 0 && i < t.size() && t[i].kind == Token::Symbol && t[i].text == QLatin1Char(s);
}

// Index of the ")" closing the "(" at `open`, or -1.
qsizetype closing(const QList<Token>& t, qsizetype open)
{
    int depth = 0;
    for (qsizetype i = open; i < t.size(); ++i) {
        if (isSymbol(t, i, '('))
            ++depth;
        else if (isSymbol(t, i, ')') && --depth == 0)
            return i;
    }
    return -1;
}

QString sqliteExtract(const QString& part, const QString& arg)
{
    static const QHash<QString, QString> formats{
        {QStringLiteral("YEAR"), QStringLiteral("%Y")},   {QStringLiteral("MONTH"), QStringLiteral("%m")},
        {QStringLiteral("DAY"), QStringLiteral("%d")},    {QStringLiteral("HOUR"), QStringLiteral("%H")},
        {QStringLiteral("MINUTE"), QStringLiteral("%M")},
    };
    return QStringLiteral("CAST(strftime('%1', %2) AS INTEGER)").arg(formats.value(part), arg);
}

// One pass of rewriting: the first construct found is replaced, and the
// caller repeats until nothing changes (constructs may nest).
bool rewriteOnce(QString& sql, Engine engine)
{
    const QList<Token> t = tokenize(sql);
    for (qsizetype i = 0; i < t.size(); ++i) {
        if (isWord(t, i, "EXTRACT") && isSymbol(t, i + 1, '(') && t.value(i + 2).kind == Token::Word
            && isWord(t, i + 3, "FROM")) {
            const qsizetype close = closing(t, i + 1);
            if (close < 0)
                return false;
            const QString part = t[i + 2].text;
            if (part != QLatin1String("YEAR") && part != QLatin1String("MONTH") && part != QLatin1String("DAY")
                && part != QLatin1String("HOUR") && part != QLatin1String("MINUTE"))
                continue;
            const QString arg = sql.mid(t[i + 4].begin, t[close].begin - t[i + 4].begin).trimmed();
            const QString replacement = engine == Engine::SQLite
                ? sqliteExtract(part, arg)
                : QStringLiteral("CAST(date_part('%1', %2) AS INTEGER)").arg(part.toLower(), arg);
            sql.replace(t[i].begin, t[close].end - t[i].begin, replacement);
            return true;
        }
        if (engine == Engine::SQLite && isWord(t, i, "DATE") && i + 1 < t.size() && t[i + 1].kind == Token::String
            && !isSymbol(t, i - 1, '.')) {
            sql.remove(t[i].begin, t[i + 1].begin - t[i].begin);
            return true;
        }
        if (engine == Engine::SQLite && isWord(t, i, "SUBSTRING") && isSymbol(t, i + 1, '(')) {
            const qsizetype close = closing(t, i + 1);
            if (close < 0)
                return false;
            qsizetype from = -1, forPos = -1;
            int depth = 0;
            for (qsizetype k = i + 2; k < close; ++k) {
                if (isSymbol(t, k, '('))
                    ++depth;
                else if (isSymbol(t, k, ')'))
                    --depth;
                else if (depth == 0 && isWord(t, k, "FROM") && from < 0)
                    from = k;
                else if (depth == 0 && isWord(t, k, "FOR") && from >= 0)
                    forPos = k;
            }
            if (from < 0)
                continue;
            auto text = [&](qsizetype a, qsizetype b) { return sql.mid(t[a].begin, t[b].begin - t[a].begin).trimmed(); };
            QString replacement = QStringLiteral("substr(%1, %2").arg(text(i + 2, from), text(from + 1, forPos < 0 ? close : forPos));
            if (forPos >= 0)
                replacement += QStringLiteral(", ") + text(forPos + 1, close);
            replacement += QLatin1Char(')');
            sql.replace(t[i].begin, t[close].end - t[i].begin, replacement);
            return true;
        }
    }
    return false;
}

}  // namespace

QString rewrite(const QString& sql, Engine engine)
{
    QString out = sql;
    for (int guard = 0; guard < 100 && rewriteOnce(out, engine); ++guard) {}
    return out;
}

bool returnsRows(const QString& sql)
{
    const QList<Token> t = tokenize(sql);
    qsizetype i = 0;
    while (isSymbol(t, i, '('))
        ++i;
    return isWord(t, i, "SELECT") || isWord(t, i, "WITH") || isWord(t, i, "VALUES")
        || (isWord(t, i, "PRAGMA"));
}

QList<TableUse> tablesUsed(const QString& sql)
{
    const QList<Token> t = tokenize(sql);
    QList<TableUse> out;
    auto add = [&](qsizetype i, int mask) {
        if (i < t.size() && (t[i].kind == Token::Word || t[i].kind == Token::Quoted)) {
            QString name = t[i].text;
            // schema.table: the table is the last part
            if (isSymbol(t, i + 1, '.') && i + 2 < t.size())
                name = t[i + 2].text;
            out.append({name, mask});
        }
    };
    qsizetype first = 0;
    while (isSymbol(t, first, '('))
        ++first;
    const bool ddl = isWord(t, first, "CREATE") || isWord(t, first, "DROP") || isWord(t, first, "ALTER")
        || isWord(t, first, "TRUNCATE") || isWord(t, first, "GRANT") || isWord(t, first, "REVOKE")
        || isWord(t, first, "COPY") || isWord(t, first, "VACUUM") || isWord(t, first, "REINDEX");
    if (ddl) {
        if (isWord(t, first, "ALTER") && isWord(t, first + 1, "TABLE"))
            add(first + 2, rights::Restructure);
        else if (isWord(t, first, "CREATE") && (isWord(t, first + 1, "INDEX") || isWord(t, first + 2, "INDEX"))) {
            for (qsizetype i = first; i < t.size(); ++i)
                if (isWord(t, i, "ON")) {
                    add(i + 1, rights::Restructure);
                    break;
                }
        } else
            out.append({QString(), rights::Restructure});
    }
    for (qsizetype i = 0; i < t.size(); ++i) {
        if (t[i].kind != Token::Word)
            continue;
        const QString& w = t[i].text;
        if (w == QLatin1String("INSERT") && isWord(t, i + 1, "INTO")) {
            add(i + 2, rights::Insert);
            ++i;
        } else if (w == QLatin1String("UPDATE") && !isWord(t, i - 1, "FOR")) {
            add(i + 1, rights::Modify);
        } else if (w == QLatin1String("DELETE") && isWord(t, i + 1, "FROM")) {
            add(i + 2, rights::Delete);
            ++i;
        } else if (w == QLatin1String("FROM") || w == QLatin1String("JOIN")) {
            if (isWord(t, i - 1, "DISTINCT") && isWord(t, i - 2, "IS"))
                continue;  // IS DISTINCT FROM
            // FROM a [AS] x, b y JOIN ...: every item of the list is read.
            qsizetype k = i + 1;
            while (k < t.size()) {
                if (isSymbol(t, k, '('))
                    break;  // a subquery is scanned on its own
                add(k, rights::Read);
                ++k;
                if (isSymbol(t, k, '.'))
                    k += 2;
                if (isWord(t, k, "AS"))
                    ++k;
                if (k < t.size() && t[k].kind == Token::Word && !QStringList{
                        QStringLiteral("WHERE"), QStringLiteral("JOIN"), QStringLiteral("INNER"), QStringLiteral("LEFT"),
                        QStringLiteral("RIGHT"), QStringLiteral("FULL"), QStringLiteral("CROSS"), QStringLiteral("ON"),
                        QStringLiteral("GROUP"), QStringLiteral("ORDER"), QStringLiteral("UNION"), QStringLiteral("HAVING"),
                        QStringLiteral("LIMIT"), QStringLiteral("NATURAL"), QStringLiteral("EXCEPT"),
                        QStringLiteral("INTERSECT"), QStringLiteral("OUTER"), QStringLiteral("USING"), QStringLiteral("SET"),
                        QStringLiteral("RETURNING"), QStringLiteral("FOR"), QStringLiteral("OFFSET"), QStringLiteral("WINDOW")}
                                                                   .contains(t[k].text))
                    ++k;  // alias
                if (!isSymbol(t, k, ','))
                    break;
                ++k;
            }
        }
    }
    return out;
}

namespace {

bool isName(const QList<Token>& t, qsizetype i)
{
    return i >= 0 && i < t.size() && (t[i].kind == Token::Word || t[i].kind == Token::Quoted);
}

// Skips "WITH [RECURSIVE] name [(columns)] AS [NOT] [MATERIALIZED] (...), ..."
// and returns the index of the statement's verb, or -1.
qsizetype skipWith(const QList<Token>& t, qsizetype i)
{
    if (!isWord(t, i, "WITH"))
        return i;
    ++i;
    if (isWord(t, i, "RECURSIVE"))
        ++i;
    for (;;) {
        if (!isName(t, i))
            return -1;
        ++i;
        if (isSymbol(t, i, '(')) {
            i = closing(t, i);
            if (i < 0)
                return -1;
            ++i;
        }
        if (!isWord(t, i, "AS"))
            return -1;
        ++i;
        if (isWord(t, i, "NOT"))
            ++i;
        if (isWord(t, i, "MATERIALIZED"))
            ++i;
        if (!isSymbol(t, i, '('))
            return -1;
        i = closing(t, i);
        if (i < 0)
            return -1;
        ++i;
        if (!isSymbol(t, i, ','))
            return i;
        ++i;
    }
}

// "OR ROLLBACK|ABORT|REPLACE|FAIL|IGNORE" at i: moves past it and tells
// whether it replaces; false with i unchanged when there is none.
bool conflictClause(const QList<Token>& t, qsizetype& i, bool& replaces, bool& understood)
{
    if (!isWord(t, i, "OR"))
        return false;
    static const char* const kinds[] = {"ROLLBACK", "ABORT", "REPLACE", "FAIL", "IGNORE"};
    for (const char* k : kinds)
        if (isWord(t, i + 1, k)) {
            replaces = replaces || qstrcmp(k, "REPLACE") == 0;
            i += 2;
            return true;
        }
    understood = false;
    return false;
}

}  // namespace

QStringList cteNames(const QString& sql)
{
    const QList<Token> t = tokenize(sql);
    QStringList out;
    for (qsizetype i = 0; i < t.size(); ++i) {
        if (!isWord(t, i, "WITH"))
            continue;
        qsizetype k = i + 1;
        if (isWord(t, k, "RECURSIVE"))
            ++k;
        // name [(columns)] AS [NOT] [MATERIALIZED] (...) [, ...]
        while (isName(t, k)) {
            const QString name = t[k].text;
            ++k;
            if (isSymbol(t, k, '(')) {
                k = closing(t, k);
                if (k < 0)
                    return out;
                ++k;
            }
            if (!isWord(t, k, "AS"))
                break;
            out << name;
            ++k;
            if (isWord(t, k, "NOT"))
                ++k;
            if (isWord(t, k, "MATERIALIZED"))
                ++k;
            if (!isSymbol(t, k, '('))
                break;
            k = closing(t, k);
            if (k < 0)
                return out;
            ++k;
            if (!isSymbol(t, k, ','))
                break;
            ++k;
        }
    }
    return out;
}

WriteStatement classifyWrite(const QString& sql)
{
    const QList<Token> t = tokenize(sql);
    WriteStatement w;
    qsizetype i = skipWith(t, 0);
    if (i < 0 || i >= t.size())
        return w;
    // Whatever follows a ";" is another statement: not one this reading knows.
    for (qsizetype k = i; k < t.size(); ++k)
        if (isSymbol(t, k, ';') && k + 1 < t.size())
            return w;
    bool understood = true;
    if (isWord(t, i, "INSERT") || isWord(t, i, "REPLACE")) {
        w.verb = WriteStatement::Insert;
        w.replaces = isWord(t, i, "REPLACE");
        ++i;
        if (!w.replaces)
            conflictClause(t, i, w.replaces, understood);
        if (!isWord(t, i, "INTO"))
            return w;
        ++i;
    } else if (isWord(t, i, "UPDATE")) {
        w.verb = WriteStatement::Update;
        ++i;
        conflictClause(t, i, w.replaces, understood);
    } else if (isWord(t, i, "DELETE")) {
        w.verb = WriteStatement::Delete;
        ++i;
        if (!isWord(t, i, "FROM"))
            return w;
        ++i;
    } else {
        return w;
    }
    if (!understood || !isName(t, i))
        return w;
    w.table = t[i].text;
    ++i;
    if (isSymbol(t, i, '.')) {
        if (!isName(t, i + 1))
            return w;
        w.table = t[i + 1].text;
        i += 2;
    }
    if (w.verb == WriteStatement::Insert) {
        if (isWord(t, i, "AS") && isName(t, i + 1))
            i += 2;
        if (isSymbol(t, i, '(')) {
            ++i;
            for (;;) {
                if (!isName(t, i))
                    return w;
                w.columns << t[i].text;
                ++i;
                if (isSymbol(t, i, ')'))
                    break;
                if (!isSymbol(t, i, ','))
                    return w;
                ++i;
            }
            ++i;
        } else if (isWord(t, i, "DEFAULT") && isWord(t, i + 1, "VALUES")) {
            i += 2;
        } else {
            w.allColumns = true;
        }
        // ON CONFLICT ... DO UPDATE modifies the row it meets.
        for (qsizetype k = i; k < t.size(); ++k)
            if (isWord(t, k, "DO") && isWord(t, k + 1, "UPDATE"))
                w.upsertUpdate = true;
    }
    w.understood = true;
    return w;
}

}  // namespace sqltext
