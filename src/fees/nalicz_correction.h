#pragma once
// Corrections of invoiced charge lines. A line on an invoice never changes:
// a change, or a deletion, is booked on a correction invoice (FAKT row with
// PIERW = the corrected invoice) as a reversing copy of the old line
// (ILOSC, WARTOSC, VAT and LPF negated) and, for a change, a copy of the
// changed line. Corrections are numbered within their booking month apart
// from the invoices, and their payer is the payer of the corrected invoice.
//
// One CorrectionBook belongs to one opened list: a correction invoice made
// there takes every further correction of lines of the same invoice and
// child without asking again.

#include <QDate>
#include <QHash>
#include <QPair>
#include <QString>
#include <QVariant>
#include <QVariantMap>

#include <functional>
#include <optional>

class Database;
class Prompts;
class Error;

namespace fees {

// A refusal the user is not told about: the operation simply does not
// happen. It carries an empty message.
[[noreturn]] void refuseSilently();
bool isSilentRefusal(const Error& e);

class CorrectionBook {
public:
    CorrectionBook(Database& db, Prompts& prompts, std::function<QDate()> systemDate);

    enum class Start { InPlace, Correction };
    // The user starts to change or delete `line` (its stored columns), which
    // carries an IDF. InPlace: the user declined the correction. Correction:
    // a correction is prepared and waits for book() or discard(). Throws the
    // refusal of a correction line, "Brak zdefiniowanego miesiąca", or a
    // silent refusal when a prompt is cancelled.
    Start start(const QVariantMap& line);

    bool hasPending() const { return m_pending.has_value(); }
    // Saves, in one transaction, a correction invoice not yet saved, the
    // reversing line and, for a change, the copy of `changed`; the pending
    // correction is then done. On failure nothing is saved and it stays
    // pending.
    void book(const QVariantMap* changed);
    // The change was given up: the reversing line is dropped and so is a
    // correction invoice not yet saved.
    void discard();

    static QString correctionLineRefusal()
    {
        return QStringLiteral("Pozycja jest korektą pozycji pierwotnej i nie może być modyfikowana");
    }
    static QString question() { return QStringLiteral("Pozycja pochodzi z faktury/rachunku\r\nUtworzyć korektę"); }
    static QString noMonthMessage() { return QStringLiteral("Brak zdefiniowanego miesiąca"); }
    static QString promptTitle() { return QStringLiteral("Tworzenie korekty"); }

private:
    struct Invoice {
        QVariant id;  // empty until saved
        int month = 0;
        int payer = 0;
        int original = 0;
        QDate issued;
        QDate due;
        QString title;
    };
    // The corrected invoice and the line's child: a help centre's invoice
    // holds lines of several children, each asked about on its own.
    using Key = QPair<int, int>;
    struct Pending {
        QVariantMap line;
        Key invoiceOf;  // key of m_invoices
    };

    Invoice prepareInvoice(const QVariantMap& line, int original);
    int payerOf(int invoice, const QVariantMap& line) const;

    Database& m_db;
    Prompts& m_prompts;
    std::function<QDate()> m_systemDate;
    QHash<Key, Invoice> m_invoices;
    std::optional<Pending> m_pending;
};

}  // namespace fees
