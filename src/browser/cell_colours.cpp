#include "cell_colours.h"

#include "browser/module.h"
#include "store/money.h"

#include <QStringList>

namespace paint {

bool isFreeDay(const QString& fieldName, const QString& freeDays)
{
    const QString day = fieldName.mid(1, 2);
    if (day.isEmpty())
        return false;
    const QStringList items = freeDays.split(QLatin1Char(','));
    for (const QString& item : items)
        if (item.trimmed() == day)
            return true;
    return false;
}

namespace {

void attendance(const CellInput& in, CellStyle& s)
{
    const QString& t = in.text;
    auto coded = [&](int colour) {
        s.background = colour;
        s.text = kBlack;
        s.bold = true;
        s.custom = true;
    };
    if (t == QLatin1String("T"))
        coded(kGreen);
    else if (t == QLatin1String("t"))
        coded(kLightGreen);
    else if (t == QLatin1String("N"))
        coded(kRed);
    else if (t == QLatin1String("Z"))
        coded(kOrange);
    else if (t == QLatin1String("_")) {
        s.background = kYellow;
        s.custom = true;
    } else if (t == QLatin1String(".")) {
        s.background = kLightYellow;
        s.custom = true;
    } else if (t == QLatin1String(" ")) {
        // no colour
    } else if (in.freeDays && in.mark <= 1 && isFreeDay(in.fieldName, *in.freeDays)) {
        coded(kSilver);
    }
}

void extraCharge(const CellInput& in, CellStyle& s)
{
    if (!in.groupCode.isEmpty() && in.rowGroup != in.groupCode)
        return;
    const auto expected = money::parse(in.expectedAmount);
    const double e = expected ? *expected : 0.0;
    const bool empty = !in.value.isValid() || in.value.isNull() || in.value.toString().trimmed().isEmpty();
    if (empty) {
        s.background = kSilver;
        s.custom = true;
        return;
    }
    bool ok = false;
    double v = in.value.toDouble(&ok);
    if (!ok) {
        const auto parsed = money::parse(in.value.toString());
        if (!parsed)
            return;  // unreadable: painted as any cell
        v = *parsed;
    }
    std::optional<int> colour;
    if (v > e + 0.0001)
        colour = kGreen;
    else if (v <= 0 && e != 0)
        colour = kRed;
    else if (v < e - 0.0001)
        colour = kOrange;
    if (colour) {
        s.background = colour;
        s.custom = true;
    }
}

}  // namespace

CellStyle style(const CellInput& in)
{
    CellStyle s;
    if (in.readOnlyTable || in.calculated) {
        s.text = kMaroon;
        s.custom = true;
    }
    if (in.role == roles::attendance()) {
        attendance(in, s);
    } else if (in.role == roles::arrival() || in.role == roles::departure()) {
        s.text = kBlack;
        s.bold = true;
        s.custom = true;
    } else if (in.role == roles::extraCharge()) {
        extraCharge(in, s);
    }
    return s;
}

}  // namespace paint
