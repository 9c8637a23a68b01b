#pragma once
// A run for the children register's tests: groups and children put in by
// SQL, and the register made with settings kept in memory.

#include "shell/register_fixture.h"

#include "browser/key_value_settings.h"
#include "registers/tdm_dzieci.h"
#include "store/error.h"
#include "store/query.h"
#include "store/table.h"
#include "store/values.h"

#include <memory>

class DzieciTest : public RegisterTest {
protected:
    int addGroup(const QString& name, int kolej)
    {
        Query(*db, QStringLiteral("insert into KLASY (NAZWA, KOLEJ) values (:N, :K)"))
            .bind(QStringLiteral("N"), name)
            .bind(QStringLiteral("K"), kolej)
            .exec();
        return Query(*db, QStringLiteral("select KOD from KLASY where NAZWA = :N")).bind(QStringLiteral("N"), name).scalar().toInt();
    }
    int addChild(const QString& name, const QVariant& group, const QString& pesel = QString())
    {
        const bool active = !group.isNull() && group.toInt() != 0;
        Query(*db, QStringLiteral("insert into DZIECI (NAZWA, ULICA, KLASA, PESEL, AKTYWNY) values (:N, 'Polna 1', :K, :P, :A)"))
            .bind(QStringLiteral("N"), name)
            .bind(QStringLiteral("K"), group)
            .bind(QStringLiteral("P"), pesel)
            .bind(QStringLiteral("A"), active ? QStringLiteral("T") : QStringLiteral("N"))
            .exec();
        return Query(*db, QStringLiteral("select max(KOD) from DZIECI")).scalar().toInt();
    }
    int count(const QString& sql, const QVariant& kod = {})
    {
        Query q(*db, sql);
        if (kod.isValid())
            q.bind(QStringLiteral("O"), kod);
        return q.scalar().toInt();
    }
    TDMDzieci& module()
    {
        if (!m_module) {
            m_module = std::make_unique<TDMDzieci>(context(), &settings);
            m_module->children().table->open();
        }
        return *m_module;
    }
    Table& kids() { return *module().children().table; }
    void goTo(int kod) { ASSERT_TRUE(kids().locate({QStringLiteral("KOD")}, {kod})); }
    static QString refusal(const std::function<void()>& f)
    {
        try {
            f();
        } catch (const Error& e) {
            return e.message();
        }
        return QStringLiteral("(nie odmówiono)");
    }
    // The modules go before the settings they write their order to.
    void TearDown() override
    {
        m_module.reset();
        opener.windows.clear();
    }

    MemorySettings settings;
    std::unique_ptr<TDMDzieci> m_module;
};
