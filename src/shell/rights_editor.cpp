#include "rights_editor.h"

#include "rights_levels.h"

#include "browser/prompts.h"
#include "store/database.h"
#include "store/error.h"

RightsEditor::RightsEditor(Database& db, Prompts& prompts, LevelDialog levelDialog)
    : m_db(db), m_prompts(prompts), m_levelDialog(std::move(levelDialog))
{
}

void RightsEditor::setSubject(rights_editing::Subject subject, const QString& caption)
{
    m_subject = subject;
    m_caption = caption;
}

QString RightsEditor::title() const
{
    return QStringLiteral("Prawa dostępu ") + m_caption;
}

QString RightsEditor::readErrorMessage()
{
    return QStringLiteral("Wystąpiły błędy przy pobieraniu informacji");
}

QString RightsEditor::selectedTablesName()
{
    return QStringLiteral("Wybrane tabele");
}

QString RightsEditor::chooseTablesTitle()
{
    return QStringLiteral("Wybierz tabele");
}

QList<rights_editing::TableLevels> RightsEditor::readAll()
{
    QList<rights_editing::TableLevels> out;
    bool failed = false;
    QStringList tables;
    try {
        tables = m_db.tableNames();
    } catch (const Error&) {
        failed = true;
    }
    for (const QString& table : tables) {
        if (auto levels = read(table))
            out << *levels;
        else
            failed = true;
    }
    if (failed)
        m_prompts.showError(readErrorMessage());
    return out;
}

std::optional<rights_editing::TableLevels> RightsEditor::read(const QString& table)
{
    try {
        return rights_editing::readLevels(m_db, table, m_subject.credential());
    } catch (const Error&) {
        return std::nullopt;
    }
}

bool RightsEditor::guarded(const std::function<void()>& write)
{
    try {
        write();
        return true;
    } catch (const Error& e) {
        m_prompts.showError(e.message());
        return false;
    }
}

bool RightsEditor::chooseTableLevel(const QString& table, int current)
{
    int level = current;
    if (!writable() || !m_levelDialog(QStringLiteral("Prawa tabeli ") + table, false, level))
        return false;
    return guarded([&] { rights_editing::grantTable(m_db, table, m_subject.credential(), level); });
}

bool RightsEditor::chooseFieldLevel(const QString& table, const QString& field, int current)
{
    int level = rights_levels::fieldLevelOfChoice(rights_levels::fieldChoiceOfLevel(current));
    if (!writable() || !m_levelDialog(QStringLiteral("Prawa pola ") + field, true, level))
        return false;
    return guarded([&] { rights_editing::grantField(m_db, table, m_subject.credential(), field, level); });
}

QStringList RightsEditor::chooseSelectedTables(const std::function<void(const QString&)>& before,
                                               const std::function<void(const QString&)>& after)
{
    int level = 0;
    if (!writable() || !m_levelDialog(QStringLiteral("Prawa tabeli ") + selectedTablesName(), false, level))
        return {};
    QList<PickEntry> tables;
    for (const QString& t : m_db.tableNames())
        tables.append({t, t});
    if (!m_prompts.pickChecks(chooseTablesTitle(), tables, 0))
        return {};
    QStringList written;
    for (const PickEntry& e : tables) {
        const QString table = e.value.toString();
        if (before)
            before(table);
        if (guarded([&] { rights_editing::grantTable(m_db, table, m_subject.credential(), level); }))
            written << table;
        if (after)
            after(table);
    }
    return written;
}
