#include "charge_approve.h"

#include "browser/prompts.h"
#include "fees/charge_lines.h"
#include "store/database.h"
#include "store/params.h"
#include "store/query.h"

#include <QHash>
#include <QSet>

namespace fees {

QString invoiceTitle(const QString& text)
{
    return text.left(40);
}

namespace {

struct ComputedLine {
    qint64 id = 0;
    int component = 0;
    int helpCentre = 0;  // IDOPIE; 0 when the child pays
    ChargeLine amounts;  // as computed, checked before it becomes final
};

// The invoice a payer's lines go on in this run.
struct InvoiceSlot {
    qint64 id = 0;
    int lastLine = 0;
};

class ApproveOperation : public ChargeOperationRun {
public:
    QString progressText() const override { return QStringLiteral("Wyliczanie"); }

    bool ask(ChargeRunState& state) override
    {
        if (!state.invoicing)
            return true;
        const QString title = QStringLiteral("Zatwierdzanie opłat");
        m_issueDate = state.chargeMonth.first;
        m_paymentTerm = state.chargeMonth.last;
        m_title = state.params.fakturyTytulem;
        return state.prompts.pickDate(title, QStringLiteral("Wybierz datę wystawienia"), m_issueDate)
            && state.prompts.pickDate(title, QStringLiteral("Wybierz termin płatności"), m_paymentTerm)
            && state.prompts.askText(title, QStringLiteral("Wybierz opis faktur"), m_title);
    }

    void begin(ChargeRunState& state) override
    {
        Database& db = state.db;
        const int month = state.chargeMonth.code;
        const QList<int> codes = state.childCodes();
        const QSet<int> wanted(codes.cbegin(), codes.cend());
        {
            Query q(db, QStringLiteral("SELECT ID, OSOBA, MEDIUM, ILOSC, CENA, WARTOSC%1 FROM NALICZ "
                                       "WHERE KOD = :K AND TYP = '0' ORDER BY ID")
                            .arg(state.invoicing ? QStringLiteral(", IDOPIE, VAT") : QString()));
            q.bind(QStringLiteral("K"), month).exec();
            while (q.next()) {
                const int child = q.value(1).toInt();
                if (!wanted.contains(child))
                    continue;
                ComputedLine line;
                line.id = q.value(0).toLongLong();
                line.component = q.value(2).toInt();
                line.amounts.quantity = q.value(3).toDouble();
                line.amounts.price = q.value(4).toDouble();
                line.amounts.value = q.value(5).toDouble();
                if (state.invoicing) {
                    line.helpCentre = q.value(6).toInt();
                    line.amounts.vat = q.value(7);
                }
                m_lines[child] << line;
            }
        }
        if (state.invoicing) {
            m_counter = Query(db, QStringLiteral("SELECT MAX(NUMER) FROM FAKT WHERE KOD = :K AND (PIERW IS NULL OR PIERW = 0)"))
                            .bind(QStringLiteral("K"), month)
                            .scalar()
                            .toInt();
            Query q(db, QStringLiteral("SELECT ID, OSOBA FROM FAKT WHERE KOD = :K AND WYST = :W AND TERMIN = :T "
                                       "AND (PIERW IS NULL OR PIERW = 0) ORDER BY ID"));
            q.bind(QStringLiteral("K"), month)
                .bind(QStringLiteral("W"), m_issueDate)
                .bind(QStringLiteral("T"), m_paymentTerm)
                .exec();
            while (q.next())
                m_earlier.insert(q.value(1).toInt(), q.value(0).toLongLong());  // the last one stays
            const bool pg = db.engine() == Engine::PostgreSQL;
            m_insertInvoice = std::make_unique<Query>(
                db, QStringLiteral("INSERT INTO FAKT (KOD, NUMER, OSOBA, WYST, TERMIN, TYTUL) "
                                   "VALUES (:K, :N, :O, :W, :T, :TYT)")
                        + (pg ? QStringLiteral(" RETURNING ID") : QString()));
            if (!pg)
                m_lastId = std::make_unique<Query>(db, QStringLiteral("SELECT last_insert_rowid()"));
            m_approve = std::make_unique<Query>(
                db, QStringLiteral("UPDATE NALICZ SET TYP = '1', IDF = :F, LPF = :L WHERE ID = :ID"));
        } else {
            m_approve = std::make_unique<Query>(db, QStringLiteral("UPDATE NALICZ SET TYP = '1' WHERE ID = :ID"));
        }
    }

    void runChild(ChargeRunState& state, const RunChild& child) override
    {
        const auto found = m_lines.constFind(child.code);
        if (found == m_lines.cend())
            return;
        const QList<ComputedLine>& lines = *found;
        for (const catalogue::Component& component : state.components) {
            for (const ComputedLine& line : lines) {
                if (line.component != component.code)
                    continue;
                try {
                    checkAmounts(line.amounts);
                } catch (const AmountOutOfRange& e) {
                    throw Error(componentLineMessage(child.caption, component.name, e.message()));
                }
                if (!state.invoicing) {
                    m_approve->bind(QStringLiteral("ID"), line.id).exec();
                    continue;
                }
                InvoiceSlot& slot = invoiceOf(state, line.helpCentre ? line.helpCentre : child.code);
                ++slot.lastLine;
                m_approve->bind(QStringLiteral("F"), slot.id)
                    .bind(QStringLiteral("L"), slot.lastLine)
                    .bind(QStringLiteral("ID"), line.id)
                    .exec();
            }
        }
    }

private:
    InvoiceSlot& invoiceOf(ChargeRunState& state, int payer)
    {
        auto it = m_slots.find(payer);
        if (it != m_slots.end())
            return *it;
        InvoiceSlot slot;
        const auto earlier = m_earlier.constFind(payer);
        if (earlier != m_earlier.cend()) {
            slot.id = *earlier;
            // Numbered on from every line of the invoice: a help centre's
            // invoice carries lines of several children.
            slot.lastLine = Query(state.db, QStringLiteral("SELECT MAX(LPF) FROM NALICZ WHERE IDF = :F"))
                                .bind(QStringLiteral("F"), slot.id)
                                .scalar()
                                .toInt();
        } else {
            m_insertInvoice->bind(QStringLiteral("K"), state.chargeMonth.code)
                .bind(QStringLiteral("N"), ++m_counter)
                .bind(QStringLiteral("O"), payer)
                .bind(QStringLiteral("W"), m_issueDate)
                .bind(QStringLiteral("T"), m_paymentTerm)
                .bind(QStringLiteral("TYT"), invoiceTitle(m_title))
                .exec();
            if (m_lastId) {
                slot.id = m_lastId->scalar().toLongLong();
            } else {
                m_insertInvoice->next();
                slot.id = m_insertInvoice->value(0).toLongLong();
            }
        }
        return *m_slots.insert(payer, slot);
    }

    QDate m_issueDate;
    QDate m_paymentTerm;
    QString m_title;
    int m_counter = 0;
    QHash<int, QList<ComputedLine>> m_lines;
    QHash<int, qint64> m_earlier;  // payer -> the invoice of earlier runs with the same dates
    QHash<int, InvoiceSlot> m_slots;
    std::unique_ptr<Query> m_insertInvoice;
    std::unique_ptr<Query> m_lastId;
    std::unique_ptr<Query> m_approve;
};

}  // namespace

std::unique_ptr<ChargeOperationRun> makeApproveOperation()
{
    return std::make_unique<ApproveOperation>();
}

}  // namespace fees
