#include "tdm_sposoby.h"

#include "browser/prompts.h"
#include "store/error.h"
#include "store/query.h"
#include "store/table.h"

namespace {

}  // namespace

TDMSposoby::TDMSposoby(RunContext& context, DefinitionEditor editor, QObject* parent)
    : TDMDane(context, QStringLiteral("TDMSposoby"), parent), m_editor(std::move(editor))
{
    DataSet& ds = addDataSet(QStringLiteral("Sposoby"), QStringLiteral("SPOSOBY"), QStringLiteral("KOD"));
    FieldView definition = FieldView::column(QStringLiteral("OPIS"), QStringLiteral("Definicja"));
    // Typed by hand a definition could hold what the editor never writes.
    definition.readOnly = true;
    // Only the service account, or the program before anyone logged in,
    // sees how the methods are written.
    definition.visible = context.login.userCode == -1 || context.login.userCode == 0;
    ds.fields = {FieldView::column(QStringLiteral("NAZWA"), QStringLiteral("Nazwa")), definition};

    ds.table->events().beforeDelete = [](Table& t) {
        const QString lines = usageLines(t.database(), t.asInt(QStringLiteral("KOD")));
        if (!lines.isEmpty())
            throw Error(refusedDeletionMessage(lines));
    };

    Command describe;
    describe.name = QStringLiteral("Opisdefinicjisposobuliczenia1");
    describe.caption = QStringLiteral("Opis &definicji sposobu liczenia");
    describe.label = QStringLiteral("Opis def.");
    describe.wanted = bool(m_editor);
    describe.handler = [this] { describeDefinition(); };
    Command usage;
    usage.name = QStringLiteral("Sprawdgdziewystpuje1");
    usage.caption = QStringLiteral("&Sprawdź gdzie występuje");
    usage.label = QStringLiteral("Sprawdź gdzie");
    usage.handler = [this] { showUsage(); };
    ds.commands = {describe, usage};

    applyFunctions();
}

QString TDMSposoby::usageLines(Database& db, int method)
{
    Query q(db, QStringLiteral("select count(*) as IL, 'S' as CO "
                               "from DZIEMED "
                               "where (SPOSOB = :KOD) or (SPOROZ = :KOD) "
                               "union all "
                               "select count(*) as IL, 'K' as CO "
                               "from MEDSPOS "
                               "where (SPOSOB = :KOD) or (SPOROZ = :KOD)"));
    q.bind(QStringLiteral("KOD"), method).exec();
    QString lines;
    while (q.next()) {
        if (q.value(0).toInt() <= 0)
            continue;
        const QString kind = q.value(1).toString();
        if (kind == QLatin1String("S"))
            lines += QStringLiteral("\r\n- składnikach opłat dzieci");
        else if (kind == QLatin1String("K"))
            lines += QStringLiteral("\r\n- składnikach opłat");
    }
    return lines;
}

QList<fees::ExtraClass> TDMSposoby::extraClasses(Database& db)
{
    Query q(db, QStringLiteral("SELECT KOD, NAZWA FROM ZAJDOD ORDER BY KOLEJ, KOD"));
    q.exec();
    QList<fees::ExtraClass> out;
    while (q.next())
        out.append({q.value(0).toInt(), q.value(1).toString()});
    return out;
}

QString TDMSposoby::refusedDeletionMessage(const QString& lines)
{
    return QStringLiteral("Nie można skasować sposobu, gdyż występuje on w:") + lines;
}

void TDMSposoby::describeDefinition()
{
    Table& t = *methods().table;
    if (!m_editor || !t.isOpen() || (t.isEmpty() && t.state() != Table::State::Insert))
        return;
    QString definition = t.text(QStringLiteral("OPIS"));
    if (!m_editor(context(), QStringLiteral("Opis definicji sposobu liczenia"), definition))
        return;
    // The editor refuses a longer text itself; cutting one would store a
    // different method than the one written.
    if (const QString refusal = fees::definitionLengthRefusal(definition); !refusal.isEmpty()) {
        context().prompts.showError(refusal);
        return;
    }
    if (!t.isEditing())
        t.edit();
    t.setValue(QStringLiteral("OPIS"), definition);
}

void TDMSposoby::showUsage()
{
    Table& t = *methods().table;
    if (!t.isOpen() || t.isEmpty())
        return;
    // A row being inserted has no key yet and is assigned nowhere.
    const QString lines = t.state() == Table::State::Insert
                              ? QString()
                              : usageLines(context().db(), t.asInt(QStringLiteral("KOD")));
    context().prompts.showInfo(QStringLiteral("Sposób występuje w:") + lines);
}
