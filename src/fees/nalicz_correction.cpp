#include "nalicz_correction.h"

#include "browser/prompts.h"
#include "store/database.h"
#include "store/error.h"
#include "store/query.h"
#include "store/values.h"

namespace fees {

void refuseSilently()
{
    throw Error(QString());
}

bool isSilentRefusal(const Error& e)
{
    return e.message().isEmpty();
}

namespace {

const QString kId = QStringLiteral("ID");

// Inserts a row of the given columns (empty values left out) and returns
// its auto-numbered ID.
QVariant insertRow(Database& db, const QString& table, const QVariantMap& row)
{
    QStringList columns, params;
    QList<QPair<QString, QVariant>> binds;
    for (auto it = row.constBegin(); it != row.constEnd(); ++it) {
        if (it.key() == kId || values::isEmpty(it.value()))
            continue;
        const QString p = QStringLiteral("p%1").arg(binds.size());
        columns << it.key();
        params << QLatin1Char(':') + p;
        binds.append({p, it.value()});
    }
    const bool pg = db.engine() == Engine::PostgreSQL;
    QString sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                      .arg(table, columns.join(QStringLiteral(", ")), params.join(QStringLiteral(", ")));
    if (pg)
        sql += QStringLiteral(" RETURNING ID");
    Query q(db, sql);
    for (const auto& [name, v] : binds)
        q.bind(name, v);
    q.exec();
    if (pg)
        return q.next() ? QVariant(q.value(0).toLongLong()) : QVariant();
    return Query(db, QStringLiteral("SELECT last_insert_rowid()")).scalar().toLongLong();
}

QVariant negated(const QVariant& v)
{
    return values::isEmpty(v) ? QVariant() : QVariant(-v.toDouble());
}

}  // namespace

CorrectionBook::CorrectionBook(Database& db, Prompts& prompts, std::function<QDate()> systemDate)
    : m_db(db), m_prompts(prompts), m_systemDate(std::move(systemDate))
{
}

int CorrectionBook::payerOf(int invoice, const QVariantMap& line) const
{
    // A help centre's share stands on the help centre's invoice, and so
    // does its correction.
    const QVariant payer = Query(m_db, QStringLiteral("SELECT OSOBA FROM FAKT WHERE ID = :ID"))
                               .bind(QStringLiteral("ID"), invoice)
                               .scalar();
    return values::isEmpty(payer) ? line.value(QStringLiteral("OSOBA")).toInt() : payer.toInt();
}

CorrectionBook::Start CorrectionBook::start(const QVariantMap& line)
{
    if (line.value(QStringLiteral("LPF")).toInt() < 0)
        throw Error(correctionLineRefusal());
    const int original = line.value(QStringLiteral("IDF")).toInt();
    const Key key{original, line.value(QStringLiteral("OSOBA")).toInt()};
    if (!m_invoices.contains(key)) {
        if (!m_prompts.askYesNo(question()))
            return Start::InPlace;
        m_invoices.insert(key, prepareInvoice(line, original));
    }
    m_pending = Pending{line, key};
    return Start::Correction;
}

CorrectionBook::Invoice CorrectionBook::prepareInvoice(const QVariantMap& line, int original)
{
    const QDate today = m_systemDate();
    int year = today.year(), month = today.month();
    if (!m_prompts.pickMonth(promptTitle(), QStringLiteral("Wybierz miesiąc księgowania"), year, month))
        refuseSilently();
    const QVariant booking = Query(m_db, QStringLiteral("SELECT KOD FROM MIESIACE WHERE ROK = :R AND MIES = :M"))
                                 .bind(QStringLiteral("R"), year)
                                 .bind(QStringLiteral("M"), month)
                                 .scalar();
    if (values::isEmpty(booking))
        throw Error(noMonthMessage());
    QDate issued = QDate::currentDate();
    if (!m_prompts.pickDate(promptTitle(), QStringLiteral("Wybierz datę wystawienia"), issued))
        refuseSilently();
    QDate due = QDate::currentDate();
    if (!m_prompts.pickDate(promptTitle(), QStringLiteral("Wybierz termin płatności"), due))
        refuseSilently();

    Invoice inv;
    inv.month = booking.toInt();
    inv.payer = payerOf(original, line);
    inv.original = original;
    inv.issued = issued;
    inv.due = due;
    Query existing(m_db, QStringLiteral("SELECT ID FROM FAKT WHERE OSOBA = :P AND KOD = :K AND WYST = :W "
                                        "AND TERMIN = :T AND PIERW = :F ORDER BY ID"));
    existing.bind(QStringLiteral("P"), inv.payer)
        .bind(QStringLiteral("K"), inv.month)
        .bind(QStringLiteral("W"), issued)
        .bind(QStringLiteral("T"), due)
        .bind(QStringLiteral("F"), original)
        .exec();
    if (existing.next()) {
        inv.id = existing.value(0).toLongLong();
        return inv;
    }
    QString title;
    m_prompts.askText(promptTitle(), QStringLiteral("Podaj tekst tytułem"), title);  // cancelled: no title
    inv.title = title.left(40);
    return inv;
}

void CorrectionBook::book(const QVariantMap* changed)
{
    if (!m_pending)
        return;
    Invoice& inv = m_invoices[m_pending->invoiceOf];
    QVariant id = inv.id;
    m_db.batch([&] {
        if (values::isEmpty(id)) {
            const int last = Query(m_db, QStringLiteral("SELECT MAX(NUMER) FROM FAKT WHERE KOD = :K AND PIERW IS NOT NULL"))
                                 .bind(QStringLiteral("K"), inv.month)
                                 .scalar()
                                 .toInt();
            id = insertRow(m_db, QStringLiteral("FAKT"),
                           {{QStringLiteral("KOD"), inv.month},
                            {QStringLiteral("NUMER"), last + 1},
                            {QStringLiteral("OSOBA"), inv.payer},
                            {QStringLiteral("WYST"), inv.issued},
                            {QStringLiteral("TERMIN"), inv.due},
                            {QStringLiteral("TYTUL"), inv.title},
                            {QStringLiteral("PIERW"), inv.original}});
        }
        QVariantMap reversing = m_pending->line;
        for (const QString& f : {QStringLiteral("ILOSC"), QStringLiteral("WARTOSC"), QStringLiteral("VAT")})
            reversing.insert(f, negated(reversing.value(f)));
        const QVariant lpf = reversing.value(QStringLiteral("LPF"));
        reversing.insert(QStringLiteral("LPF"), values::isEmpty(lpf) ? QVariant() : QVariant(-lpf.toInt()));
        reversing.insert(QStringLiteral("IDF"), id);
        insertRow(m_db, QStringLiteral("NALICZ"), reversing);
        if (changed) {
            QVariantMap copy = *changed;
            copy.insert(QStringLiteral("IDF"), id);
            insertRow(m_db, QStringLiteral("NALICZ"), copy);
        }
    });
    inv.id = id;
    m_pending.reset();
}

void CorrectionBook::discard()
{
    if (!m_pending)
        return;
    const auto it = m_invoices.find(m_pending->invoiceOf);
    if (it != m_invoices.end() && values::isEmpty(it->id))
        m_invoices.erase(it);
    m_pending.reset();
}

}  // namespace fees
