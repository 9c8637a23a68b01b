#include "paradox_migration_flow.h"

#include "paradox_migration.h"

#include "browser/message_log.h"
#include "browser/prompts.h"
#include "store/database.h"
#include "store/error.h"

#include <QDir>

namespace migration {

namespace {

class Busy {
public:
    explicit Busy(const std::function<void(bool)>& busy) : m_busy(busy)
    {
        if (m_busy)
            m_busy(true);
    }
    ~Busy()
    {
        if (m_busy)
            m_busy(false);
    }

private:
    const std::function<void(bool)>& m_busy;
};

}  // namespace

bool runFromChosenFolder(Database& db, Prompts& prompts, MessageLog& log, const std::function<void(bool)>& busy)
{
    QString folder = QDir::homePath();
    if (!prompts.chooseFolder(QStringLiteral("Folder z tabelami Paradox"), folder) || folder.isEmpty())
        return false;
    log.setTitle(QStringLiteral("Przenoszenie danych z tabel Paradox"));
    log.clearMessages();
    log.resetProgress();
    const int total = int(findTables(folder).size());
    Report report;
    try {
        Busy waiting(busy);
        report = migrateParadoxFolder(db, folder, [&](const QString& table) {
            log.step(total, QStringLiteral("Tabela %1").arg(table));
        });
    } catch (const Error& e) {
        log.resetProgress();
        log.addError(e.message());
        log.show(true);
        return false;
    }
    for (const TableReport& t : report.tables) {
        log.addRemark(QStringLiteral("%1: odczytano %2, zapisano %3").arg(t.table).arg(t.read).arg(t.written));
        for (const QString& note : t.notes)
            log.addRemark(QStringLiteral("%1: %2").arg(t.table, note));
        for (const QString& refused : t.refused)
            log.addError(QStringLiteral("%1: odrzucono %2").arg(t.table, refused));
    }
    for (const QString& note : report.notes)
        log.addRemark(note);
    log.step(0, QStringLiteral("Koniec operacji"), false);
    log.show(true);
    prompts.showInfo(QStringLiteral("Dane zostały przeniesione.\r\nZaloguj się ponownie, aby pracować na nich "
                                    "z prawami przeniesionych użytkowników."));
    return true;
}

}  // namespace migration
