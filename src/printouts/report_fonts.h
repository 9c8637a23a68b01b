#pragma once
// Fonts of printouts. Layouts were measured on Windows with Arial, Times New
// Roman and Courier New; their metric-compatible free faces keep the line
// breaks. Text is measured once on a 96-dpi reference and drawn unshaped, so
// that every output breaks lines alike and PDF text reads back letter by letter.

#include "page_model.h"

#include <QFont>

class QPaintDevice;

namespace report {

// The installed face used for a family a report names.
QString installedFamily(const QString& requested);

// The 96-dpi device text is measured on: QFontMetricsF(measuringFont(f),
// referenceDevice()) gives widths and heights in report units.
const QPaintDevice* referenceDevice();

// The font to measure with on the reference device.
QFont measuringFont(const TextFont& font);

// The font to draw with on a painter whose device has `deviceDpi` and which
// is scaled by deviceDpi / 96: its size is the point size × 96 / deviceDpi,
// so that drawn words land where they were measured.
QFont paintingFont(const TextFont& font, double deviceDpi);

}  // namespace report
