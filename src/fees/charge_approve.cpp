#include "charge_approve.h"

#include "browser/prompts.h"
#include "fees/charge_lines.h"
#include "store/database.h"
#include "store/params.h"
#include "store/query.h"
#include "store/chunked_statement.h"
#include "store/prepared_statement.h"
#include "store/typed_query.h"

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

// The invoice a payer's lines go on in this run: an earlier one, or one
// this run makes (numbered `number`, its key known once it is written).
struct InvoiceSlot {
    qint64 id = 0;
    int payer = 0;
    int number = 0;
    int lastLine = 0;
};

// A computed line made final, on invoice slot `slot` as line `lineNumber`.
struct ApprovedLine {
    qint64 id = 0;
    int slot = -1;
    int lineNumber = 0;
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
            TypedQuery q(db, QStringLiteral("SELECT ID, OSOBA, MEDIUM, ILOSC, CENA, WARTOSC%1 FROM NALICZ "
                                            "WHERE KOD = :K AND TYP = '0' ORDER BY ID")
                                 .arg(state.invoicing ? QStringLiteral(", IDOPIE, VAT") : QString()));
            q.bind(QStringLiteral("K"), month).exec();
            while (q.next()) {
                const int child = int(q.integer(1));
                if (!wanted.contains(child))
                    continue;
                ComputedLine line;
                line.id = q.integer(0);
                line.component = int(q.integer(2));
                line.amounts.quantity = q.number(3);
                line.amounts.price = q.number(4);
                line.amounts.value = q.number(5);
                if (state.invoicing) {
                    line.helpCentre = int(q.integer(6));
                    if (!q.isNull(7))
                        line.amounts.vat = q.number(7);
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
                    m_approved.append({line.id, -1, 0});
                    continue;
                }
                const int slot = invoiceOf(state, line.helpCentre ? line.helpCentre : child.code);
                m_approved.append({line.id, slot, ++m_invoices[slot].lastLine});
            }
        }
    }

    // The invoices are made and the lines approved in bulk at the end: on
    // PostgreSQL a statement per line costs a round trip each.
    void end(ChargeRunState& state) override
    {
        if (state.invoicing)
            writeInvoices(state);
        approveLines(state);
    }

private:
    // The slot of the payer's invoice; a new invoice gets the next number.
    int invoiceOf(ChargeRunState& state, int payer)
    {
        const auto found = m_slotOfPayer.constFind(payer);
        if (found != m_slotOfPayer.cend())
            return *found;
        InvoiceSlot slot;
        slot.payer = payer;
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
            slot.number = ++m_counter;
            m_newInvoices.append(int(m_invoices.size()));
        }
        m_invoices.append(slot);
        m_slotOfPayer.insert(payer, int(m_invoices.size() - 1));
        return int(m_invoices.size() - 1);
    }

    void writeInvoices(ChargeRunState& state)
    {
        Database& db = state.db;
        const int month = state.chargeMonth.code;
        const QString title = invoiceTitle(m_title);
        if (db.engine() != Engine::PostgreSQL) {
            PreparedStatement insert(db, QStringLiteral("INSERT INTO FAKT (KOD, NUMER, OSOBA, WYST, TERMIN, TYTUL) "
                                                        "VALUES (?, ?, ?, ?, ?, ?)"));
            for (const int index : std::as_const(m_newInvoices)) {
                InvoiceSlot& slot = m_invoices[index];
                insert.bind(0, month);
                insert.bind(1, slot.number);
                insert.bind(2, slot.payer);
                insert.bind(3, QVariant(m_issueDate));
                insert.bind(4, QVariant(m_paymentTerm));
                insert.bind(5, title);
                insert.exec();
                slot.id = insert.lastInsertId();
            }
            return;
        }
        QList<QVariant> rows;
        rows.reserve(m_newInvoices.size() * 6);
        QHash<int, int> slotOfNumber;
        for (const int index : std::as_const(m_newInvoices)) {
            const InvoiceSlot& slot = m_invoices[index];
            rows << month << slot.number << slot.payer << m_issueDate << m_paymentTerm << title;
            slotOfNumber.insert(slot.number, index);
        }
        // The keys come back by invoice number, which is unique in the month.
        runChunked(db, QStringLiteral("INSERT INTO FAKT (KOD, NUMER, OSOBA, WYST, TERMIN, TYTUL) VALUES "),
                   QStringLiteral("(?, ?, ?, ?, ?, ?)"), QStringLiteral(" RETURNING ID, NUMER"), rows, 6, 500,
                   [&](PreparedStatement& done) {
                       while (done.next())
                           m_invoices[slotOfNumber.value(done.value(1).toInt())].id = done.value(0).toLongLong();
                   });
    }

    void approveLines(ChargeRunState& state)
    {
        Database& db = state.db;
        if (m_approved.isEmpty())
            return;
        if (!state.invoicing) {
            QList<QVariant> ids;
            ids.reserve(m_approved.size());
            for (const ApprovedLine& line : m_approved)
                ids.append(line.id);
            runChunked(db, QStringLiteral("UPDATE NALICZ SET TYP = '1' WHERE ID IN ("), QStringLiteral("?"),
                       QStringLiteral(")"), ids, 1);
            return;
        }
        if (db.engine() != Engine::PostgreSQL) {
            PreparedStatement update(db, QStringLiteral("UPDATE NALICZ SET TYP = '1', IDF = ?, LPF = ? WHERE ID = ?"));
            for (const ApprovedLine& line : m_approved) {
                update.bind(0, m_invoices[line.slot].id);
                update.bind(1, line.lineNumber);
                update.bind(2, line.id);
                update.exec();
            }
            return;
        }
        // Three arrays and one statement: a VALUES list as long would cost
        // more to plan than to run.
        QString ids = QStringLiteral("{");
        QString invoices = ids;
        QString numbers = ids;
        for (const ApprovedLine& line : m_approved) {
            if (ids.size() > 1) {
                ids += QLatin1Char(',');
                invoices += QLatin1Char(',');
                numbers += QLatin1Char(',');
            }
            ids += QString::number(line.id);
            invoices += QString::number(m_invoices[line.slot].id);
            numbers += QString::number(line.lineNumber);
        }
        PreparedStatement update(db, QStringLiteral("UPDATE NALICZ SET TYP = '1', IDF = V.F, LPF = V.L "
                                                    "FROM UNNEST(CAST(? AS INTEGER[]), CAST(? AS INTEGER[]), "
                                                    "CAST(? AS INTEGER[])) AS V (ID, F, L) WHERE NALICZ.ID = V.ID"));
        update.bind(0, ids + QLatin1Char('}'));
        update.bind(1, invoices + QLatin1Char('}'));
        update.bind(2, numbers + QLatin1Char('}'));
        update.exec();
    }

    QDate m_issueDate;
    QDate m_paymentTerm;
    QString m_title;
    int m_counter = 0;
    QHash<int, QList<ComputedLine>> m_lines;
    QHash<int, qint64> m_earlier;  // payer -> the invoice of earlier runs with the same dates
    QList<InvoiceSlot> m_invoices;
    QHash<int, int> m_slotOfPayer;  // payer -> index into m_invoices
    QList<int> m_newInvoices;       // slots of the invoices this run makes, in number order
    QList<ApprovedLine> m_approved; // in the order the lines were met
};

}  // namespace

std::unique_ptr<ChargeOperationRun> makeApproveOperation()
{
    return std::make_unique<ApproveOperation>();
}

}  // namespace fees
