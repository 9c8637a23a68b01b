#pragma once
// The layout text of a print template (SZABLONY.DANE), read into the model
// and written back from it. Lines end with CR LF; line 0 is the header
// ("POZIOMO" for landscape, "KOLUMNY" and a digit for detail columns); each
// element takes the next 15 lines:
//   kind, content (line breaks as the byte 0x07), left, top, width, height,
//   background colour, alignment, font name, character set, font colour,
//   font height, pitch, font size, style (" " then any of "0" bold,
//   "1" italic, "2" underline, "3" strike-out)
// Writing what was read gives back every text the designer writes.

#include "print_template.h"

#include <QString>

namespace printouts {

// Parses the text into a new template. LF-only line ends are accepted, a
// trailing incomplete group is ignored, a column digit that is not a digit
// leaves one column. A numeric line that is not a whole number, or an
// unknown element kind, throws Error with a Polish message.
PrintTemplate readLayout(const QString& text);

// The text the designer stores: no trailing line end; an empty portrait
// template with no elements is the empty text.
QString writeLayout(const PrintTemplate& layout);

// The byte that stands for a line break inside a stored text.
constexpr QChar storedLineBreak = QChar(0x07);

// Line breaks of a content (CR LF, LF or CR) as stored, and back to CR LF.
QString contentToStored(const QString& content);
QString contentFromStored(const QString& stored);

// The messages of a malformed text (line numbers count from 1).
QString notANumberMessage(int lineNumber, const QString& line);
QString unknownKindMessage(int lineNumber, const QString& line);

}  // namespace printouts
