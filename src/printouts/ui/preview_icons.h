#pragma once
// The preview toolbar's pictures: the style's own where it has one, small
// drawings for the zoom modes and the printer.

#include <QIcon>

class QStyle;

namespace previewicons {

enum class Icon { WholePage, ActualSize, PageWidth, First, Previous, Next, Last,
                  PrinterSetup, Print, Save, Load, Send, Close };

QIcon icon(Icon which, const QStyle* style);

}  // namespace previewicons
