// The landscape statement: a table with one line per child (with history,
// per child and month from the start month; in mode 3 per service and
// price), its columns generated from the rows: balances, fee groups, price
// blocks, payments. Cells are framed, numbers right-aligned with "#0.00".

#include "statement_layouts.h"

#include "browser/cell_text.h"
#include "store/money.h"
#include "store/polish_dates.h"

#include <QMap>
#include <QSet>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <set>

namespace printouts {

namespace {

using report::Primitive;

constexpr double levelHeight = 17;
constexpr double widthLimit = 1050;

// The rows one table line shows, and the balances around them.
struct Unit {
    int childIndex = 0;
    int child = 0;
    int year = 0, month = 0;
    QList<const StatementRow*> rows;  // of the line's month
    double before = 0;                // the child's balance before the month
    double closing = 0;               // and after it
    int number = 0;
};

struct Cell {
    QStringList lines;
    QList<double> values;  // the numbers summed into the totals
};

struct Column {
    double x = 0;
    double width = 0;
    QString leaf;
    QString top;
    int topSpan = -1;
    QString mid;
    int midSpan = -1;
    bool numeric = false;
    bool totalled = false;
    QString totalCaption;
    std::function<Cell(const Unit&)> cell;
};

QString money2(double v)
{
    return statementMoney(v);
}

bool positive(double v)
{
    return money::round(v) > 0;
}

// The price block's instruction: sign, filter and field over one price's rows.
struct Instruction {
    bool clampPositive = false;  // "+": a sum that is not positive prints 0
    char filter = '0';           // '0' every row, '+' DOT > 0, '-' DOT < 0, 'z' DOT = 0 (mode 3)
    enum Field { Quantity, MinusQuantity, Value, MinusValue, PositiveQuantity, NegativeQuantity, NegativeValue,
                 PositiveValue } field = Quantity;

    double of(const StatementRow& r) const
    {
        switch (field) {
        case Quantity: return r.quantity.value_or(0);
        case MinusQuantity: return -r.quantity.value_or(0);
        case Value: return r.value;
        case MinusValue: return -r.value;
        case PositiveQuantity: return r.quantity.value_or(0) > 0 ? r.quantity.value_or(0) : 0;
        case NegativeQuantity: return r.quantity.value_or(0) < 0 ? -r.quantity.value_or(0) : 0;
        case NegativeValue: return r.value < 0 ? -r.value : 0;
        case PositiveValue: return r.value > 0 ? r.value : 0;
        }
        return 0;
    }
    bool takes(const StatementRow& r) const
    {
        switch (filter) {
        case '+': return r.dot && *r.dot > 0;
        case '-': return r.dot && *r.dot < 0;
        case 'z': return r.dot && *r.dot == 0;
        default: return true;
        }
    }
};

class LandscapeBuilder {
public:
    LandscapeBuilder(const StatementData& data) : m_data(data), m_mode(data.options.mode)
    {
        m_font.pointSize = 10;
        m_quantityFormat = QStringLiteral("#0.") + QString(data.quantityDecimals, QLatin1Char('#'));
    }

    QChar letterOf(const StatementRow& r) const
    {
        if (r.rozlicz == QLatin1Char('T') && int(m_mode) >= int(SettlementMode::Full))
            return QLatin1Char('M');
        return r.rozlicz;
    }

    void buildColumns()
    {
        const StatementOptions& o = m_data.options;
        const bool history = o.historyFrom.has_value();
        const bool mode3 = m_mode == SettlementMode::FeeGroupPrices;

        // Column keys and the signs of their quantities summed per child, month and price.
        struct KeyInfo {
            int flags = 0;
        };
        std::map<std::tuple<ushort, int, int>, KeyInfo> keys;
        for (int i = 0; i < m_data.rows.size();) {
            const StatementRow& r = m_data.rows[i];
            auto same = [&](const StatementRow& s) {
                return letterOf(s) == letterOf(r) && s.kolejg == r.kolejg && s.feeGroup == r.feeGroup
                       && s.child == r.child && s.year == r.year && s.month == r.month
                       && s.price.value_or(0) == r.price.value_or(0);
            };
            double quantity = 0;
            int j = i;
            for (; j < m_data.rows.size() && same(m_data.rows[j]); ++j)
                quantity += m_data.rows[j].quantity.value_or(0);
            KeyInfo& k = keys[{letterOf(r).unicode(), r.kolejg, r.feeGroup}];
            if (quantity > 0.0001)
                k.flags |= 1;
            else if (quantity < -0.0001)
                k.flags |= 2;
            i = j;
        }
        for (auto it = keys.begin(); it != keys.end();) {
            const QChar letter(std::get<0>(it->first));
            if (it->second.flags == 0 && (letter == QLatin1Char('T') || letter == QLatin1Char('M')))
                it = keys.erase(it);
            else
                ++it;
        }
        keys[{ushort('U'), 0, 0}];

        // The months the statement month's settlement lines settle.
        QString suffix;
        if (int(m_mode) >= int(SettlementMode::Full)) {
            QSet<int> dots;
            for (const StatementRow& r : m_data.rows)
                if (r.kodmies == m_data.monthKod && r.dot && *r.dot != 0)
                    dots.insert(std::abs(*r.dot));
            if (history || dots.size() > 1)
                suffix = QStringLiteral(" - poprzedni okres");
            else if (dots.size() == 1) {
                const auto ym = m_data.months.value(*dots.begin());
                suffix = QStringLiteral(" - ") + polish::monthYear(ym.first, ym.second);
            }
        }

        if (history)
            add(220, QStringLiteral("Miesiąc"), false, [](const Unit& u) {
                return Cell{{polish::monthYear(u.year, u.month)}, {}};
            }).totalCaption = QStringLiteral("Razem");
        else {
            const bool bySort = !m_data.sort.field.isEmpty() && !mode3;
            add(m_data.sort.numberWidth, QStringLiteral("L.p."), false, [this, bySort](const Unit& u) {
                return Cell{{bySort ? m_data.sortValues.value(u.child) : QString::number(u.number)}, {}};
            });
            if (!mode3)
                add(220, QStringLiteral("Nazwisko i imię"), false, [this](const Unit& u) {
                    return Cell{{m_data.children.value(u.child).nazwa}, {}};
                }).totalCaption = QStringLiteral("Razem");
        }
        if (o.pesel && !mode3)
            add(92, QStringLiteral("PESEL"), false,
                [this](const Unit& u) { return Cell{{m_data.children.value(u.child).pesel}, {}}; });
        if (o.extra && !mode3)
            for (int e = 0; e < m_data.extraColumns.size(); ++e)
                add(m_data.extraColumns[e].width, m_data.extraColumns[e].caption, false, [this, e](const Unit& u) {
                    return Cell{{m_data.extraValues.value(u.child).value(e)}, {}};
                });
        if (o.payments) {
            const int span = m_spans++;
            Column& debt = add(70, QStringLiteral("Zaległość"), true, [](const Unit& u) {
                return positive(u.before) ? Cell{} : Cell{{money2(-u.before)}, {-u.before}};
            });
            debt.top = QStringLiteral("Saldo początkowe");
            debt.topSpan = span;
            Column& over = add(70, QStringLiteral("Nadpłata"), true, [](const Unit& u) {
                return positive(u.before) ? Cell{{money2(u.before)}, {u.before}} : Cell{};
            });
            over.top = QStringLiteral("Saldo początkowe");
            over.topSpan = span;
        }
        const int currentSpan = m_spans++;
        for (const auto& [key, info] : keys) {
            const QChar letter(std::get<0>(key));
            const int group = std::get<2>(key);
            const QString groupName = m_data.feeGroups.value(group);
            if (letter == QLatin1Char('U')) {
                if (int(m_mode) <= int(SettlementMode::Full))
                    add(70, QStringLiteral("Naliczenia razem"), true, [](const Unit& u) {
                        double s = 0;
                        for (const StatementRow* r : u.rows)
                            if (r->rozlicz != QLatin1Char('W'))
                                s -= r->value;
                        return Cell{{money2(s)}, {s}};
                    });
            } else if (letter == QLatin1Char('V')) {
                add(16, QStringLiteral("P o tw"), false, [](const Unit& u) {
                    for (const StatementRow* r : u.rows)
                        if (r->rozlicz == QLatin1Char('V'))
                            return Cell{{QStringLiteral("T ")}, {}};
                    return Cell{};
                });
            } else if (letter == QLatin1Char('W')) {
                add(70, m_data.paymentsText, true, [](const Unit& u) {
                    double s = 0;
                    for (const StatementRow* r : u.rows)
                        if (r->rozlicz == QLatin1Char('W'))
                            s += r->value;
                    return Cell{{money2(s)}, {s}};
                });
            } else if ((letter == QLatin1Char('T') && m_mode == SettlementMode::QuantityAndPrice)
                       || letter == QLatin1Char('M')) {
                priceBlock(letter, group, groupName, info.flags, suffix);
            } else if (m_mode == SettlementMode::ValueOnly || letter == QLatin1Char('N')) {
                const QString heading = groupName
                                        + (letter == QLatin1Char('T') ? QLatin1Char(' ') + m_data.settledText.toLower()
                                                                      : QString());
                Column& c = add(70, heading, true, [this, letter, group](const Unit& u) {
                    double s = 0;
                    for (const StatementRow* r : u.rows)
                        if (r->feeGroup == group && letterOf(*r) == letter)
                            s -= r->value;
                    return Cell{{money2(s)}, {s}};
                });
                if (int(m_mode) >= int(SettlementMode::Full)) {
                    c.top = history ? QStringLiteral("Miesiąc obecny") : polish::monthYear(m_data.year, m_data.month);
                    c.topSpan = currentSpan;
                }
            }
        }
        if (o.payments) {
            const int span = m_spans++;
            Column& debt = add(70, m_data.arrearsText, true, [](const Unit& u) {
                return positive(u.closing) ? Cell{} : Cell{{money2(-u.closing)}, {-u.closing}};
            });
            debt.top = QStringLiteral("Saldo końcowe");
            debt.topSpan = span;
            Column& over = add(70, QStringLiteral("Nadpłata"), true, [](const Unit& u) {
                return positive(u.closing) ? Cell{{money2(u.closing)}, {u.closing}} : Cell{};
            });
            over.top = QStringLiteral("Saldo końcowe");
            over.topSpan = span;
        }
        for (Column& c : m_columns)
            c.totalled = c.numeric && o.sum && !history;
    }

    // The columns of one fee group's prices: one line per distinct price.
    void priceBlock(QChar letter, int group, const QString& groupName, int flags, const QString& suffix)
    {
        const bool mode3 = m_mode == SettlementMode::FeeGroupPrices;
        const bool actual = int(m_mode) >= int(SettlementMode::FeeGroupPrices);
        const int span = m_spans++;
        const bool simple = flags == 0 && (m_mode == SettlementMode::QuantityAndPrice || mode3);
        const QString heading = simple ? groupName + QLatin1Char(' ') + m_data.settledText.toLower() : groupName + suffix;
        auto prices = [this, letter, group](const Unit& u) {
            QList<double> out;
            for (const StatementRow* r : u.rows)
                if (letterOf(*r) == letter && r->feeGroup == group && !out.contains(r->price.value_or(0)))
                    out << r->price.value_or(0);
            std::sort(out.begin(), out.end());
            return out;
        };
        auto spanned = [&](Column& c, const QString& mid = {}, int midSpan = -1) {
            c.top = heading;
            c.topSpan = span;
            c.mid = mid;
            c.midSpan = midSpan;
        };
        if (mode3)
            spanned(add(160, QStringLiteral("składnik"), false, [this](const Unit& u) {
                return Cell{{u.rows.isEmpty() ? QString() : m_data.services.value(u.rows.first()->medium)}, {}};
            }));
        spanned(add(60, QStringLiteral("cena"), false, [prices](const Unit& u) {
            Cell c;
            for (double p : prices(u))
                c.lines << cell::text(p, FieldType::Float, QStringLiteral("#0.00")) + QLatin1Char(' ');
            return c;
        }));
        auto block = [&](const QString& mid, const Instruction& quantity, const Instruction& value) {
            const int midSpan = mid.isEmpty() ? -1 : m_spans++;
            for (int k = 0; k < 2; ++k) {
                const Instruction in = k == 0 ? quantity : value;
                const bool isQuantity = k == 0;
                spanned(add(isQuantity ? 60 : 70, isQuantity ? QStringLiteral("ilość") : QStringLiteral("wartość"), true,
                            [this, prices, in, letter, group, isQuantity](const Unit& u) {
                                Cell c;
                                for (double p : prices(u)) {
                                    double s = 0;
                                    for (const StatementRow* r : u.rows)
                                        if (letterOf(*r) == letter && r->feeGroup == group
                                            && r->price.value_or(0) == p && in.takes(*r))
                                            s += in.of(*r);
                                    if (in.clampPositive && !(s > 0.00001))
                                        s = 0;
                                    c.lines << (isQuantity ? cell::text(s + 0.0, FieldType::Float, m_quantityFormat)
                                                           : money2(s));
                                    c.values << (isQuantity ? s : money::round(s));
                                }
                                return c;
                            }),
                        mid, midSpan);
            }
        };
        using I = Instruction;
        if (simple) {
            block({}, I{false, '0', I::Quantity}, I{false, '0', I::MinusValue});
            return;
        }
        block(m_data.advanceText.toLower(), I{false, '-', I::MinusQuantity}, I{false, '-', I::Value});
        if (flags & 1)
            block(QStringLiteral("przypis"), mode3 ? I{false, 'z', I::PositiveQuantity} : I{true, '0', I::Quantity},
                  mode3 ? I{false, 'z', I::NegativeValue} : I{true, '0', I::MinusValue});
        if (flags & 2)
            block(QStringLiteral("odpis"), mode3 ? I{false, 'z', I::NegativeQuantity} : I{true, '0', I::MinusQuantity},
                  mode3 ? I{false, 'z', I::PositiveValue} : I{true, '0', I::Value});
        if (actual)
            block(QStringLiteral("rzeczywiste"), I{false, '+', I::Quantity}, I{false, '+', I::MinusValue});
    }

    QList<Unit> units() const
    {
        QList<Unit> out;
        const StatementOptions& o = m_data.options;
        const QList<StatementRow>& rows = m_data.rows;
        if (m_mode == SettlementMode::FeeGroupPrices) {
            for (int i = 0; i < rows.size();) {
                Unit u;
                u.number = int(out.size()) + 1;
                int j = i;
                for (; j < rows.size() && rows[j].medium == rows[i].medium
                       && rows[j].price.value_or(0) == rows[i].price.value_or(0); ++j)
                    u.rows << &rows[j];
                u.child = rows[i].child;
                u.year = m_data.year;
                u.month = m_data.month;
                out << u;
                i = j;
            }
            return out;
        }
        QList<QPair<int, int>> months;  // with history: the months from the start
        if (o.historyFrom) {
            const int start = (m_data.historyStart / 100) * 12 + m_data.historyStart % 100;
            for (auto it = m_data.months.cbegin(); it != m_data.months.cend(); ++it) {
                const int ym = 12 * it.value().first + it.value().second;
                if (ym >= start && ym <= 12 * m_data.year + m_data.month)
                    months << it.value();
            }
            std::sort(months.begin(), months.end());
        } else {
            months << qMakePair(m_data.year, m_data.month);
        }
        int childIndex = -1;
        for (int i = 0; i < rows.size();) {
            int end = i;
            while (end < rows.size() && rows[end].child == rows[i].child)
                ++end;
            ++childIndex;
            for (const auto& [year, month] : months) {
                Unit u;
                u.childIndex = childIndex;
                u.child = rows[i].child;
                u.year = year;
                u.month = month;
                u.number = childIndex + 1;
                const int ym = 12 * year + month;
                for (int k = i; k < end; ++k) {
                    if (rows[k].ym() < ym)
                        u.before += rows[k].value;
                    else if (rows[k].ym() == ym)
                        u.rows << &rows[k];
                }
                u.closing = u.before;
                for (const StatementRow* r : u.rows)
                    u.closing += r->value;
                out << u;
            }
            i = end;
        }
        return out;
    }

    void scale()
    {
        double right = 0;
        for (const Column& c : m_columns)
            right = c.x + c.width;
        if (right <= widthLimit)
            return;
        m_font.pointSize = 8;
        for (Column& c : m_columns) {
            const double left = std::floor(8 * c.x / 10);
            c.width = std::floor(8 * (c.x + c.width + 1) / 10) - left - 1;
            c.x = left;
        }
    }

    double lineHeight(int lines) const
    {
        return levelHeight + std::max(0, lines - 1) * (m_font.pointSize * 17 / 10);
    }

    QList<Primitive> line(const QList<Cell>& cells)
    {
        int most = 1;
        for (const Cell& c : cells)
            most = std::max(most, int(c.lines.size()));
        const double height = lineHeight(most);
        QList<Primitive> out;
        for (int i = 0; i < m_columns.size(); ++i) {
            const Column& col = m_columns[i];
            const QRectF box(col.x, 0, col.width, height);
            out << report::Box{box, Qt::black, 1, QColor()};
            // Every column has a text, empty or not, for the table exports.
            const QStringList lines = cells[i].lines.isEmpty() ? QStringList{QString()} : cells[i].lines;
            for (int l = 0; l < lines.size(); ++l) {
                const QString text = lines[l].isEmpty() ? QString()
                                     : col.numeric ? lines[l] + QLatin1Char(' ')
                                                   : QLatin1Char(' ') + lines[l];
                out << statementText(m_fonts, QRectF(col.x + 1, 1 + l * (m_font.pointSize * 17 / 10), col.width - 2,
                                                     levelHeight - 2),
                                     text, m_font, col.numeric ? Qt::AlignRight : Qt::AlignLeft);
            }
        }
        return out;
    }

    QList<Primitive> headings(bool exporting)
    {
        const bool anyMid = std::any_of(m_columns.begin(), m_columns.end(), [](const Column& c) { return c.midSpan >= 0; });
        const bool anyTop = std::any_of(m_columns.begin(), m_columns.end(), [](const Column& c) { return c.topSpan >= 0; });
        const int levels = std::max(2, 1 + (anyTop ? 1 : 0) + (anyMid ? 1 : 0));
        const double height = levels * levelHeight;
        const Qt::Alignment alignment = exporting ? Qt::AlignRight : Qt::AlignHCenter;
        QList<Primitive> out;
        auto heading = [&](const QRectF& r, const QString& s) {
            out << report::Box{r, Qt::black, 1, QColor()};
            report::TextBox box = statementText(m_fonts, r.adjusted(1, 1, -1, -1), s, m_font, alignment);
            box.lines = m_fonts[m_font].lines(s, r.width() - 2, true);
            out << box;
        };
        for (int i = 0; i < m_columns.size(); ++i) {
            const Column& c = m_columns[i];
            double top = 0;
            if (c.topSpan >= 0) {
                if (i == 0 || m_columns[i - 1].topSpan != c.topSpan) {
                    int j = i;
                    while (j + 1 < m_columns.size() && m_columns[j + 1].topSpan == c.topSpan)
                        ++j;
                    heading(QRectF(c.x, 0, m_columns[j].x + m_columns[j].width - c.x, levelHeight), c.top);
                }
                top = levelHeight;
            }
            if (c.midSpan >= 0) {
                if (i == 0 || m_columns[i - 1].midSpan != c.midSpan) {
                    int j = i;
                    while (j + 1 < m_columns.size() && m_columns[j + 1].midSpan == c.midSpan)
                        ++j;
                    heading(QRectF(c.x, top, m_columns[j].x + m_columns[j].width - c.x, levelHeight), c.mid);
                }
                top += levelHeight;
            }
            heading(QRectF(c.x, top, c.width, height - top), c.leaf);
        }
        return out;
    }

    QList<Primitive> totals(const QList<double>& sums)
    {
        QList<Cell> cells;
        for (int i = 0; i < m_columns.size(); ++i) {
            const Column& c = m_columns[i];
            if (c.totalled)
                cells << Cell{{money2(sums[i])}, {}};
            else
                cells << Cell{{c.totalCaption}, {}};
        }
        QList<Primitive> out = line(cells);
        const double right = m_columns.isEmpty() ? 0 : m_columns.last().x + m_columns.last().width;
        out << report::Line{QPointF(0, lineHeight(1)), QPointF(right, lineHeight(1)), Qt::black, 2};
        return out;
    }

    void run(StatementLines& out, report::Rows& rows, std::optional<int>& headingLine, std::optional<int>& totalsLine)
    {
        rows.fields = QStringList{childField(), lineField()};
        buildColumns();
        scale();
        const QList<Unit> all = units();
        QList<double> sums(m_columns.size(), 0.0);
        int lastChild = -1;
        for (const Unit& u : all) {
            if (u.childIndex != lastChild && m_mode != SettlementMode::FeeGroupPrices) {
                lastChild = u.childIndex;
                double charges = 0;
                for (const StatementRow* r : u.rows)
                    if (r->rozlicz != QLatin1Char('W'))
                        charges -= r->value;
                out.children.append({u.child, money::round(charges), std::nullopt});
            }
            if (!out.children.isEmpty() && m_data.options.payments)
                out.children.last().balance = money::round(u.closing);
            QList<Cell> cells;
            for (int i = 0; i < m_columns.size(); ++i) {
                cells << m_columns[i].cell(u);
                for (double v : cells.last().values)
                    sums[i] += v;
            }
            rows.rows.append(QVariantList{std::max(0, int(out.children.size()) - 1), int(out.lines.size())});
            out.lines << line(cells);
        }
        if (m_mode == SettlementMode::FeeGroupPrices && out.children.isEmpty())
            out.children.append({0, 0, std::nullopt});
        headingLine = int(out.lines.size());
        out.lines << headings(false);
        while (out.exportLines.size() < out.lines.size())
            out.exportLines << QList<Primitive>();
        out.exportLines[*headingLine] = headings(true);
        if (m_data.options.sum && !m_data.options.historyFrom) {
            totalsLine = int(out.lines.size());
            out.lines << totals(sums);
        }
    }

private:
    Column& add(double width, const QString& leaf, bool numeric, std::function<Cell(const Unit&)> cell)
    {
        Column c;
        c.x = m_x;
        c.width = width;
        c.leaf = leaf;
        c.numeric = numeric;
        c.cell = std::move(cell);
        m_x += width + 1;
        m_columns << c;
        return m_columns.last();
    }

    const StatementData& m_data;
    SettlementMode m_mode;
    report::TextFont m_font;
    report::FontCache m_fonts;
    QString m_quantityFormat;
    QList<Column> m_columns;
    double m_x = 0;
    int m_spans = 0;
};

}  // namespace

void layOutLandscape(const StatementData& data, StatementLines& lines, report::Rows& rows,
                     std::optional<int>& headingLine, std::optional<int>& totalsLine)
{
    LandscapeBuilder builder(data);
    builder.run(lines, rows, headingLine, totalsLine);
}

}  // namespace printouts
