#pragma once
// The one painter of prepared pages, for every device: the preview widget,
// the printer, PDF, SVG and images. The page is drawn as it was laid out:
// text lines are never re-wrapped, so every output breaks lines alike.

#include "page_model.h"

#include <QImage>
#include <QString>

class QPainter;

namespace report {

// Draws `page` on a painter whose caller has already scaled it so that one
// report unit (1/96 inch) is deviceDpi / 96 device pixels (times any zoom,
// which does not change `deviceDpi`). The painter's state is left as found.
void paintPage(QPainter& painter, const Page& page, double deviceDpi);

// The page as a white image at `dpi` dots per inch (the image carries the dpi).
QImage renderPage(const Page& page, double dpi);

// Writes every page to a vector PDF with searchable text and the used glyphs
// embedded, each page at its own paper size, the title in the document's
// metadata. The file is replaced only when the whole document was written.
// Returns an empty text on success, else the Polish message to show.
QString writePdf(const PreparedPages& pages, const QString& fileName);

}  // namespace report
