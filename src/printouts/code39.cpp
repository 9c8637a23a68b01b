#include "code39.h"

#include <array>

namespace printouts {

namespace {

constexpr double wideRatio = 2.5;
constexpr double quietModules = 10;

struct Code39Char {
    char c;
    const char* pattern;  // bar space bar space bar space bar space bar, '1' wide
};

constexpr Code39Char table[] = {
    {'0', "000110100"}, {'1', "100100001"}, {'2', "001100001"}, {'3', "101100000"}, {'4', "000110001"},
    {'5', "100110000"}, {'6', "001110000"}, {'7', "000100101"}, {'8', "100100100"}, {'9', "001100100"},
    {'A', "100001001"}, {'B', "001001001"}, {'C', "101001000"}, {'D', "000011001"}, {'E', "100011000"},
    {'F', "001011000"}, {'G', "000001101"}, {'H', "100001100"}, {'I', "001001100"}, {'J', "000011100"},
    {'K', "100000011"}, {'L', "001000011"}, {'M', "101000010"}, {'N', "000010011"}, {'O', "100010010"},
    {'P', "001010010"}, {'Q', "000000111"}, {'R', "100000110"}, {'S', "001000110"}, {'T', "000010110"},
    {'U', "110000001"}, {'V', "011000001"}, {'W', "111000000"}, {'X', "010010001"}, {'Y', "110010000"},
    {'Z', "011010000"}, {'-', "010000101"}, {'.', "110000100"}, {' ', "011000100"}, {'*', "010010100"},
    {'$', "010101000"}, {'/', "010100010"}, {'+', "010001010"}, {'%', "000101010"},
};

using Pattern = std::array<bool, 9>;

const std::array<Pattern, std::size(table)>& patterns()
{
    static const auto all = [] {
        std::array<Pattern, std::size(table)> result{};
        for (size_t i = 0; i < std::size(table); ++i)
            for (size_t e = 0; e < 9; ++e)
                result[i][e] = table[i].pattern[e] == '1';
        return result;
    }();
    return all;
}

}  // namespace

const bool* code39Pattern(QChar c)
{
    const QChar upper = c.toUpper();
    for (size_t i = 0; i < std::size(table); ++i)
        if (upper == QLatin1Char(table[i].c))
            return patterns()[i].data();
    return nullptr;
}

QList<report::Box> code39Bars(const QString& text, const QRectF& rect)
{
    QList<const bool*> chars;
    for (QChar c : text)
        if (const bool* pattern = code39Pattern(c))
            chars.append(pattern);
    QList<report::Box> bars;
    if (chars.isEmpty() || rect.width() <= 0 || rect.height() <= 0)
        return bars;
    // Each character: six narrow and three wide elements; a narrow gap between characters.
    const double perChar = 6 + 3 * wideRatio;
    const double modules = chars.size() * perChar + (chars.size() - 1) + 2 * quietModules;
    const double narrow = rect.width() / modules;
    double x = rect.left() + quietModules * narrow;
    for (const bool* pattern : chars) {
        for (int e = 0; e < 9; ++e) {
            const double width = (pattern[e] ? wideRatio : 1) * narrow;
            if (e % 2 == 0)
                bars.append(report::Box{QRectF(x, rect.top(), width, rect.height()), Qt::black, 0, Qt::black});
            x += width;
        }
        x += narrow;
    }
    return bars;
}

}  // namespace printouts
