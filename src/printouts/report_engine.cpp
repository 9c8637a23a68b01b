#include "report_engine.h"

#include "text_layout.h"

#include <unordered_map>

namespace report {

namespace {

constexpr double epsilon = 0.001;

// A band instance laid out at its final height, its primitives relative to
// its top-left corner: placing it only moves them.
struct LaidOut {
    double height = 0;
    QList<Primitive> items;
};

struct Scope {
    int begin = 0;
    int end = 0;
};

struct Translate {
    QPointF by;
    void operator()(TextBox& t) const { t.rect.translate(by); }
    void operator()(Line& l) const
    {
        l.from += by;
        l.to += by;
    }
    void operator()(Box& b) const { b.rect.translate(by); }
    void operator()(Picture& p) const { p.rect.translate(by); }
};

struct Bottom {
    double operator()(const TextBox& t) const { return t.rect.bottom(); }
    double operator()(const Line& l) const { return qMax(l.from.y(), l.to.y()); }
    double operator()(const Box& b) const { return b.rect.bottom(); }
    double operator()(const Picture& p) const { return p.rect.bottom(); }
};

bool hasPageCount(const std::optional<Band>& band)
{
    if (!band)
        return false;
    for (const Item& item : band->items)
        if (item.kind == Item::Kind::PageNumber && item.text.contains(QLatin1String("{pages}")))
            return true;
    return false;
}

bool hasPageCount(const Report& report)
{
    for (const std::optional<Band>* band : {&report.titleBand, &report.pageHeader, &report.columnHeader,
                                            &report.detail, &report.summary, &report.pageFooter, &report.child})
        if (hasPageCount(*band))
            return true;
    for (const Group& group : report.groups)
        if (hasPageCount(group.header) || hasPageCount(group.footer))
            return true;
    return false;
}

bool hasKind(const Band& band, std::initializer_list<Item::Kind> kinds)
{
    for (const Item& item : band.items)
        for (Item::Kind kind : kinds)
            if (item.kind == kind)
                return true;
    return false;
}

bool isEmptyValue(const QVariant& v)
{
    return !v.isValid() || v.isNull() || (v.typeId() == QMetaType::QString && v.toString().isEmpty());
}

class Engine {
public:
    Engine(const Report& report, const Rows& rows, Purpose purpose, const PageSink* sink, int pageCount)
        : m_report(report)
        , m_rows(rows)
        , m_sink(sink)
        , m_pageCount(pageCount)
    {
        m_state.rows = &rows;
        m_state.purpose = purpose;
        m_state.description = &report.description;
        for (const Group& group : report.groups) {
            QList<int> indexes;
            for (const QString& field : group.keyFields)
                indexes.append(rows.fieldIndex(field));
            m_groupKeys.append(indexes);
        }
        m_groupStart.fill(0, report.groups.size());
        for (const std::optional<Band>* band : {&report.pageFooter, &report.child})
            if (*band && (*band)->visible)
                m_reserved += (*band)->height;
        const Columns& columns = report.columns;
        m_columnCount = qMax(1, columns.count);
        m_pitch = columns.pitch > 0 ? columns.pitch : report.bodyWidth() / m_columnCount;
    }

    PreparedPages run();

private:
    // Layout.
    LaidOut layOut(const Band& band, Scope scope);
    QString textOf(const Item& item, Scope scope);
    QString aggregate(const Item& item, Scope scope);
    int fieldIndex(const Item& item);

    // Placing.
    void place(const LaidOut& band, double x, double y, double width, BandKind kind);
    void placeFlowing(const Band& band, LaidOut laid, Scope scope);
    void placeDetail(const Band& band, LaidOut laid, Scope scope);
    void finishColumns();
    bool bodyHasContent() const { return m_y > m_bodyTop + epsilon; }
    bool fits(double height) const { return m_y + height <= m_bottom + epsilon; }

    // Pages.
    void openPage();
    void closePage();
    void newPage();

    // Groups.
    int changedLevel(int row) const;
    int groupEnd(int level, int row) const;
    void openGroups(int level, int row, const LaidOut& detail);
    void closeGroups(int level, int lastRow);

    const Report& m_report;
    const Rows& m_rows;
    const PageSink* m_sink;
    int m_pageCount;  // 0 while counting
    RunState m_state;
    FontCache m_fonts;
    PreparedPages m_out;

    struct Accumulator {
        Scope scope;
        QVariant value;
    };
    std::unordered_map<const Item*, Accumulator> m_accumulators;
    std::unordered_map<const Item*, int> m_fieldIndexes;

    QList<QList<int>> m_groupKeys;
    QList<int> m_groupStart;

    Page m_page;
    bool m_pageOpen = false;
    bool m_titlePending = true;
    bool m_stopped = false;
    int m_pageFirstRow = 0;
    int m_rowsDone = 0;  // rows placed so far
    double m_reserved = 0;
    double m_y = 0;
    double m_bodyTop = 0;
    double m_bottom = 0;

    int m_columnCount = 1;
    double m_pitch = 0;
    int m_column = 0;
    bool m_flowing = false;  // down: a run of columns has started on this page
    double m_columnTop = 0;
    double m_columnY = 0;
};

int Engine::fieldIndex(const Item& item)
{
    auto found = m_fieldIndexes.find(&item);
    if (found == m_fieldIndexes.end())
        found = m_fieldIndexes.emplace(&item, m_rows.fieldIndex(item.field)).first;
    return found->second;
}

QString Engine::aggregate(const Item& item, Scope scope)
{
    const int index = item.field.isEmpty() ? -1 : fieldIndex(item);
    auto step = [&](const QVariant& acc, const QVariant& value) -> QVariant {
        switch (item.kind) {
        case Item::Kind::Sum:
            return isEmptyValue(value) ? acc : QVariant(acc.toDouble() + value.toDouble());
        case Item::Kind::Count:
            return (item.field.isEmpty() || !isEmptyValue(value)) ? QVariant(acc.toInt() + 1) : acc;
        default:
            return item.fold.step ? item.fold.step(acc, value) : acc;
        }
    };
    auto start = [&]() -> QVariant {
        switch (item.kind) {
        case Item::Kind::Sum:
            return 0.0;
        case Item::Kind::Count:
            return 0;
        default:
            return item.fold.start;
        }
    };
    // Scopes only grow while a band repeats over the same rows (running
    // totals, a group's footer), so the fold goes on where it stopped.
    Accumulator& acc = m_accumulators[&item];
    if (acc.scope.begin != scope.begin || acc.scope.end > scope.end || !acc.value.isValid()) {
        acc.scope = {scope.begin, scope.begin};
        acc.value = start();
    }
    for (int r = acc.scope.end; r < scope.end; ++r)
        acc.value = step(acc.value, index >= 0 ? m_rows.rows[r].value(index) : QVariant());
    acc.scope.end = qMax(acc.scope.end, scope.end);

    switch (item.kind) {
    case Item::Kind::Sum:
        return formatValue(acc.value, item.format);
    case Item::Kind::Count:
        return QString::number(acc.value.toInt());
    default:
        return item.fold.text ? item.fold.text(acc.value) : acc.value.toString();
    }
}

QString Engine::textOf(const Item& item, Scope scope)
{
    switch (item.kind) {
    case Item::Kind::Text:
        return item.text;
    case Item::Kind::Field: {
        const int index = fieldIndex(item);
        if (index < 0 || m_state.row < 0 || m_state.row >= m_rows.rows.size())
            return {};
        return formatValue(m_rows.rows[m_state.row].value(index), item.format);
    }
    case Item::Kind::Computed:
        return item.compute ? item.compute(m_state) : QString();
    case Item::Kind::Sum:
    case Item::Kind::Count:
    case Item::Kind::Folded:
        return aggregate(item, scope);
    case Item::Kind::PageNumber: {
        QString text = item.text;
        text.replace(QLatin1String("{page}"), QString::number(m_state.pageNumber));
        // While counting, the widest likely count keeps the measure honest.
        text.replace(QLatin1String("{pages}"), QString::number(m_pageCount > 0 ? m_pageCount : 999));
        return text;
    }
    default:
        return {};
    }
}

LaidOut Engine::layOut(const Band& band, Scope scope)
{
    LaidOut laid;
    laid.height = band.height;
    laid.items.reserve(band.items.size());
    for (const Item& item : band.items) {
        if (!item.visible)
            continue;
        switch (item.kind) {
        case Item::Kind::Line:
            laid.items.append(Line{item.rect.topLeft(), item.rect.bottomRight(), item.lineColour, item.lineWidth});
            continue;
        case Item::Kind::Rectangle:
            laid.items.append(Box{item.rect, item.lineColour, item.lineWidth, item.fill});
            continue;
        case Item::Kind::Picture:
            laid.items.append(Picture{item.rect, item.image, item.keepAspect});
            continue;
        case Item::Kind::Drawn: {
            if (!item.draw)
                continue;
            const Translate move{item.rect.topLeft()};
            for (Primitive primitive : item.draw(m_state)) {
                std::visit(move, primitive);
                laid.height = qMax(laid.height, std::visit(Bottom{}, primitive));
                laid.items.append(std::move(primitive));
            }
            continue;
        }
        default:
            break;
        }
        const MeasuredFont& font = m_fonts[item.style.font];
        TextBox box;
        box.rect = item.rect;
        box.lines = font.lines(textOf(item, scope), item.rect.width(), item.style.wordWrap);
        box.font = item.style.font;
        box.colour = item.style.colour;
        box.alignment = item.style.alignment;
        box.lineHeight = font.lineHeight();
        box.ascent = font.ascent();
        box.clip = item.style.clip;
        if (item.style.autoStretch || (band.stretch && item.style.wordWrap)) {
            box.rect.setHeight(qMax(item.rect.height(), box.lines.size() * font.lineHeight()));
            laid.height = qMax(laid.height, box.rect.bottom());
        }
        laid.items.append(std::move(box));
    }
    return laid;
}

void Engine::place(const LaidOut& band, double x, double y, double width, BandKind kind)
{
    BandRecord record;
    record.kind = kind;
    record.rect = QRectF(x, y, width, band.height);
    record.first = int(m_page.items.size());
    record.count = int(band.items.size());
    const Translate move{QPointF(x, y)};
    for (Primitive item : band.items) {
        std::visit(move, item);
        m_page.items.append(std::move(item));
    }
    m_page.bands.append(record);
}

void Engine::placeFlowing(const Band& band, LaidOut laid, Scope scope)
{
    const int page = m_state.pageNumber;
    if (bodyHasContent() && (band.newPageBefore || !fits(laid.height)))
        newPage();
    if (page != m_state.pageNumber && hasKind(band, {Item::Kind::PageNumber}))
        laid = layOut(band, scope);
    place(laid, m_report.marginLeft, m_y, m_report.bodyWidth(), band.kind);
    m_y += laid.height;
}

void Engine::placeDetail(const Band& band, LaidOut laid, Scope scope)
{
    if (m_columnCount == 1) {
        placeFlowing(band, std::move(laid), scope);
        return;
    }
    const double height = laid.height;
    if (!m_report.columns.down) {
        if (m_column == 0) {
            if (bodyHasContent() && (band.newPageBefore || !fits(height)))
                newPage();
            m_columnTop = m_y;
        }
        place(laid, m_report.marginLeft + m_column * m_pitch, m_columnTop, m_pitch, band.kind);
        m_y = qMax(m_y, m_columnTop + height);
        m_column = (m_column + 1) % m_columnCount;
        return;
    }
    if (!m_flowing) {
        m_flowing = true;
        m_column = 0;
        m_columnTop = m_columnY = m_y;
    }
    if (m_columnY + height > m_bottom + epsilon && m_columnY > m_columnTop + epsilon) {
        if (m_column + 1 < m_columnCount) {
            ++m_column;
            m_columnY = m_columnTop;
        } else {
            newPage();
            m_flowing = true;
            m_columnTop = m_columnY = m_y;
        }
    }
    place(laid, m_report.marginLeft + m_column * m_pitch, m_columnY, m_pitch, band.kind);
    m_columnY += height;
    m_y = qMax(m_y, m_columnY);
}

void Engine::finishColumns()
{
    m_column = 0;
    m_flowing = false;
}

void Engine::openPage()
{
    m_page = Page{};
    m_page.size = m_report.pageSize;
    m_pageOpen = true;
    ++m_state.pageNumber;
    m_pageFirstRow = m_rowsDone;
    m_y = m_report.marginTop;
    m_bottom = m_report.pageSize.height() - m_report.marginBottom - m_reserved;
    m_bodyTop = m_y;
    finishColumns();
    const Scope pageRows{m_pageFirstRow, m_rowsDone};
    auto put = [&](const std::optional<Band>& band, Scope scope) {
        if (band && band->printed(m_state)) {
            const LaidOut laid = layOut(*band, scope);
            place(laid, m_report.marginLeft, m_y, m_report.bodyWidth(), band->kind);
            m_y += laid.height;
        }
    };
    put(m_report.pageHeader, pageRows);
    if (m_titlePending) {
        m_titlePending = false;
        put(m_report.titleBand, {0, int(m_rows.rows.size())});
    }
    put(m_report.columnHeader, pageRows);
    m_bodyTop = m_y;
}

void Engine::closePage()
{
    if (!m_pageOpen)
        return;
    const Scope pageRows{m_pageFirstRow, m_rowsDone};
    double y = m_report.pageSize.height() - m_report.marginBottom - m_reserved;
    for (const std::optional<Band>* band : {&m_report.pageFooter, &m_report.child}) {
        if (*band && (*band)->printed(m_state)) {
            const LaidOut laid = layOut(**band, pageRows);
            place(laid, m_report.marginLeft, y, m_report.bodyWidth(), (*band)->kind);
            y += laid.height;
        }
    }
    m_pageOpen = false;
    m_out.pages.append(std::move(m_page));
    if (m_sink && *m_sink) {
        const int total = int(m_rows.rows.size());
        const int percent = total == 0 ? 100 : int(qint64(m_rowsDone) * 100 / total);
        if (!(*m_sink)(m_out.pages.last(), m_state.pageNumber, percent))
            m_stopped = true;
    }
}

void Engine::newPage()
{
    const int row = m_state.row;
    // The foot of a page belongs to the last row placed on it, not to the
    // row whose band moved on to the next page.
    if (m_rowsDone > 0 && m_state.row >= m_rowsDone)
        m_state.row = m_rowsDone - 1;
    closePage();
    m_state.row = row;
    openPage();
}

int Engine::changedLevel(int row) const
{
    if (row == 0)
        return 0;
    const QVariantList& previous = m_rows.rows[row - 1];
    const QVariantList& current = m_rows.rows[row];
    for (int level = 0; level < m_groupKeys.size(); ++level)
        for (int index : m_groupKeys[level])
            if (index >= 0 && previous.value(index) != current.value(index))
                return level;
    return int(m_groupKeys.size());
}

int Engine::groupEnd(int level, int row) const
{
    const QVariantList& first = m_rows.rows[row];
    int end = row + 1;
    for (; end < m_rows.rows.size(); ++end) {
        const QVariantList& other = m_rows.rows[end];
        bool same = true;
        for (int l = 0; l <= level && same; ++l)
            for (int index : m_groupKeys[l])
                if (index >= 0 && first.value(index) != other.value(index))
                    same = false;
        if (!same)
            break;
    }
    return end;
}

void Engine::openGroups(int level, int row, const LaidOut& detail)
{
    struct Header {
        const Band* band;
        LaidOut laid;
        Scope scope;
    };
    QList<Header> headers;
    double height = detail.height;
    for (int l = level; l < m_report.groups.size(); ++l) {
        m_groupStart[l] = row;
        const std::optional<Band>& band = m_report.groups[l].header;
        if (!band || !band->printed(m_state))
            continue;
        // A total in a group's header reads ahead to the group's end.
        const bool totals = hasKind(*band, {Item::Kind::Sum, Item::Kind::Count, Item::Kind::Folded});
        const Scope scope{row, totals ? groupEnd(l, row) : row};
        headers.append({&*band, layOut(*band, scope), scope});
        height += headers.last().laid.height;
    }
    if (headers.isEmpty())
        return;
    finishColumns();
    // Headers move on with the first row of their group rather than stay
    // alone at the foot of a page.
    if (bodyHasContent() && !fits(height))
        newPage();
    for (Header& header : headers)
        placeFlowing(*header.band, std::move(header.laid), header.scope);
}

void Engine::closeGroups(int level, int lastRow)
{
    finishColumns();
    for (int l = int(m_report.groups.size()) - 1; l >= level; --l) {
        const std::optional<Band>& band = m_report.groups[l].footer;
        if (!band || !band->printed(m_state))
            continue;
        const Scope scope{m_groupStart[l], lastRow + 1};
        placeFlowing(*band, layOut(*band, scope), scope);
    }
}

PreparedPages Engine::run()
{
    m_out.title = m_report.title;
    m_out.description = m_report.description;
    const int count = int(m_rows.rows.size());
    m_state.row = count > 0 ? 0 : -1;
    openPage();
    for (int row = 0; row < count && !m_stopped; ++row) {
        const int level = changedLevel(row);
        if (row > 0 && level < m_report.groups.size()) {
            m_state.row = row - 1;
            closeGroups(level, row - 1);
        }
        m_state.row = row;
        if (m_stopped)
            break;
        const Scope running{0, row + 1};
        LaidOut detail;
        const bool detailPrinted = m_report.detail && m_report.detail->printed(m_state);
        if (detailPrinted)
            detail = layOut(*m_report.detail, running);
        if (level < m_report.groups.size())
            openGroups(level, row, detail);
        if (detailPrinted)
            placeDetail(*m_report.detail, std::move(detail), running);
        m_rowsDone = row + 1;
    }
    if (!m_stopped) {
        m_state.row = count - 1;
        if (count > 0 && !m_report.groups.isEmpty())
            closeGroups(0, count - 1);
        finishColumns();
        if (m_report.summary && m_report.summary->printed(m_state))
            placeFlowing(*m_report.summary, layOut(*m_report.summary, {0, count}), {0, count});
        closePage();
    }
    return std::move(m_out);
}

}  // namespace

PreparedPages prepare(const Report& definition, const Rows& rows, Purpose purpose, const PageSink& sink)
{
    // A table export changes a copy, so the definition never needs restoring.
    const Report exported = purpose == Purpose::TableExport ? asTableExport(definition) : Report{};
    const Report& report = purpose == Purpose::TableExport ? exported : definition;
    int pageCount = 1;
    if (hasPageCount(report))
        pageCount = qMax(1, int(Engine(report, rows, purpose, nullptr, 0).run().pages.size()));
    return Engine(report, rows, purpose, &sink, pageCount).run();
}

ReportJob::ReportJob(Report report, Rows rows)
    : m_report(std::move(report))
    , m_rows(std::move(rows))
{
}

PreparedPages ReportJob::run(Purpose purpose, const PageSink& sink) const
{
    return prepare(m_report, m_rows, purpose, sink);
}

}  // namespace report
