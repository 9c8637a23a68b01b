#include "amount_in_words.h"

#include "store/money.h"

#include <cmath>
#include <cstdint>

namespace printouts {

namespace {

const char16_t* const kHundreds[10] = {
    u"", u"sto ", u"dwieście ", u"trzysta ", u"czterysta ",
    u"pięćset ", u"sześćset ", u"siedemset ", u"osiemset ", u"dziewięćset "};
const char16_t* const kTens[10] = {
    u"", u"", u"dwadzieścia ", u"trzydzieści ", u"czterdzieści ",
    u"pięćdziesiąt ", u"sześćdziesiąt ", u"siedemdziesiąt ", u"osiemdziesiąt ", u"dziewięćdziesiąt "};
const char16_t* const kUnits[10] = {
    u"", u"jeden ", u"dwa ", u"trzy ", u"cztery ",
    u"pięć ", u"sześć ", u"siedem ", u"osiem ", u"dziewięć "};
const char16_t* const kTeens[10] = {
    u"dziesięć ", u"jedenaście ", u"dwanaście ", u"trzynaście ", u"czternaście ",
    u"piętnaście ", u"szesnaście ", u"siedemnaście ", u"osiemnaście ", u"dziewiętnaście "};

// Per group: genitive plural (the default), singular, nominative plural.
const char16_t* const kScale[6][3] = {
    {u"bilionów ", u"bilion ", u"biliony "},
    {u"miliardów ", u"miliard ", u"miliardy "},
    {u"milionów ", u"milion ", u"miliony "},
    {u"tysięcy ", u"tysiąc ", u"tysiące "},
    {u"złotych", u"złoty", u"złote"},
    {u"groszy", u"grosz", u"grosze"},
};

constexpr int kZlote = 4;
constexpr int kGrosze = 5;
constexpr std::int64_t kZloteLimit = 1'000'000'000'000'000;  // 15 digits

}  // namespace

QString amountInWords(double amount)
{
    if (!std::isfinite(amount))
        return QString();
    const double a = std::fabs(money::round(amount));
    if (a >= static_cast<double>(kZloteLimit))
        return QString();
    const double whole = std::trunc(a);
    const auto zlote = static_cast<std::int64_t>(whole);
    const auto grosze = static_cast<int>(std::nearbyint((a - whole) * 100.0));

    // Six groups of three digits: 10^12, 10^9, 10^6, 10^3, złote, grosze.
    int groups[6];
    std::int64_t rest = zlote;
    for (int i = kZlote; i >= 0; --i) {
        groups[i] = static_cast<int>(rest % 1000);
        rest /= 1000;
    }
    groups[kGrosze] = grosze;

    QString text;
    for (int i = 0; i < 6; ++i) {
        const int g = groups[i];
        const int h = g / 100;
        const int t = g / 10 % 10;
        const int u = g % 10;
        if (i == kGrosze && !text.isEmpty() && g != 0)
            text += QStringLiteral(" i ");
        text += QStringView(kHundreds[h]);
        if (t == 1) {
            text += QStringView(kTeens[u]);
        } else {
            text += QStringView(kTens[t]);
            text += QStringView(kUnits[u]);
        }
        int form = 0;
        if (t != 1 && u >= 2 && u <= 4)
            form = 2;
        // "jeden tysiąc jeden złoty" is wrong Polish: the singular belongs to
        // exactly one złoty, not to any amount ending in 001.
        if (g == 1 && (i != kZlote || zlote == 1))
            form = 1;
        if (i == kZlote) {
            if (!text.isEmpty())
                text += QStringView(kScale[i][form]);
        } else if (g != 0) {
            text += QStringView(kScale[i][form]);
        }
    }
    if (!text.isEmpty())
        text[0] = text[0].toUpper();
    return text;
}

}  // namespace printouts
