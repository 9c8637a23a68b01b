#include "browser_run.h"

#include "store/query.h"
#include "store/rights.h"
#include "store/table.h"

KlasyModule::KlasyModule(RunContext& context)
    : TDMDane(context, QStringLiteral("TDMKlasy")), klasy(addDataSet(QStringLiteral("Klasy"), QStringLiteral("KLASY"), QStringLiteral("KOLEJ")))
{
    FieldView kod;
    kod.name = QStringLiteral("KOD");
    kod.caption = QStringLiteral("Kod");
    kod.readOnly = true;
    FieldView nazwa;
    nazwa.name = QStringLiteral("NAZWA");
    nazwa.caption = QStringLiteral("Nazwa");
    nazwa.role = roles::search();
    FieldView kolej;
    kolej.name = QStringLiteral("KOLEJ");
    kolej.caption = QStringLiteral("Kolejność");
    kolej.alignment = Qt::AlignRight;
    klasy.fields = {kod, nazwa, kolej};
}

BrowserRun::BrowserRun(WindowOpener* windows)
{
    baza = std::make_unique<TDMBaza>(store.location());
    baza->database().setCredentials({rights::masterCredential()});
    baza->setSystemDate(QDate(2024, 3, 5));
    context = std::make_unique<RunContext>(RunContext{*baza, prompts, windows ? *windows : opener, areas, {}, {}, {}, {}, nullptr});
    module = std::make_unique<KlasyModule>(*context);
}

BrowserRun::~BrowserRun()
{
    module.reset();
}

void BrowserRun::seed(const QList<QPair<QString, int>>& rows)
{
    Database& db = baza->database();
    Query(db, QStringLiteral("DELETE FROM KLASY")).exec();
    for (const auto& r : rows)
        Query(db, QStringLiteral("INSERT INTO KLASY (NAZWA, KOLEJ) VALUES (:N, :K)"))
            .bind(QStringLiteral("N"), r.first)
            .bind(QStringLiteral("K"), r.second)
            .exec();
    Table& t = *module->klasy.table;
    t.isOpen() ? t.refresh() : t.open();
}

QList<int> BrowserRun::positions()
{
    QList<int> out;
    Query q(baza->database(), QStringLiteral("SELECT KOLEJ FROM KLASY ORDER BY KOLEJ"));
    q.exec();
    while (q.next())
        out << q.value(0).toInt();
    return out;
}

QStringList BrowserRun::namesInOrder()
{
    QStringList out;
    Query q(baza->database(), QStringLiteral("SELECT NAZWA FROM KLASY ORDER BY KOLEJ"));
    q.exec();
    while (q.next())
        out << q.value(0).toString();
    return out;
}
