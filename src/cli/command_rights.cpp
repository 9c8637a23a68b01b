// lunawactl rights show|grant: what a user or a user group is granted (the
// functions, the visible groups of children, the table and field rights),
// and granting them as the rights editors do, so that an institution's
// roles can be scripted.

#include "cli.h"
#include "module_session.h"
#include "option_values.h"

#include "shell/access_rules.h"
#include "shell/function_names.h"
#include "shell/memo_choice.h"
#include "shell/rights_descriptors.h"
#include "shell/rights_levels.h"
#include "store/database.h"
#include "store/error.h"
#include "store/query.h"

#include <QTextStream>

namespace cli {

namespace {

QString usage()
{
    return QStringLiteral("Użycie: lunawactl rights show --for-user NAZWA|--for-group NAZWA\n"
                          "       lunawactl rights grant --for-user NAZWA|--for-group NAZWA [--table T --level 0..5] "
                          "[--table T --field POLE --field-level 0|1|5] [--functions \"A;B\"] [--groups \"-1\"|\"1,3\"]");
}

// The user or user group the command is about, as its register row.
struct Target {
    QString table;  // UZYT or GRUPY
    rights_editing::Subject subject;
    QString functions;
    QString groups;
};

Target findTarget(Database& db, const QString& table, const QString& name)
{
    Query q(db, QStringLiteral("SELECT KOD, FUNKCJE, KLASY FROM %1 WHERE NAZWA = :N ORDER BY KOD").arg(table));
    q.bind(QStringLiteral("N"), name).exec();
    if (!q.next())
        throw Error(table == QLatin1String("UZYT") ? QStringLiteral("Nie ma użytkownika „%1”").arg(name)
                                                   : QStringLiteral("Nie ma grupy użytkowników „%1”").arg(name));
    const int code = q.value(0).toInt();
    return {table,
            table == QLatin1String("UZYT") ? rights_editing::Subject::user(code) : rights_editing::Subject::group(code),
            q.value(1).toString(), q.value(2).toString()};
}

QString levelText(int level, int mask, bool field)
{
    const QString caption = field ? rights_levels::fieldCaption(level) : rights_levels::tableCaption(level);
    return caption.isEmpty() ? QStringLiteral("maska %1").arg(mask) : caption;
}

void show(Context& ctx, Database& db, const Target& target)
{
    ctx.out << QStringLiteral("Funkcje: ") << storedLines(target.functions).join(QLatin1Char(';')) << '\n';
    ctx.out << QStringLiteral("Grupy dzieci: ") << storedLines(target.groups).join(QLatin1Char(',')) << '\n';
    const QString credential = target.subject.credential();
    for (const QString& table : db.tableNames()) {
        const rights_editing::TableLevels levels = rights_editing::readLevels(db, table, credential);
        int mask = 0;
        QList<int> fieldMasks;
        for (const RightsDescriptor& d : rights::readDescriptors(db, table))
            if (d.credential == credential) {
                mask = d.tableRights;
                fieldMasks = d.fieldRights;
            }
        ctx.out << table << '\t' << levelText(levels.level, mask, false) << '\n';
        if (!levels.described)
            continue;
        for (int i = 0; i < levels.fields.size(); ++i)
            if (levels.fields[i].level != 5)
                ctx.out << table << '.' << levels.fields[i].name << '\t'
                        << levelText(levels.fields[i].level, fieldMasks.value(i, rights::All), true) << '\n';
    }
}

// "A;B": names of the function table, "Zajecia dodatkowe obecnosci" or
// "Zajecia dodatkowe - " followed by a class code.
QStringList functionList(const QString& text)
{
    QStringList out;
    const QString classPrefix = permissions::extraClassFunction(QString());
    for (const QString& part : text.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString name = part.trimmed();
        bool known = functions::allFunctionNames().contains(name) || name == permissions::extraClassAttendanceFunction();
        if (!known && name.startsWith(classPrefix))
            name.mid(classPrefix.size()).toInt(&known);
        if (!known)
            throw UsageError(QStringLiteral("Nieznana funkcja „%1”").arg(name));
        if (!name.isEmpty() && !out.contains(name))
            out << name;
    }
    return out;
}

// "-1" or "1,3": the lines of KLASY; every code must be a group of children.
QStringList groupList(Database& db, const QString& text)
{
    QStringList out;
    for (const QString& part : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const int code = parseCode(part.trimmed(), QStringLiteral("--groups"));
        if (code == -1)
            return {QStringLiteral("-1")};
        if (!Query(db, QStringLiteral("SELECT COUNT(*) FROM KLASY WHERE KOD = :K")).bind(QStringLiteral("K"), code).scalar().toInt())
            throw Error(QStringLiteral("Nie ma grupy dzieci o kodzie %1").arg(code));
        if (!out.contains(QString::number(code)))
            out << QString::number(code);
    }
    return out;
}

void setMemo(Database& db, const Target& target, const QString& field, const QStringList& lines)
{
    Query(db, QStringLiteral("UPDATE %1 SET %2 = :V WHERE KOD = :K").arg(target.table, field))
        .bind(QStringLiteral("V"), lines.join(QStringLiteral("\r\n")))
        .bind(QStringLiteral("K"), target.subject.code)
        .exec();
}

int levelOption(Context& ctx, const QString& name, const QList<int>& allowed)
{
    const int level = parseCode(requiredOption(ctx, name), QLatin1String("--") + name);
    if (!allowed.contains(level))
        throw UsageError(QStringLiteral("Niedozwolona wartość opcji --%1: %2").arg(name).arg(level));
    return level;
}

int runRights(Context& ctx)
{
    return guarded(ctx, [&] {
        const QString action = ctx.arguments.value(0);
        if (ctx.arguments.size() != 1 || (action != QLatin1String("show") && action != QLatin1String("grant")))
            throw UsageError(usage());
        const auto forUser = optionValue(ctx, QStringLiteral("for-user"));
        const auto forGroup = optionValue(ctx, QStringLiteral("for-group"));
        if (bool(forUser) == bool(forGroup))
            throw UsageError(QStringLiteral("Podaj jedną z opcji --for-user NAZWA albo --for-group NAZWA"));

        const auto table = optionValue(ctx, QStringLiteral("table"));
        const bool tableLevel = ctx.options.isSet(QStringLiteral("level"));
        const auto field = optionValue(ctx, QStringLiteral("field"));
        const auto functionsText = optionValue(ctx, QStringLiteral("functions"));
        const auto groupsText = optionValue(ctx, QStringLiteral("groups"));
        int level = 0, fieldLevel = 0;
        QStringList functionLines;
        if (action == QLatin1String("grant")) {
            if ((tableLevel || field) && !table)
                throw UsageError(QStringLiteral("Brak opcji --table"));
            if (table && !tableLevel && !field)
                throw UsageError(QStringLiteral("Brak opcji --level albo --field"));
            if (!table && !functionsText && !groupsText)
                throw UsageError(usage());
            if (tableLevel)
                level = levelOption(ctx, QStringLiteral("level"), {0, 1, 2, 3, 4, 5});
            if (field)
                fieldLevel = levelOption(ctx, QStringLiteral("field-level"), {0, 1, 5});
            if (functionsText)
                functionLines = functionList(*functionsText);
        }

        int status = Success;
        auto session = openModuleSession(ctx, status);
        if (!session)
            return status;
        session->requireFunctions({QStringLiteral("Prawa dostepu")});
        Database& db = session->db();
        const Target target = forUser ? findTarget(db, QStringLiteral("UZYT"), *forUser)
                                      : findTarget(db, QStringLiteral("GRUPY"), *forGroup);
        if (action == QLatin1String("show")) {
            show(ctx, db, target);
            return int(Success);
        }
        const QStringList groupLines = groupsText ? groupList(db, *groupsText) : QStringList();
        db.batch([&] {
            if (functionsText)
                setMemo(db, target, QStringLiteral("FUNKCJE"), functionLines);
            if (groupsText)
                setMemo(db, target, QStringLiteral("KLASY"), groupLines);
        });
        const QString credential = target.subject.credential();
        if (tableLevel)
            rights_editing::grantTable(db, table->toUpper(), credential, level);
        if (field)
            rights_editing::grantField(db, table->toUpper(), credential, *field, fieldLevel);
        return int(Success);
    });
}

const Registration rightsCommand{{
    QStringLiteral("rights"),
    QStringLiteral("rights show|grant --for-user NAZWA|--for-group NAZWA [--table T --level 0..5] "
                   "[--field POLE --field-level 0|1|5] [--functions \"A;B\"] [--groups \"-1\"|\"1,3\"]"),
    runRights,
    {
        {QStringLiteral("for-user"), QStringLiteral("Użytkownik, którego prawa dotyczą."), QStringLiteral("NAZWA")},
        {QStringLiteral("for-group"), QStringLiteral("Grupa użytkowników, której prawa dotyczą."), QStringLiteral("NAZWA")},
        {QStringLiteral("table"), QStringLiteral("Tabela."), QStringLiteral("T")},
        {QStringLiteral("level"), QStringLiteral("Prawa tabeli 0..5."), QStringLiteral("0..5")},
        {QStringLiteral("field"), QStringLiteral("Pole tabeli."), QStringLiteral("POLE")},
        {QStringLiteral("field-level"), QStringLiteral("Prawa pola 0, 1 albo 5."), QStringLiteral("0|1|5")},
        {QStringLiteral("functions"), QStringLiteral("Funkcje oddzielone średnikami."), QStringLiteral("A;B")},
        {QStringLiteral("groups"), QStringLiteral("Grupy dzieci: -1 (wszystkie) albo kody po przecinku."),
         QStringLiteral("K,...")},
    },
}};

}  // namespace

}  // namespace cli
