#pragma once
// Code 39 bars drawn as filled boxes, so that every output (screen, printer,
// PDF, pictures) carries a barcode a scanner reads without a barcode font.

#include "page_model.h"

#include <QList>
#include <QRectF>
#include <QString>

namespace printouts {

// The nine elements of a character (bar, space, bar, ... bar), true where
// wide; nullptr for a character Code 39 has no pattern for.
const bool* code39Pattern(QChar c);

// The bars of `text` (which should carry its own "*" start and stop
// characters) fitted into `rect` with a quiet zone of ten narrow modules on
// either side; wide elements are 2.5 narrow ones. Characters without a
// pattern are skipped. Black filled boxes without an outline.
QList<report::Box> code39Bars(const QString& text, const QRectF& rect);

}  // namespace printouts
