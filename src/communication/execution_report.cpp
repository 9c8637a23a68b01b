#include "execution_report.h"

#include "browser/area_arguments.h"
#include "printouts/grid_printout.h"
#include "printouts/report_engine.h"
#include "printouts/text_layout.h"
#include "registers/child_caption.h"
#include "store/polish_dates.h"
#include "store/query.h"

#include <algorithm>

namespace executions {

using namespace report;

namespace {

const QString kDone = QStringLiteral("DATAZAL");
const QString kReceived = QStringLiteral("DATAPRZY");
const QString kName = QStringLiteral("OPIS");
const QString kText = QStringLiteral("WYKONANIE");

TextStyle styleOf(double points, Qt::Alignment alignment = Qt::AlignLeft)
{
    TextStyle style;
    style.font.pointSize = points;
    style.alignment = alignment | Qt::AlignTop;
    return style;
}

double lineHeight(double points)
{
    TextFont font;
    font.pointSize = points;
    return MeasuredFont(font).lineHeight();
}

// A two-line row: the dates and name, then the description across the page.
void addTwoLines(Band& band, Kind kind, double width, double line, const std::function<Item(QRectF, QString)>& item,
                 const QStringList& fields)
{
    const double received = 26.5 * unitsPerMm;
    const double name = 53.0 * unitsPerMm;
    band.items << item(QRectF(0, 0, received, line), fields[0]);
    if (kind == Kind::Requests)
        band.items << item(QRectF(received, 0, name - received, line), fields[1]);
    if (kind != Kind::OneDeadline)
        band.items << item(QRectF(name, 0, width - name, line), fields[2]);
    Item text = item(QRectF(0, line, width, line), fields[3]);
    text.style.wordWrap = true;
    text.style.autoStretch = true;
    band.items << text;
    band.height = 2 * line + 2;
    band.stretch = true;
}

}  // namespace

QString windowTitle(Kind kind, bool oneChild)
{
    switch (kind) {
    case Kind::Requests:
        return oneChild ? QStringLiteral("Wydruk wykonań zgłoszeń dziecka") : QStringLiteral("Wydruk wykonań zgłoszeń dzieci");
    case Kind::OneDeadline:
        return QStringLiteral("Wydruk wykonań terminu");
    case Kind::AllDeadlines:
        break;
    }
    return QStringLiteral("Wydruk wykonań terminów");
}

QString reportTitle(Database& db, const PrintRequest& request)
{
    const QString head = request.kind == Kind::Requests ? QStringLiteral("Zgłoszenia: ") : QStringLiteral("Terminy: ");
    return request.child != 0 ? head + childCaption(db, request.child) : head;
}

QStringList subtitle(const PrintRequest& request)
{
    QStringList lines;
    if (request.kind == Kind::OneDeadline)
        lines << request.deadlineText;
    if (request.period)
        lines << QStringLiteral("za okres od ") + polish::shortDate(request.from) + QStringLiteral(" do ")
                + polish::shortDate(request.to);
    return lines;
}

Rows readRows(Database& db, const PrintRequest& request)
{
    QString sql;
    QStringList conditions;
    switch (request.kind) {
    case Kind::Requests:
        sql = QStringLiteral("SELECT W.DATAPRZY, W.DATAZAL, W.WYKONANIE, W.OPIS FROM ZGLOSZ W");
        if (request.child != 0)
            conditions << QStringLiteral("W.OSOBA = :OSOBA");
        break;
    case Kind::OneDeadline:
        sql = QStringLiteral("SELECT W.DATAZAL, W.WYKONANIE FROM TERMWYK W");
        conditions << QStringLiteral("W.TERMID = :TERMID");
        break;
    case Kind::AllDeadlines:
        sql = QStringLiteral("SELECT W.DATAZAL, W.WYKONANIE, T.OPIS FROM TERMWYK W, TERMINY T");
        conditions << QStringLiteral("W.TERMID = T.TERMID");
        if (request.child != 0)
            conditions << QStringLiteral("T.OSOBA = :OSOBA");
        break;
    }
    if (request.period)
        conditions << QStringLiteral("W.DATAZAL >= :ODDATY AND W.DATAZAL <= :DODATY");
    if (!conditions.isEmpty())
        sql += QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
    sql += QStringLiteral(" ORDER BY W.DATAZAL");

    Query q(db, sql);
    if (request.child != 0 && request.kind != Kind::OneDeadline)
        q.bind(QStringLiteral("OSOBA"), request.child);
    if (request.kind == Kind::OneDeadline)
        q.bind(QStringLiteral("TERMID"), request.deadline);
    if (request.period)
        q.bind(QStringLiteral("ODDATY"), request.from).bind(QStringLiteral("DODATY"), request.to);
    q.exec();

    Rows rows;
    rows.fields = {kDone, kReceived, kName, kText};
    QList<QPair<QDate, QVariantList>> read;
    // Columns in the order selected above.
    const bool requests = request.kind == Kind::Requests;
    const int done = requests ? 1 : 0, text = requests ? 2 : 1, name = requests ? 3 : 2;
    while (q.next()) {
        const QDate doneOn = q.value(done).toDate();
        const QDate received = requests ? q.value(0).toDate() : QDate();
        const QString title = request.kind == Kind::OneDeadline ? QString() : q.value(name).toString();
        read.append({doneOn, {polish::shortDate(doneOn), polish::shortDate(received), title, q.value(text).toString()}});
    }
    // The engines disagree on where empty dates go: open requests come first.
    std::stable_sort(read.begin(), read.end(), [](const auto& a, const auto& b) {
        if (a.first.isValid() != b.first.isValid())
            return !a.first.isValid();
        return a.first < b.first;
    });
    for (auto& r : read)
        rows.rows.append(std::move(r.second));
    return rows;
}

Report layout(const QString& title, const QStringList& subtitleLines, Kind kind, const QString& footerLine)
{
    Report r;
    r.title = title;
    const double width = r.bodyWidth();
    const double big = lineHeight(10);
    const double small = lineHeight(8);

    Band header;
    header.kind = BandKind::PageHeader;
    header.items << Item::label(QRectF(0, 0, width, big), title, styleOf(10, Qt::AlignHCenter));
    double height = big;
    if (!subtitleLines.isEmpty()) {
        TextStyle style = styleOf(10, Qt::AlignHCenter);
        style.wordWrap = true;
        style.autoStretch = true;
        header.items << Item::label(QRectF(0, height + 2, width, big), subtitleLines.join(QLatin1Char('\n')), style);
        height += 2 + big;
    }
    header.height = height + 6;
    header.stretch = true;
    r.pageHeader = header;

    Band captions;
    captions.kind = BandKind::ColumnHeader;
    addTwoLines(captions, kind, width, small,
                [](QRectF rect, QString text) { return Item::label(rect, text, styleOf(8)); },
                {QStringLiteral("Data wykonania"), QStringLiteral("Data przyjęcia"), QStringLiteral("Nazwa"),
                 QStringLiteral("Opis wykonania")});
    r.columnHeader = captions;

    Band detail;
    detail.kind = BandKind::Detail;
    addTwoLines(detail, kind, width, small,
                [](QRectF rect, QString field) { return Item::ofField(rect, field, styleOf(8)); },
                {kDone, kReceived, kName, kText});
    r.detail = detail;

    Band footer;
    footer.kind = BandKind::PageFooter;
    // The footer line names the institution and may be long: it gets all
    // but the page number's room, or its start would be cut off.
    const double numberWidth = width / 8;
    footer.items << Item::pageNumber(QRectF(0, 1, numberWidth, small), QStringLiteral("Strona: {page}"), styleOf(8));
    footer.items << Item::label(QRectF(numberWidth, 1, width - numberWidth, small), footerLine,
                                styleOf(8, Qt::AlignRight));
    footer.height = small + 2;
    r.pageFooter = footer;
    return r;
}

std::unique_ptr<Job> makeReport(Database& db, const PrintRequest& request)
{
    return std::make_unique<ReportJob>(
        layout(reportTitle(db, request), subtitle(request), request.kind, report::footerLine(db)), readRows(db, request));
}

QVariantMap arguments(const PrintRequest& request, Command* command, QObject* module)
{
    return {{QStringLiteral("kind"), int(request.kind)},
            {area::childKey(), request.child},
            {QStringLiteral("TERMID"), request.deadline},
            {QStringLiteral("deadlineText"), request.deadlineText},
            {area::commandKey(), QVariant::fromValue(command)},
            {area::ownerKey(), QVariant::fromValue(module)}};
}

PrintRequest fromArguments(const QVariantMap& args)
{
    PrintRequest r;
    r.kind = Kind(args.value(QStringLiteral("kind")).toInt());
    r.child = area::child(args);
    r.deadline = args.value(QStringLiteral("TERMID")).toInt();
    r.deadlineText = args.value(QStringLiteral("deadlineText")).toString();
    return r;
}

}  // namespace executions
