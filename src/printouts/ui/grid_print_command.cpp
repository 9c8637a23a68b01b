#include "printouts/ui/grid_print_command.h"

#include "browser/module.h"
#include "browser/data_filter.h"
#include "browser/run_context.h"
#include "browser/ui/record_model.h"
#include "browser/ui/tfm_kartot.h"
#include "printouts/ui/report_preview.h"
#include "store/error.h"
#include "store/table.h"

#include <QHeaderView>
#include <QTableView>

#include <cmath>

namespace gridprint {

namespace {

report::TextFont textFontOf(const QFont& font, double dpi)
{
    report::TextFont f;
    f.family = font.family();
    f.pointSize = font.pointSizeF() > 0 ? font.pointSizeF() : font.pixelSize() * 72.0 / dpi;
    f.bold = font.bold();
    f.italic = font.italic();
    f.underline = font.underline();
    f.strikeOut = font.strikeOut();
    return f;
}

}  // namespace

report::GridLayout layoutOfBrowser(TFmKartot& browser)
{
    const DataSet& ds = browser.dataSet();
    report::GridLayout base = report::gridLayoutOfDataSet(ds, browser.windowTitle());
    report::GridLayout layout = base;
    layout.columns.clear();

    QTableView* grid = browser.grid();
    RecordModel* model = browser.model();
    const QHeaderView* header = grid->horizontalHeader();
    // Screen pixels become report units at the screen's resolution.
    const double dpi = grid->logicalDpiX() > 0 ? grid->logicalDpiX() : report::unitsPerInch;
    const double unitsPerPixel = report::unitsPerInch / dpi;
    const QColor captionColour = header->palette().color(QPalette::ButtonText);
    const QColor cellColour = grid->palette().color(QPalette::Text);
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        if (logical < 0 || header->isSectionHidden(logical) || header->sectionSize(logical) <= 0)
            continue;
        const QString field = model->fieldAt(logical);
        report::GridColumn column;
        bool known = false;
        for (const report::GridColumn& c : base.columns)
            if (c.field.compare(field, Qt::CaseInsensitive) == 0) {
                column = c;
                known = true;
                break;
            }
        if (!known) {
            column.field = field;
            if (const FieldView* v = model->column(logical))
                column.alignment = v->alignment;
        }
        column.caption = model->headerData(logical, Qt::Horizontal, Qt::DisplayRole).toString();
        column.width = header->sectionSize(logical) * unitsPerPixel;
        column.captionFont = textFontOf(header->font(), dpi);
        column.captionColour = captionColour;
        column.font = textFontOf(grid->font(), dpi);
        column.colour = cellColour;
        if (const FieldView* v = model->column(logical))
            column.alignment = v->alignment & Qt::AlignHorizontal_Mask;
        layout.columns << column;
    }
    layout.filterDescription = browser.controller().filters().description();
    layout.footerLine = report::footerLine(browser.controller().context().db());
    return layout;
}

void printBrowser(TFmKartot& browser)
{
    Prompts& prompts = browser.controller().context().prompts;
    try {
        const report::GridLayout layout = layoutOfBrowser(browser);
        QList<report::GridRow> rows = report::gridRowsOfDataSet(browser.dataSet(), layout);
        std::shared_ptr<report::Job> job = report::makeGridPrintout(layout, std::move(rows));
        // The browser owns one printout at a time: a new one replaces the
        // old, and with it the old one's preview.
        TReportPreview* preview = TReportPreview::open(std::move(job), prompts, &browser);
        QObject::connect(&browser, &QObject::destroyed, preview, &QWidget::close);
    } catch (const Error& e) {
        prompts.showError(e.message());
    }
}

void install()
{
    TFmKartot::hooks().print = [](TFmKartot& browser) { printBrowser(browser); };
}

}  // namespace gridprint
