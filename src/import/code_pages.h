#pragma once
// The code pages an import file may be written in: for each page number
// (0–20) the bytes of the Polish letters Ą Ć Ę Ł Ń Ó Ś Ź Ż ą ć ę ł ń ó ś ź ż.
// A line is converted to Windows-1250 through one 256-entry table, so every
// byte is mapped exactly once (replacing letter after letter would map a
// byte that an earlier replacement produced a second time).

#include <QByteArray>
#include <QString>

#include <array>

namespace import {

inline constexpr int kCodePageCount = 21;
// The page of letters written without diacritics: it converts nothing.
inline constexpr int kNoDiacriticsPage = 1;

// Byte -> Windows-1250 byte for the page; bytes that are no Polish letter
// of the page map to themselves. A byte listed twice takes its first letter.
std::array<unsigned char, 256> codePageTable(int page);

// The line in Windows-1250 bytes.
QByteArray toWindows1250(const QByteArray& line, int page);

// UTF-8 text (a leading byte order mark dropped); a byte that begins no
// valid sequence is read as a Windows-1250 character instead.
QString decodeUtf8Leniently(const QByteArray& bytes);

// The text with its Polish letters written without diacritics (Ą -> A,
// Ź and Ż -> Z), as names are compared with files of page 1.
QString withoutDiacritics(const QString& text);

}  // namespace import
