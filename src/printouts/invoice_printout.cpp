// TRaportFakt: the invoices printout, laid out as a report definition. The
// fixed table is laid out here once, when the job is made, so that the run
// only places prepared lines between the template's bands.

#include "invoice_printout.h"

#include "amount_in_words.h"
#include "invoice_documents.h"
#include "report_engine.h"
#include "template_data_fields.h"
#include "template_render.h"
#include "text_layout.h"

#include "browser/cell_text.h"
#include "store/database.h"
#include "store/money.h"
#include "store/polish_dates.h"
#include "store/query.h"
#include "store/schema.h"

#include <QSet>

namespace printouts {

namespace {

using report::Primitive;

const QString docField = QStringLiteral("DOC");
const QString sectionField = QStringLiteral("SEC");
const QString lineField = QStringLiteral("LINE");

struct Column {
    const char* caption;
    double width;
    Qt::Alignment alignment;
};

// Lp, Nazwa usługi, Ilość, Jm, Cena, Netto, Staw., VAT, Brutto: 718 in all.
constexpr Column columns[] = {
    {"Lp", 28, Qt::AlignHCenter},  {"Nazwa usługi", 265, Qt::AlignLeft}, {"Ilość", 55, Qt::AlignRight},
    {"Jm", 50, Qt::AlignHCenter},  {"Cena", 65, Qt::AlignRight},         {"Netto", 70, Qt::AlignRight},
    {"Staw.", 45, Qt::AlignHCenter}, {"VAT", 65, Qt::AlignRight},        {"Brutto", 75, Qt::AlignRight},
};
constexpr int columnCount = int(std::size(columns));
constexpr int netColumn = 5;
constexpr double padding = 2;
constexpr double headingGap = 6;

double columnLeft(int column)
{
    double x = 0;
    for (int i = 0; i < column; ++i)
        x += columns[i].width;
    return x;
}

QString money2(double value)
{
    return cell::text(value, FieldType::Float, QStringLiteral("#0.00"));
}

// The prepared lines of the fixed table, shared by every run of the job.
struct TableLayout {
    QList<QList<Primitive>> sectionHeads;
    QList<QList<Primitive>> lines;
};

class TableBuilder {
public:
    explicit TableBuilder(int quantityDecimals)
        : m_quantityFormat(quantityFormat(quantityDecimals))
    {
        m_plain.family = QStringLiteral("Arial");
        m_plain.pointSize = 10;
        m_bold = m_plain;
        m_bold.bold = true;
    }

    QList<Primitive> sectionHead(const InvoiceSection& section)
    {
        QList<Primitive> out;
        if (section.type == QLatin1Char('A'))
            return out;
        const double width = columnLeft(columnCount);
        const report::MeasuredFont& font = m_fonts[m_bold];
        const QStringList lines = font.lines(section.heading, width, true);
        out.append(text(QRectF(0, headingGap, width, lines.size() * font.lineHeight()), lines, m_bold, Qt::AlignLeft));
        if (section.showsItems) {
            QStringList captions;
            for (const Column& c : columns)
                captions << QString::fromUtf8(c.caption);
            row(out, headingGap + lines.size() * font.lineHeight() + padding, captions, m_bold, true);
        }
        return out;
    }

    QList<Primitive> itemLine(const InvoiceLine& line)
    {
        QList<Primitive> out;
        row(out, 0,
            {QString::number(line.position), line.service,
             line.quantity ? cell::text(*line.quantity, FieldType::Float, m_quantityFormat) : QString(), line.unit,
             line.price ? cell::text(*line.price, FieldType::Float, QStringLiteral("#0.00##")) : QString(),
             money2(line.net()), line.rateName, money2(line.vat), money2(line.gross)},
            m_plain, false);
        return out;
    }

    // Caption over the columns before "Netto", the sums framed.
    QList<Primitive> totalsLine(const QString& caption, const QString& rateName, const VatSums& sums, bool rule,
                                bool bold)
    {
        QList<Primitive> out;
        const report::TextFont& font = bold ? m_bold : m_plain;
        const double height = m_fonts[font].lineHeight() + 2 * padding;
        const double left = columnLeft(netColumn);
        if (!caption.isEmpty())
            out.append(text(QRectF(0, padding, left - 2 * padding, height - 2 * padding), {caption}, font,
                             Qt::AlignRight));
        const QStringList values{money2(sums.net), rateName, money2(sums.vat), money2(sums.gross)};
        for (int i = 0; i < values.size(); ++i) {
            const int column = netColumn + i;
            const QRectF cell(columnLeft(column), 0, columns[column].width, height);
            out.append(report::Box{cell, Qt::black, 1, QColor()});
            out.append(text(cell.adjusted(padding, padding, -padding, -padding), {values[i]}, font,
                            columns[column].alignment));
        }
        if (rule)
            out.append(report::Line{QPointF(0, 0), QPointF(columnLeft(columnCount), 0), Qt::black, 1});
        return out;
    }

private:
    report::TextBox text(const QRectF& rect, const QStringList& lines, const report::TextFont& font,
                         Qt::Alignment alignment)
    {
        const report::MeasuredFont& measured = m_fonts[font];
        report::TextBox box;
        box.rect = rect;
        box.lines = lines;
        box.font = font;
        box.alignment = alignment | Qt::AlignTop;
        box.lineHeight = measured.lineHeight();
        box.ascent = measured.ascent();
        return box;
    }

    // One framed row of the nine columns at `top`, as high as its tallest cell.
    void row(QList<Primitive>& out, double top, const QStringList& values, const report::TextFont& font, bool centred)
    {
        const report::MeasuredFont& measured = m_fonts[font];
        QList<QStringList> cells;
        int most = 1;
        for (int i = 0; i < columnCount; ++i) {
            cells.append(measured.lines(values.value(i), columns[i].width - 2 * padding, true));
            most = qMax(most, int(cells.last().size()));
        }
        const double height = most * measured.lineHeight() + 2 * padding;
        for (int i = 0; i < columnCount; ++i) {
            const QRectF cell(columnLeft(i), top, columns[i].width, height);
            out.append(report::Box{cell, Qt::black, 1, QColor()});
            out.append(text(cell.adjusted(padding, padding, -padding, -padding), cells[i], font,
                            centred ? Qt::AlignHCenter : columns[i].alignment));
        }
    }

    QString m_quantityFormat;
    report::TextFont m_plain;
    report::TextFont m_bold;
    report::FontCache m_fonts;
};

// The invoice's own data fields and those every document shares.
DataFieldValues invoiceFields(std::shared_ptr<const InvoiceDocuments> data)
{
    DataFieldValues fields;
    fields.knows = [](const QString& name) { return isDataFieldOffered(TemplateType::Invoices, name); };
    fields.value = [data](const QString& name, const report::RunState& state) -> QString {
        // The institution prints even on a report without documents.
        if (std::optional<QString> v = institutionFieldValue(name, data->institution, TemplateDocument::Invoices))
            return *v;
        const QVariant index = state.value(docField);
        if (!index.isValid() || index.isNull())
            return {};
        const InvoiceDocument& d = data->documents.at(index.toInt());
        const double total = money::round(d.total);
        if (name == QLatin1String("Numer dokumentu"))
            return d.numberField();
        if (name == QLatin1String("Numer dokumentu pierwotnego"))
            return d.correction && !d.originalNumberText.isEmpty()
                       ? QStringLiteral("do faktury VAT nr: ") + d.originalNumberText
                       : QStringLiteral(" ");
        if (name == QStringLiteral("Data operacji"))
            return operationDate(d.issued);
        if (name == QStringLiteral("Termin płatności"))
            return operationDate(d.due);
        if (name == QStringLiteral("Miesiąc raportu"))
            return reportMonth(d.year, d.month);
        if (name == QStringLiteral("Oryginał/kopia"))
            return data->copyLabel;
        if (name == QStringLiteral("Wartość naliczenia"))
            return money2(std::abs(total)) + QStringLiteral(" zł");
        if (name == QStringLiteral("Wartość naliczenia słownie"))
            return amountInWords(total);
        if (name == QStringLiteral("Znak naliczenia"))
            return total >= 0 ? QStringLiteral("Do zapłaty:") : QStringLiteral("Do zwrotu:");
        if (std::optional<QString> v = childFieldValue(name, data->children.value(d.addressee), 0))
            return *v;
        return {};
    };
    return fields;
}

report::Item preparedItem(std::shared_ptr<const TableLayout> table, const QString& field, bool sections)
{
    return report::Item::drawn(QRectF(), [table, field, sections](const report::RunState& state) {
        const QVariant index = state.value(field);
        const QList<QList<Primitive>>& list = sections ? table->sectionHeads : table->lines;
        if (!index.isValid() || index.isNull() || index.toInt() < 0 || index.toInt() >= list.size())
            return QList<Primitive>();
        return list.at(index.toInt());
    });
}

}  // namespace

QStringList copyLabels()
{
    return {QStringLiteral("Oryginał"), QStringLiteral("Kopia"), QStringLiteral("Oryginał - duplikat"),
            QStringLiteral("Kopia - duplikat")};
}

QString copyLabelText(const QString& label, QDate today)
{
    if (label.endsWith(QLatin1String(" - duplikat")))
        return label + QStringLiteral("\r\nz dnia ") + polish::shortDate(today);
    return label;
}

std::optional<int> monthCode(Database& db, int year, int month)
{
    Query q(db, QStringLiteral("select KOD from MIESIACE where ROK=:ROK and MIES=:MIES"));
    q.bind(QStringLiteral("ROK"), year).bind(QStringLiteral("MIES"), month).exec();
    if (!q.next())
        return std::nullopt;
    return q.value(0).toInt();
}

QList<int> invoiceAddressees(Database& db, InvoiceSelection selection)
{
    selection.chosen.reset();
    const InvoiceDocuments data = readInvoiceDocuments(db, selection);
    QList<int> children;
    QSet<int> seen;
    for (const InvoiceDocument& d : data.documents)
        if (!seen.contains(d.addressee)) {
            seen.insert(d.addressee);
            children.append(d.addressee);
        }
    return children;
}

std::unique_ptr<report::Job> makeInvoicesJob(Database& db, const InvoiceSelection& selection,
                                             const BuiltTemplate* layout)
{
    auto data = std::make_shared<InvoiceDocuments>(readInvoiceDocuments(db, selection));
    auto table = std::make_shared<TableLayout>();
    report::Rows rows;
    rows.fields = QStringList{docField, sectionField, lineField};
    TableBuilder builder(data->quantityDecimals);
    for (int d = 0; d < data->documents.size(); ++d) {
        for (const InvoiceSection& section : data->documents[d].sections) {
            const int s = int(table->sectionHeads.size());
            table->sectionHeads.append(builder.sectionHead(section));
            auto addLine = [&](QList<Primitive> primitives) {
                rows.rows.append(QVariantList{d, s, int(table->lines.size())});
                table->lines.append(std::move(primitives));
            };
            if (section.type == QLatin1Char('A')) {
                rows.rows.append(QVariantList{d, s, -1});
                continue;
            }
            if (section.showsItems)
                for (const InvoiceLine& line : section.lines)
                    addLine(builder.itemLine(line));
            for (const VatLine& vat : section.vatLines)
                addLine(builder.totalsLine(vat.first ? QStringLiteral("Razem wg stawek VAT") : QString(), vat.rateName,
                                           vat.sums, vat.first, false));
            addLine(builder.totalsLine(QStringLiteral("Razem"), QString(), section.total, false, true));
        }
    }

    report::Report definition;
    definition.title = QStringLiteral("Zestawienie faktur i rachunków");
    const TemplateBands bands =
        layout ? buildTemplateBands(layout->layout, TemplateDocument::Invoices, invoiceFields(data), layout->pictures)
               : TemplateBands{};
    definition.setLandscape(bands.landscape);

    report::Group documents;
    documents.keyFields = QStringList{docField};
    documents.header = templateBand(bands, 2, report::BandKind::GroupHeader);
    // Each document is handed out on its own: it starts a page.
    documents.header->newPageBefore = true;
    if (bands.band(3))
        documents.footer = templateBand(bands, 3, report::BandKind::GroupFooter);
    report::Group sections;
    sections.keyFields = QStringList{docField, sectionField};
    sections.header = preparedBand(report::BandKind::GroupHeader, preparedItem(table, sectionField, true));
    definition.groups = {documents, sections};
    definition.detail = preparedBand(report::BandKind::Detail, preparedItem(table, lineField, false));
    if (bands.band(4))
        definition.pageFooter = templateBand(bands, 4, report::BandKind::PageFooter);
    definition.child = footerLineBand(data->footerLine, definition.bodyWidth());
    return std::make_unique<report::ReportJob>(std::move(definition), std::move(rows));
}

}  // namespace printouts
