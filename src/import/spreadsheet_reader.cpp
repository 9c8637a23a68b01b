#include "import/spreadsheet_reader.h"

#include "import/spreadsheet_ods.h"
#include "import/spreadsheet_xls.h"
#include "import/spreadsheet_xlsx.h"
#include "import/spreadsheet_zip.h"
#include "store/error.h"

#include <QFileInfo>

namespace import {

std::unique_ptr<Spreadsheet> Spreadsheet::open(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isFile() || !info.isReadable()) throw Error(unreadableFileMessage(path));
    const QString suffix = info.suffix().toLower();
    if (suffix == u"xlsx" || suffix == u"xlsm") return std::make_unique<XlsxSpreadsheet>(path);
    if (suffix == u"ods") return std::make_unique<OdsSpreadsheet>(path);
    if (suffix == u"xls") return std::make_unique<XlsSpreadsheet>(path);
    throw Error(unreadableFileMessage(path)
                + QStringLiteral("\r\n(arkusz kalkulacyjny musi mieć rozszerzenie xlsx, ods lub xls)"));
}

}  // namespace import
