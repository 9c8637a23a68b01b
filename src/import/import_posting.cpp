#include "import_posting.h"

#include "child_matching.h"
#include "code_pages.h"
#include "import_writes.h"
#include "statement_cells.h"
#include "title_matching.h"

#include "browser/prompts.h"
#include "fees/fee_catalogue.h"
#include "store/error.h"
#include "store/money.h"
#include "store/query.h"

#include <cmath>

namespace import {

namespace texts {
QString confirmationTitle(const QString& section) { return section + QStringLiteral(" - potwierdzenie"); }
QString fileTitle(const QString& section) { return section + QStringLiteral(" - wybierz plik"); }
QString noChild() { return QStringLiteral("Program nie dopasował żadnego dziecka\nNależy wyszukać odpowiednie dziecko"); }
QString found() { return QStringLiteral("Odszukano"); }
QString foundInTitle() { return QStringLiteral("Odszukano w tytule"); }
QString similar() { return QStringLiteral("Podobna pozycja już widnieje\nZapisać mimo wszystko?"); }
QString otherMonth() { return QStringLiteral(") z innego miesiąca\nZapisać mimo wszystko?"); }
QString balanceMismatch() { return QStringLiteral("Niezgodność salda odczytanego i wyliczonego"); }
QString missingRow() { return QStringLiteral("Brak wiersza dla dziecka"); }
QString componentTitle() { return QStringLiteral("Wybierz składnik - "); }
QString slotKindTitle() { return QStringLiteral("Rodzaj pozycji"); }
QString childListTitle() { return QStringLiteral("Dziecko"); }
}  // namespace texts

namespace {

// WPLATY.OPIS
constexpr int kDescriptionWidth = 100;

// An amount slot: which component, which kind, and this row's amount.
struct Slot {
    QString label;
    int component = 0;
    bool settlement = false;
    bool configuredSettlement = false;
    QString amountText;                // as read, for the row's text
    std::optional<double> amount;      // the sum of the slot's amounts
    bool unreadable = false;           // a lone amount that is not a number
};

// One file row, as read.
struct RowValues {
    int number = 0;
    QString name;
    QString pesel;
    QString dateText;
    QDate date;
    std::optional<double> readBalance;
    QString quantityText, priceText;
    std::optional<double> quantity, price;
    QString description;
    QString arrival, departure;
    QString marks;                     // one per "J" column, ' ' for none
    std::optional<int> counts[3];      // monthly target: T, N, Z
    QString componentName;             // "E"
    bool flipKind = false;             // "F"
    QString reference;                 // "R", digits
    bool debit = false;                // "M" equal to the debit text
    QString dateError;                 // raised only when the row is to be written
    bool descriptionCut = false;       // longer than OPIS
};

enum class Step { Write, Skip, Stop };

class ImportRun {
public:
    ImportRun(Database& db, Prompts& prompts, const ImportRequest& request)
        : m_db(db), m_prompts(prompts), m_request(request),
          m_format(readImportFormat(request.configurationText, request.section)),
          m_values(ValueFormat::of(m_format)),
          m_similar(db, request.target, request.monthKod, request.type)
    {
        m_title = texts::confirmationTitle(request.section);
    }

    const ImportFormat& format() const { return m_format; }
    bool prepare();  // slots; false when the user cancelled
    void readRows(const ImportRows& rows);
    void endOfFile();
    ImportReport finish();

private:
    bool buildSlots();
    void readRow(const ImportRows& rows, int number, RowValues& row);
    QString rowText(const RowValues& row) const;
    QString childText(int child) const;
    int pickChild();
    Step confirm(const RowValues& row, int& child, bool askFirst, bool inTitle, QString& text);
    Step checks(const RowValues& row, int child, const QString& text, bool& repeat);
    bool incoming(const RowValues& row) const;
    std::optional<double> paymentAmount() const;
    std::optional<QString> similarDescription(const RowValues& row) const;
    QList<PendingWrite> writesOf(const RowValues& row, int child, const QString& text);
    void balanceCheck(const RowValues& row, int child, PendingWrite& w, const QString& text);
    QString summary(const RowValues& row, int child, const QList<PendingWrite>& writes) const;
    bool isTarget(ImportTarget t) const { return m_request.target == t; }
    int componentNamed(const QString& name) const;

    Database& m_db;
    Prompts& m_prompts;
    const ImportRequest& m_request;
    ImportFormat m_format;
    ValueFormat m_values;
    SimilarRows m_similar;
    QString m_title;
    ChildDirectory m_children;
    std::optional<TitleSearch> m_titles;
    MatchOptions m_matchOptions;
    QList<catalogue::Component> m_components;
    QList<Slot> m_slots;
    QList<PendingWrite> m_writes;
    ImportReport m_report;
    bool m_alwaysNo = false;
    bool m_balancesRead = false;
    QHash<int, double> m_balances;
};

int ImportRun::componentNamed(const QString& name) const
{
    for (const catalogue::Component& c : m_components)
        if (!name.isEmpty() && c.name.compare(name, Qt::CaseInsensitive) == 0)
            return c.code;
    return 0;
}

bool ImportRun::prepare()
{
    const bool payments = isTarget(ImportTarget::Payments);
    m_children.load(m_db, m_request.visibleGroups, m_request.today, payments, m_format.referenceField);
    if (m_format.searchTitle)
        m_titles.emplace(m_children);
    m_matchOptions.okForPesel = m_format.okForPesel;
    m_matchOptions.okForName = m_format.okForName;
    m_matchOptions.withoutDiacritics = m_format.codePage == kNoDiacriticsPage;
    m_matchOptions.withCollectors = payments;
    if (isTarget(ImportTarget::Charges))
        m_components = catalogue::components(m_db);
    return buildSlots();
}

bool ImportRun::buildSlots()
{
    const int amountColumns = m_format.count(QLatin1Char('B'));
    if (!isTarget(ImportTarget::Charges) || m_format.has(QLatin1Char('E'))) {
        Slot one;
        if (!m_components.isEmpty())
            one.component = m_components.first().code;
        m_slots << one;
        return true;
    }
    for (const AmountSlotLine& line : m_format.amountLines) {
        Slot s;
        s.label = line.text;
        s.settlement = s.configuredSettlement = line.settlement;
        s.component = componentNamed(line.component);
        m_slots << s;
    }
    int position = 0, seen = 0;
    for (const QChar code : m_format.columns) {
        ++position;
        if (code != QLatin1Char('B'))
            continue;
        if (++seen > m_slots.size()) {
            Slot s;
            s.label = QStringLiteral("kolumna %1").arg(position);
            m_slots << s;
        }
    }
    if (amountColumns == 0 && m_slots.size() > 1)
        m_slots = m_slots.mid(0, 1);
    if (m_slots.isEmpty())
        m_slots << Slot{};

    QList<PickEntry> entries;
    for (const catalogue::Component& c : m_components)
        entries << PickEntry{c.name, c.code};
    for (Slot& s : m_slots) {
        if (s.component != 0)
            continue;
        QVariant chosen = entries.isEmpty() ? QVariant() : entries.first().value;
        if (!m_prompts.pickFromList(texts::componentTitle() + s.label, QString(), entries, chosen) || !chosen.isValid())
            return false;
        s.component = chosen.toInt();
        if (m_slots.size() >= 2) {
            const int kind = m_prompts.askChoice(texts::slotKindTitle(), QStringLiteral("Dana kolumna jest"),
                                                 {QStringLiteral("Zwykła"), QStringLiteral("Rozliczająca")});
            if (kind == -1 || kind == -2)
                s.settlement = s.configuredSettlement = kind == -2;
        }
    }
    return true;
}

void ImportRun::readRow(const ImportRows& rows, int number, RowValues& row)
{
    row.number = number;
    const QList<ImportCell> cells = rows.cells(number, m_format);
    const bool monthly = isTarget(ImportTarget::MonthlyAttendance);
    const bool withE = m_format.has(QLatin1Char('E'));
    for (Slot& s : m_slots) {
        s.amountText.clear();
        s.amount.reset();
        s.unreadable = false;
        s.settlement = s.configuredSettlement;
    }
    if (withE && !m_components.isEmpty())
        m_slots[0].component = m_components.first().code;
    if (m_format.has(QLatin1Char('S')) || m_format.has(QLatin1Char('s')))
        row.readBalance = 0.0;

    // Amounts feed the slots in order; several amounts of one slot (with
    // "E", or outside charges) are added.
    const bool slotPerColumn = isTarget(ImportTarget::Charges) && !withE;
    int amountIndex = 0;
    QList<QList<QPair<QString, std::optional<double>>>> amounts(m_slots.size());
    QStringList descriptions;
    for (int c = 0; c < cells.size(); ++c) {
        const QChar code = m_format.columns[c];
        const ImportCell& cell = cells[c];
        const QString text = cellText(cell, m_values);
        switch (code.unicode()) {
        case 'K': row.name = withoutLineMarks(text); break;
        case 'P': row.pesel = text; break;
        case 'D':
            row.dateText = text;
            if (!isBlank(cell)) {
                row.date = readDate(cell, m_values);
                if (!row.date.isValid())
                    row.dateError = notDateMessage(text);
            }
            break;
        case 'R':
            if (m_format.reads(code))
                for (const QChar ch : text)
                    if (ch.isDigit())
                        row.reference += ch;
            break;
        case 'M':
            if (m_format.reads(code))
                row.debit = text == *m_format.debitMark;
            break;
        case 'B':
            if (!isBlank(cell))
                amounts[slotPerColumn ? qMin(amountIndex, int(m_slots.size()) - 1) : 0]
                    << qMakePair(text, readNumber(cell, m_values));
            ++amountIndex;
            break;
        case 'I':
            row.quantityText = text;
            row.quantity = readNumber(cell, m_values);
            break;
        case 'C':
            row.priceText = text;
            row.price = readNumber(cell, m_values);
            break;
        case 'T':
            if (monthly)
                row.counts[0] = readCount(text);
            else if (!text.isEmpty())
                descriptions << text;
            break;
        case 'N':
            if (monthly)
                row.counts[1] = readCount(text);
            break;
        case 'Z':
            if (monthly)
                row.counts[2] = readCount(text);
            break;
        case 'E': row.componentName = text; break;
        case 'F': row.flipKind = text == m_format.markPresent; break;
        case 'S':
        case 's':
            if (const auto v = readNumber(cell, m_values))
                row.readBalance = *row.readBalance + (code == QLatin1Char('S') ? *v : -*v);
            break;
        case 'J': row.marks += readDayMark(text, m_format); break;
        case 'U': row.arrival = text; break;
        case 'W': row.departure = text; break;
        default: break;
        }
    }
    // Cells that carry their label stand in any column.
    if (!m_format.labelName.isEmpty() || !m_format.labelDescription.isEmpty() || !m_format.labelPesel.isEmpty()) {
        const QList<ImportCell> all = rows.allCells(number, m_format);
        if (const auto v = labelledValue(all, m_format.labelName))
            row.name = withoutLineMarks(*v);
        if (const auto v = labelledValue(all, m_format.labelDescription))
            descriptions = QStringList{*v};
        if (const auto v = labelledValue(all, m_format.labelPesel))
            row.pesel = *v;
    }
    row.description = withoutLineMarks(descriptions.join(QLatin1Char(' ')));
    if (isTarget(ImportTarget::Payments) && row.description.size() > kDescriptionWidth) {
        row.description.truncate(kDescriptionWidth);
        row.descriptionCut = true;
    }
    // A lone amount that is not a number cannot be written; one of several
    // is left out of their sum.
    for (int i = 0; i < m_slots.size(); ++i) {
        Slot& s = m_slots[i];
        const auto& list = amounts[i];
        if (list.size() == 1) {
            s.amountText = list[0].first;
            s.amount = list[0].second;
            s.unreadable = !list[0].second;
        } else if (list.size() > 1) {
            for (const auto& a : list)
                if (a.second)
                    s.amount = s.amount.value_or(0.0) + *a.second;
            if (s.amount) {
                s.amount = money::round(*s.amount);
                s.amountText = money::format(*s.amount, 2, false);
            }
        }
    }
    if (withE) {
        if (const int c = componentNamed(row.componentName))
            m_slots[0].component = c;
    }
    if (row.debit)
        for (Slot& s : m_slots)
            if (s.amount)
                s.amount = -*s.amount;
    if (row.flipKind)
        m_slots[0].settlement = !m_slots[0].settlement;
    if (m_format.settlementNegative)
        for (Slot& s : m_slots)
            if (s.settlement && s.amount)
                s.amount = -*s.amount;

    // A PESEL written inside the name, after the marker.
    if (row.pesel.isEmpty() && !m_format.peselMarker.isEmpty()) {
        const qsizetype at = row.name.lastIndexOf(m_format.peselMarker);
        if (at >= 0) {
            qsizetype end = at + m_format.peselMarker.size();
            while (end < row.name.size() && (row.name[end].isDigit() || row.name[end] == QLatin1Char(' ')))
                ++end;
            row.pesel = row.name.mid(at + m_format.peselMarker.size(), end - at - m_format.peselMarker.size());
            row.name.remove(at, qMin(end + 2, row.name.size()) - at);
        }
    }
    QString digits;
    for (const QChar c : row.pesel)
        if (c.isDigit())
            digits += c;
    row.pesel = digits;

    if (!row.date.isValid() && row.dateError.isEmpty()) {
        row.date = m_request.defaultDate;
        row.dateText = m_values.dateText(row.date);
    }
}

QString ImportRun::rowText(const RowValues& row) const
{
    QString t = QStringLiteral("Wiersz %1\n\nOdczytane dziecko").arg(row.number);
    if (m_format.has(QLatin1Char('K')))
        t += QStringLiteral("\n Nazwisko i imię: ") + row.name;
    if (!row.pesel.isEmpty())
        t += QStringLiteral("\n PESEL: ") + row.pesel;
    if (m_format.has(QLatin1Char('D')))
        t += QStringLiteral("\n Data: ") + row.dateText;
    if (m_format.has(QLatin1Char('B'))) {
        QStringList amounts;
        for (const Slot& s : m_slots)
            if (!s.amountText.isEmpty())
                amounts << s.amountText;
        t += QStringLiteral("\n Kwota: ") + amounts.join(QStringLiteral(", "));
    }
    if (m_format.has(QLatin1Char('I')))
        t += QStringLiteral("\n Ilość: ") + row.quantityText;
    if (m_format.has(QLatin1Char('C')))
        t += QStringLiteral("\n Cena: ") + row.priceText;
    if (m_format.has(QLatin1Char('T')) && !isTarget(ImportTarget::MonthlyAttendance))
        t += QStringLiteral("\n Opis: ") + row.description;
    return t + QStringLiteral("\n\n");
}

QString ImportRun::childText(int child) const
{
    const ImportChild* c = m_children.byKod(child);
    QString t = texts::found();
    if (!c)
        return t;
    // A child found in a title or by reference is named, file name or not.
    if (m_format.has(QLatin1Char('K')) || m_format.searchTitle || m_format.reads(QLatin1Char('R'))) {
        t += QStringLiteral("\n Nazwisko i imię: ") + c->name;
        if (!c->correspondenceName.isEmpty())
            t += QStringLiteral("\n Nazwa kores.: ") + c->correspondenceName;
    }
    if (m_format.has(QLatin1Char('P')))
        t += QStringLiteral("\n PESEL: ") + c->pesel;
    return t;
}

int ImportRun::pickChild()
{
    QList<PickEntry> entries;
    for (const ImportChild& c : m_children.children())
        entries << PickEntry{c.caption, c.kod};
    int key = 0;
    if (!m_prompts.pickRecord(texts::childListTitle(), entries, key, false))
        return 0;
    return m_children.byKod(key) ? key : 0;
}

// The child of the row, confirmed: Write with `child` set, or Skip / Stop.
Step ImportRun::confirm(const RowValues& row, int& child, bool askFirst, bool inTitle, QString& text)
{
    const QString base = rowText(row);
    bool ask = askFirst;
    for (;;) {
        if (child == 0) {
            const int b = m_prompts.askChoice(m_title, base + texts::noChild(),
                                              {QStringLiteral("Wybierz"), QStringLiteral("Pomiń"),
                                               QStringLiteral("Przerwij")});
            if (b == -2)
                return Step::Skip;
            if (b != -1)
                return Step::Stop;
            child = pickChild();
            ask = true;
            continue;
        }
        text = base + childText(child);
        if (inTitle)
            text.replace(base.size(), texts::found().size(), texts::foundInTitle());
        if (!ask)
            return Step::Write;
        const int b = m_prompts.askChoice(m_title, text,
                                          {QStringLiteral("OK"), QStringLiteral("Inne"), QStringLiteral("Pomiń"),
                                           QStringLiteral("Przerwij")});
        if (b == -1)
            return Step::Write;
        if (b == -3)
            return Step::Skip;
        if (b != -2)
            return Step::Stop;
        if (const int other = pickChild()) {
            child = other;
            inTitle = false;
        }
    }
}

bool ImportRun::incoming(const RowValues&) const
{
    double sum = 0;
    bool any = false;
    for (const Slot& s : m_slots)
        if (s.amount) {
            sum += *s.amount;
            any = true;
        }
    return any && money::round(sum) > 0;
}

std::optional<QString> ImportRun::similarDescription(const RowValues& row) const
{
    if (m_format.has(QLatin1Char('T')) && isTarget(ImportTarget::Payments))
        return row.description;
    return std::nullopt;
}

std::optional<double> ImportRun::paymentAmount() const
{
    if (!m_format.has(QLatin1Char('B')) || m_slots.isEmpty())
        return std::nullopt;
    return m_slots[0].amount;
}

Step ImportRun::checks(const RowValues& row, int child, const QString& text, bool& repeat)
{
    repeat = false;
    const bool wholeMonth = isTarget(ImportTarget::DailyAttendance) && m_format.count(QLatin1Char('J')) >= 2;
    const std::optional<QString> description = similarDescription(row);
    if (m_similar.exists(child, m_slots[0].component, row.date, wholeMonth, description, paymentAmount())) {
        if (m_alwaysNo)
            return Step::Skip;
        const int b = m_prompts.askChoice(m_title, text + QStringLiteral("\n\n") + texts::similar(),
                                          {QStringLiteral("Tak"), QStringLiteral("Nie"), QStringLiteral("Powtórz"),
                                           QStringLiteral("Zawsze nie")});
        if (b == -3) {
            repeat = true;
            return Step::Skip;
        }
        if (b == -4)
            m_alwaysNo = true;
        if (b != -1)
            return Step::Skip;
    }
    const QDate d = m_request.defaultDate;
    if (row.date.year() != d.year() || row.date.month() != d.month()) {
        const int b = m_prompts.askChoice(m_title,
                                          text + QStringLiteral("\n\nData (") + row.dateText + texts::otherMonth(),
                                          {QStringLiteral("Tak"), QStringLiteral("Nie")});
        if (b != -1)
            return Step::Skip;
    }
    return Step::Write;
}

QTime timeOf(const QString& text)
{
    if (text.isEmpty())
        return {};
    for (const char* f : {"H:mm", "H:mm:ss", "HH:mm", "HH:mm:ss"}) {
        const QTime t = QTime::fromString(text, QString::fromLatin1(f));
        if (t.isValid())
            return QTime(t.hour(), t.minute());
    }
    throw Error(QStringLiteral("„%1” nie jest poprawną godziną").arg(text));
}

QList<PendingWrite> ImportRun::writesOf(const RowValues& row, int child, const QString& text)
{
    QList<PendingWrite> out;
    if (isTarget(ImportTarget::Charges) || isTarget(ImportTarget::Payments)) {
        const bool payments = isTarget(ImportTarget::Payments);
        const bool amountColumn = m_format.has(QLatin1Char('B'));
        for (const Slot& s : m_slots) {
            if (s.unreadable)
                throw Error(notNumberMessage(s.amountText));
            PendingWrite w;
            w.kind = payments ? PendingWrite::Kind::Payment : PendingWrite::Kind::ChargeLine;
            w.child = child;
            w.monthKod = m_request.monthKod;
            w.type = m_request.type;
            w.date = row.date;
            if (s.amount)
                w.value = *s.amount;
            if (!payments) {
                if (row.quantity)
                    w.quantity = *row.quantity;
                if (row.price)
                    w.price = *row.price;
                w.component = s.component;
                w.settlement = s.settlement;
                // As a typed line: the component's price fills an empty
                // price of a line with quantity, and quantity × price gives
                // the value.
                if (w.quantity.isValid()) {
                    const QDate priceDay = m_request.defaultDate.isValid()
                                               ? QDate(m_request.defaultDate.year(), m_request.defaultDate.month(), 1)
                                               : m_request.today;
                    if (const auto p = catalogue::priceInForce(m_db, w.component, priceDay)) {
                        w.unit = p->unit;
                        if (!w.price.isValid())
                            w.price = p->price;
                    }
                    if (w.price.isValid())
                        w.value = money::round(w.quantity.toDouble() * w.price.toDouble());
                }
            } else {
                w.description = row.description;
                balanceCheck(row, child, w, text);
            }
            const bool empty = !w.value.isValid() || std::fabs(w.value.toDouble()) < 0.000001;
            if (empty && !(payments && !amountColumn))
                continue;
            out << w;
        }
        return out;
    }
    if (isTarget(ImportTarget::MonthlyAttendance)) {
        const char kinds[3] = {'T', 'N', 'Z'};
        for (int k = 0; k < 3; ++k) {
            PendingWrite w;
            w.kind = PendingWrite::Kind::Count;
            w.child = child;
            w.year = row.date.year();
            w.month = row.date.month();
            w.mark = QString(QLatin1Char(kinds[k]));
            if (row.counts[k])
                w.count = *row.counts[k];
            out << w;
        }
        return out;
    }
    // Daily attendance.
    const int marks = int(row.marks.size());
    if (marks == 0)
        return out;
    const QTime arrival = m_format.has(QLatin1Char('U')) ? timeOf(row.arrival) : QTime();
    const QTime departure = m_format.has(QLatin1Char('W')) ? timeOf(row.departure) : QTime();
    QList<QPair<QDate, QChar>> days;
    if (marks == 1) {
        days << qMakePair(row.date, row.marks[0]);
    } else {
        QSet<int> free;
        if (m_format.skipFreeDays)
            for (const QString& n : m_request.type.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
                bool ok = false;
                const int d = n.trimmed().toInt(&ok);
                if (ok)
                    free.insert(d);
            }
        const QDate first(row.date.year(), row.date.month(), 1);
        const int last = qMin(marks, first.daysInMonth());
        for (int d = 1; d <= last; ++d)
            if (!free.contains(d))
                days << qMakePair(first.addDays(d - 1), row.marks[d - 1]);
    }
    for (const auto& [day, mark] : days) {
        PendingWrite w;
        w.kind = PendingWrite::Kind::Day;
        w.child = child;
        w.date = day;
        w.mark = mark == QLatin1Char(' ') ? QString() : QString(mark);
        w.arrival = arrival;
        w.departure = departure;
        out << w;
    }
    return out;
}

void ImportRun::balanceCheck(const RowValues& row, int child, PendingWrite& w, const QString& text)
{
    if (!row.readBalance)
        return;
    if (!m_balancesRead) {
        m_balancesRead = true;
        // Payments minus approved charges of every month up to the row's.
        Query q(m_db, QStringLiteral(
            "select N.OSOBA, -N.WARTOSC as WARTOSC from MIESIACE M, NALICZ N, DZIECI D "
            "where 12*M.ROK+M.MIES <= :U1 and N.KOD = M.KOD and N.TYP = '1' and D.KOD = N.OSOBA and D.AKTYWNY = 'T' "
            "union all "
            "select N.OSOBA, N.WARTOSC from MIESIACE M, WPLATY N, DZIECI D "
            "where 12*M.ROK+M.MIES <= :U2 and N.KOD = M.KOD and D.KOD = N.OSOBA and D.AKTYWNY = 'T'"));
        const int upTo = 12 * row.date.year() + row.date.month();
        q.bind(QStringLiteral("U1"), upTo).bind(QStringLiteral("U2"), upTo).exec();
        while (q.next())
            m_balances[q.value(0).toInt()] += q.value(1).toDouble();
    }
    const double read = *row.readBalance;
    double computed = w.value.toDouble() + m_balances.value(child);
    if (!m_format.has(QLatin1Char('B')) && !w.value.isValid()) {
        w.value = money::round(read - computed);
        computed = read;
    }
    // Kept current, so that a child listed twice is not paid the difference twice.
    m_balances[child] += w.value.toDouble();
    if (std::fabs(computed - read) > 0.0001) {
        const QString message = text + QStringLiteral("\n\n") + texts::balanceMismatch() +
                                QStringLiteral("\nOdczytane: ") + QString::number(read, 'g', 15).replace(QLatin1Char('.'), QLatin1Char(',')) +
                                QStringLiteral("\nWyliczone: ") + money::format(computed, 2, false);
        m_prompts.askChoice(m_title, message, {QStringLiteral("OK")});
        m_report.remarks << QString(message).replace(QLatin1Char('\n'), QLatin1Char(' ')).simplified();
    }
}

QString ImportRun::summary(const RowValues& row, int child, const QList<PendingWrite>& writes) const
{
    const ImportChild* c = m_children.byKod(child);
    QStringList parts{c ? c->name : QString::number(child)};
    for (const PendingWrite& w : writes) {
        const QString value = w.value.isValid() ? money::format(w.value.toDouble(), 2, false) : QString();
        if (w.kind == PendingWrite::Kind::Payment) {
            parts << m_values.dateText(w.date) << value;
        } else if (w.kind == PendingWrite::Kind::ChargeLine) {
            QString name = QString::number(w.component);
            for (const catalogue::Component& k : m_components)
                if (k.code == w.component)
                    name = k.name;
            parts << name + (w.settlement ? QStringLiteral(" (rozliczenie)") : QString()) << value;
        } else if (w.kind == PendingWrite::Kind::Day) {
            parts << m_values.dateText(w.date) + QLatin1Char(' ') + (w.mark.isEmpty() ? QStringLiteral("-") : w.mark);
        } else if (w.count.isValid()) {
            parts << w.mark + QLatin1Char('=') + w.count.toString();
        }
    }
    return QStringLiteral("Wiersz %1: %2").arg(row.number).arg(parts.join(QStringLiteral(", ")));
}

void ImportRun::readRows(const ImportRows& rows)
{
    const int count = rows.rowCount();
    int start = qMax(1, m_format.start);
    if (m_format.startAfter) {
        const int heading = rows.firstRowBeginning(*m_format.startAfter, m_format);
        if (heading == 0) {
            m_report.notes << QStringLiteral("Nie znaleziono wiersza zaczynającego się od „%1” (START PO): nic nie wczytano")
                                  .arg(*m_format.startAfter);
            return;
        }
        start = heading + 1;
    }
    const bool backwards = m_format.descending && !rows.isSheet();
    for (int i = 0; start + i <= count; ++i) {
        const int number = backwards ? count - i : start + i;
        if (rows.isEmptyLine(number))
            continue;
        RowValues row;
        readRow(rows, number, row);
        ++m_report.read;
        // Debits, summaries and footers leave before anything is converted.
        if (m_format.incomingOnly && !incoming(row)) {
            ++m_report.skipped;
            continue;
        }
        ChildMatch match = matchChild(m_children, row.name, row.pesel, m_matchOptions, row.reference);
        if (match.child == 0 && m_titles)
            match = m_titles->find({row.description, row.name}, m_matchOptions);
        if (match.child == 0 && m_format.skipEmptyName && row.name.isEmpty() && row.pesel.isEmpty()) {
            ++m_report.skipped;
            continue;
        }
        if (match.child != 0 && !row.dateError.isEmpty())
            throw Error(row.dateError);
        int child = match.child;
        bool ask = match.confirm;
        Step step = Step::Write;
        QString text;
        for (;;) {
            step = confirm(row, child, ask, match.inTitle && child == match.child, text);
            if (step != Step::Write)
                break;
            if (!row.dateError.isEmpty())
                throw Error(row.dateError);
            bool repeat = false;
            step = checks(row, child, text, repeat);
            if (!repeat)
                break;
            ask = true;
        }
        if (step == Step::Stop) {
            m_report.stopped = true;
            return;
        }
        if (child != 0 && isTarget(ImportTarget::Payments))
            m_similar.noteFileRow(child, row.date, similarDescription(row), paymentAmount());
        if (step == Step::Skip) {
            ++m_report.skipped;
            continue;
        }
        const QList<PendingWrite> writes = writesOf(row, child, text);
        for (const PendingWrite& w : writes) {
            m_similar.add(w);
            m_writes << w;
        }
        if (writes.isEmpty()) {
            ++m_report.skipped;
        } else {
            ++m_report.written;
            m_report.summaries << summary(row, child, writes);
            if (row.descriptionCut)
                m_report.notes << QStringLiteral("Wiersz %1: opis skrócony do %2 znaków").arg(row.number).arg(kDescriptionWidth);
        }
    }
}

void ImportRun::endOfFile()
{
    if (!isTarget(ImportTarget::Payments) || m_format.has(QLatin1Char('B')) || !m_balancesRead || m_report.stopped)
        return;
    for (const ImportChild& c : m_children.children()) {
        if (m_similar.hasPayment(c.kod))
            continue;
        QString text = texts::missingRow();
        if (m_format.has(QLatin1Char('K')))
            text += QStringLiteral("\n Nazwisko i imię: ") + c.name;
        if (m_format.has(QLatin1Char('P')))
            text += QStringLiteral("\n PESEL: ") + c.pesel;
        text += QStringLiteral("\n\nWprowadzić wpłatę w wysokości salda?");
        if (m_prompts.askChoice(m_title, text, {QStringLiteral("Tak"), QStringLiteral("Nie")}) != -1)
            continue;
        PendingWrite w;
        w.kind = PendingWrite::Kind::Payment;
        w.child = c.kod;
        w.monthKod = m_request.monthKod;
        w.date = m_request.defaultDate;
        w.value = money::round(-m_balances.value(c.kod));
        m_balances[c.kod] = 0;
        m_similar.add(w);
        m_writes << w;
        ++m_report.written;
        m_report.summaries << QStringLiteral("%1: %2").arg(texts::missingRow(), c.name);
    }
}

ImportReport ImportRun::finish()
{
    writePending(m_db, m_writes);
    return m_report;
}

}  // namespace

ImportReport runImport(Database& db, Prompts& prompts, const ImportRequest& request, const ImportRows& rows)
{
    ImportRun run(db, prompts, request);
    if (!run.prepare()) {
        ImportReport r;
        r.cancelled = true;
        return r;
    }
    run.readRows(rows);
    run.endOfFile();
    return run.finish();
}

ImportReport runImport(Database& db, Prompts& prompts, const ImportRequest& request)
{
    ImportRun run(db, prompts, request);
    if (!run.prepare()) {
        ImportReport r;
        r.cancelled = true;
        return r;
    }
    const ImportFormat& f = run.format();
    FileDialogOptions options;
    options.title = texts::fileTitle(request.section);
    options.folder = f.folder;
    options.filter = f.fileFilter();
    options.defaultExtension = f.extension;
    QString path;
    if (!prompts.openFile(options, path) || path.isEmpty()) {
        ImportReport r;
        r.cancelled = true;
        return r;
    }
    const ImportRows rows = ImportRows::open(path, f, prompts);
    run.readRows(rows);
    run.endOfFile();
    return run.finish();
}

}  // namespace import
