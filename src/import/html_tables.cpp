#include "import/html_tables.h"

#include "store/cp1250.h"

#include <cctype>
#include <cstring>
#include <functional>

namespace import {
namespace {

enum class Tag { Other, Body, Table, TableEnd, Row, RowEnd, Cell, CellEnd };

// A tag is known by its upper-cased name; the name must end there, so that
// <THEAD> is not taken for a heading cell nor <TRACK> for a row.
Tag tagKind(QByteArrayView inner)
{
    qsizetype i = 0;
    const bool closing = i < inner.size() && inner[i] == '/';
    if (closing) ++i;
    QByteArray name;
    while (i < inner.size() && std::isalnum(static_cast<unsigned char>(inner[i])))
        name += char(std::toupper(static_cast<unsigned char>(inner[i++])));
    if (closing) {
        if (name == "TABLE") return Tag::TableEnd;
        if (name == "TR") return Tag::RowEnd;
        if (name == "TD" || name == "TH") return Tag::CellEnd;
        return Tag::Other;
    }
    if (name == "BODY") return Tag::Body;
    if (name == "TABLE") return Tag::Table;
    if (name == "TR") return Tag::Row;
    if (name == "TD" || name == "TH") return Tag::Cell;
    return Tag::Other;
}

// Walks the page from its <BODY> (from the start when it has none, as a
// page holding a bare table does), reporting each tag and
// each run of text between tags. A tag runs from "<" to the next ">", line
// breaks included.
void scanPage(const QByteArray& page, const std::function<void(Tag)>& onTag,
              const std::function<void(QByteArrayView)>& onText)
{
    qsizetype start = 0;
    for (qsizetype lt = page.indexOf('<'); lt >= 0; lt = page.indexOf('<', lt + 1)) {
        const qsizetype gt = page.indexOf('>', lt + 1);
        const qsizetype end = gt < 0 ? page.size() : gt;
        if (tagKind(QByteArrayView(page).sliced(lt + 1, end - lt - 1)) == Tag::Body) {
            start = end + 1;
            break;
        }
        if (gt < 0) break;
        lt = gt;
    }
    qsizetype pos = start;
    while (pos < page.size()) {
        const qsizetype lt = page.indexOf('<', pos);
        if (lt < 0) {
            onText(QByteArrayView(page).sliced(pos));
            return;
        }
        if (lt > pos) onText(QByteArrayView(page).sliced(pos, lt - pos));
        const qsizetype gt = page.indexOf('>', lt + 1);
        const qsizetype end = gt < 0 ? page.size() : gt;
        onTag(tagKind(QByteArrayView(page).sliced(lt + 1, end - lt - 1)));
        pos = end + 1;
    }
}

bool startsWithNoCase(QByteArrayView text, qsizetype at, const char* word)
{
    for (qsizetype k = 0; word[k]; ++k) {
        if (at + k >= text.size()) return false;
        if (std::toupper(static_cast<unsigned char>(text[at + k])) != word[k]) return false;
    }
    return true;
}

// The Windows-1250 byte of a two-byte UTF-8 Polish letter, or 0.
char polishLetterFromUtf8(unsigned char lead, unsigned char trail)
{
    struct Pair { unsigned char lead, trail; char cp1250; };
    static constexpr Pair letters[] = {
        {0xC4, 0x84, '\xA5'}, {0xC4, 0x85, '\xB9'}, {0xC4, 0x86, '\xC6'}, {0xC4, 0x87, '\xE6'},
        {0xC4, 0x98, '\xCA'}, {0xC4, 0x99, '\xEA'}, {0xC5, 0x81, '\xA3'}, {0xC5, 0x82, '\xB3'},
        {0xC5, 0x83, '\xD1'}, {0xC5, 0x84, '\xF1'}, {0xC3, 0x93, '\xD3'}, {0xC3, 0xB3, '\xF3'},
        {0xC5, 0x9A, '\x8C'}, {0xC5, 0x9B, '\x9C'}, {0xC5, 0xB9, '\x8F'}, {0xC5, 0xBA, '\x9F'},
        {0xC5, 0xBB, '\xAF'}, {0xC5, 0xBC, '\xBF'},
    };
    for (const Pair& p : letters)
        if (p.lead == lead && p.trail == trail) return p.cp1250;
    return 0;
}

// Named entities a page writer must use for these characters.
const char* namedEntity(QByteArrayView text, qsizetype at, qsizetype* length)
{
    static constexpr struct { const char* name; const char* value; } entities[] = {
        {"&AMP;", "&"}, {"&LT;", "<"}, {"&GT;", ">"}, {"&QUOT;", "\""}, {"&APOS;", "'"},
    };
    for (const auto& e : entities) {
        if (startsWithNoCase(text, at, e.name)) {
            *length = qsizetype(std::strlen(e.name));
            return e.value;
        }
    }
    return nullptr;
}

// Cell text decoded into Windows-1250 bytes as it is collected. A line break
// or tab inside a cell is a blank: the tab separates the cells of a row.
void appendCellText(QByteArray& out, QByteArrayView text)
{
    qsizetype i = 0;
    while (i < text.size()) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '&' && startsWithNoCase(text, i, "&NBSP")) {
            out += ' ';
            i += 5;
            if (i < text.size() && text[i] == ';') ++i;
            continue;
        }
        if (c == '&' && i + 2 < text.size() && text[i + 1] == '#'
            && std::isdigit(static_cast<unsigned char>(text[i + 2]))) {
            // A numeric entity is dropped unless the code page has its
            // character; &#160; is a plain blank.
            qsizetype j = i + 2;
            uint code = 0;
            while (j < text.size() && std::isdigit(static_cast<unsigned char>(text[j]))
                   && j - i < 9)
                code = code * 10 + uint(text[j++] - '0');
            if (j < text.size() && text[j] == ';') ++j;
            if (code == 160) {
                out += ' ';
            } else if (code >= 32 && code <= 0xFFFF) {
                const QChar ch{char16_t(code)};
                if (!ch.isSurrogate() && cp1250::representable(ch))
                    out += cp1250::encode(ch);
            }
            i = j;
            continue;
        }
        if (c == '&') {
            qsizetype length = 0;
            if (const char* value = namedEntity(text, i, &length)) {
                out += value;
                i += length;
                continue;
            }
        }
        if ((c == 0xC3 || c == 0xC4 || c == 0xC5) && i + 1 < text.size()) {
            if (char letter = polishLetterFromUtf8(c, static_cast<unsigned char>(text[i + 1]))) {
                out += letter;
                i += 2;
                continue;
            }
        }
        if (c == '\r' || c == '\n') {
            out += ' ';
            i += (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
            continue;
        }
        out += c == '\t' ? ' ' : char(c);
        ++i;
    }
}

}  // namespace

QList<QByteArray> htmlTableListing(const QByteArray& page)
{
    QList<QByteArray> listing;
    int tables = 0;
    bool awaitingFirstRow = false;  // in a table whose first row is still to come
    bool inFirstRow = false;
    bool inCell = false;
    QByteArray line;
    auto endFirstRow = [&] {
        if (inCell) line += " | ";
        if (inFirstRow) listing.append(line);
        inFirstRow = inCell = false;
    };
    scanPage(
        page,
        [&](Tag tag) {
            switch (tag) {
            case Tag::Table:
                endFirstRow();
                ++tables;
                awaitingFirstRow = true;
                break;
            case Tag::Row:
                if (inFirstRow) {
                    endFirstRow();
                } else if (awaitingFirstRow) {
                    awaitingFirstRow = false;
                    inFirstRow = true;
                    line = QByteArray::number(tables) + ". | ";
                }
                break;
            case Tag::Cell:
                if (inFirstRow) {
                    if (inCell) line += " | ";
                    inCell = true;
                }
                break;
            case Tag::CellEnd:
                if (inCell) line += " | ";
                inCell = false;
                break;
            case Tag::RowEnd:
            case Tag::TableEnd:
                endFirstRow();
                awaitingFirstRow = false;
                break;
            case Tag::Body:
            case Tag::Other:
                break;
            }
        },
        [&](QByteArrayView text) {
            if (inCell) appendCellText(line, text);
        });
    endFirstRow();
    return listing;
}

QList<QByteArray> htmlTableRows(const QByteArray& page, int number)
{
    QList<QByteArray> rows;
    int tables = 0;
    // Before the chosen table's first row, extracting, then done for good.
    enum class State { Seeking, Extracting, Done } state = State::Seeking;
    bool inRow = false;
    bool inCell = false;
    QByteArray row;
    auto endCell = [&] {
        if (inCell) row += '\t';
        inCell = false;
    };
    // A row or cell left open (end tags are optional in HTML) ends with the
    // next one.
    auto endRow = [&] {
        endCell();
        if (inRow) rows.append(row);
        row.clear();
        inRow = false;
    };
    scanPage(
        page,
        [&](Tag tag) {
            if (state == State::Done) return;
            if (state == State::Seeking) {
                // Rows start at the chosen table's first <TR>.
                if (tag == Tag::Table && ++tables == number) state = State::Extracting;
                return;
            }
            switch (tag) {
            case Tag::Row:
                endRow();
                inRow = true;
                break;
            case Tag::Cell:
                endCell();
                if (inRow) inCell = true;
                break;
            case Tag::CellEnd:
                endCell();
                break;
            case Tag::RowEnd:
                endRow();
                break;
            case Tag::TableEnd:
                endRow();
                state = State::Done;
                break;
            case Tag::Body:
            case Tag::Table:
            case Tag::Other:
                break;
            }
        },
        [&](QByteArrayView text) {
            if (state == State::Extracting && inCell) appendCellText(row, text);
        });
    if (state == State::Extracting) endRow();
    return rows;
}

}  // namespace import
