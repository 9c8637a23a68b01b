#pragma once
// Code page 1250 (Windows Central European), the encoding of every exchanged
// file and of the web exchange. Inside the program text is always QString;
// this is the one conversion at the edge.

#include <QByteArray>
#include <QString>

namespace cp1250 {

// Characters the code page lacks become '?', one per code point (a character
// outside the BMP gives a single '?', not two).
QByteArray encode(const QString& text);

// Every byte decodes to some character. The five bytes the code page leaves
// unassigned (0x81, 0x83, 0x88, 0x90, 0x98) decode to the C1 control with the
// same number, so decode followed by encode gives back every byte.
QString decode(const QByteArray& bytes);

// True when encode() would keep every character (no '?' substitution).
bool representable(const QString& text);

}  // namespace cp1250
