#include "tdm_baza.h"

#include "table.h"

#include <QDir>
#include <QTemporaryDir>

TDMBaza::TDMBaza()
{
    start(StoreLocation::resolveDefault(), Opening::Now);
}

TDMBaza::TDMBaza(const StoreLocation& location, Opening opening)
{
    start(location, opening);
}

void TDMBaza::start(const StoreLocation& location, Opening opening)
{
    m_systemDate = QDate::currentDate();
    m_systemDateFilter = true;
    m_db = std::make_unique<Database>(location);
    if (opening == Opening::Now)
        m_db->open();
    m_dataDirectory = m_db->dataDirectory();
    // Each run keeps its temporary files in a folder of its own.
    QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/WSPXXXXXX"));
    dir.setAutoRemove(false);
    if (dir.isValid())
        m_privateDirectory = dir.path();
}

void TDMBaza::open()
{
    if (!m_db->isOpen())
        m_db->open();
}

TDMBaza::~TDMBaza()
{
    qDeleteAll(m_shared);
    m_shared.clear();
    if (m_db)
        m_db->close();
    // Errors while cleaning up are of no interest to anyone.
    if (!m_privateDirectory.isEmpty())
        QDir(m_privateDirectory).removeRecursively();
}

Table& TDMBaza::shared(const QString& tableName)
{
    const QString key = tableName.toUpper();
    auto it = m_shared.find(key);
    if (it == m_shared.end())
        it = m_shared.insert(key, new Table(*m_db, key));
    return **it;
}
