#pragma once
// The two layouts of the settlement statement, chosen by the template's
// orientation: the portrait letter per child and the landscape table. Both
// lay their lines out once, when the job is made, into prepared lines that
// the run places between the template's bands; both keep per child the
// values the data fields print ("Wartość naliczenia", "Wartość salda").

#include "page_model.h"
#include "report.h"
#include "statement_data.h"
#include "template_render.h"
#include "text_layout.h"

#include <QList>

#include <memory>
#include <optional>

namespace printouts {

// What a child's data fields print: the stored charge total and balance as
// they stand when its section ends.
struct StatementChild {
    int kod = 0;
    double chargeTotal = 0;
    std::optional<double> balance;  // none without payments
};

// Lines prepared for the run. A line may have a variant for table exports
// (headings right-aligned there).
struct StatementLines {
    QList<QList<report::Primitive>> lines;
    QList<QList<report::Primitive>> exportLines;  // by line; empty: the same as `lines`
    QList<StatementChild> children;
};

// The fields of the run's rows: the child (index into `children`) and the
// prepared line.
inline QString childField() { return QStringLiteral("CHILD"); }
inline QString lineField() { return QStringLiteral("LINE"); }

// Lays out the lines and rows of the layout; `report` gets its bands
// around the template's.
void layOutPortrait(const StatementData& data, StatementLines& lines, report::Rows& rows);
void layOutLandscape(const StatementData& data, StatementLines& lines, report::Rows& rows,
                     std::optional<int>& headingLine, std::optional<int>& totalsLine);

// A text box measured by `fonts`.
report::TextBox statementText(report::FontCache& fonts, const QRectF& rect, const QString& text,
                              const report::TextFont& font, Qt::Alignment alignment);
// "#0.00" as the statement prints money.
QString statementMoney(double value);

}  // namespace printouts
