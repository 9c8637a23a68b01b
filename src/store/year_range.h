#pragma once
// The years a month or date given by the user may carry; anything outside
// is a typing slip (year 0, 20224) rather than a date the office keeps.

namespace polish {

constexpr int firstYear = 1900;
constexpr int lastYear = 2100;

constexpr bool yearInRange(int year)
{
    return year >= firstYear && year <= lastYear;
}

}  // namespace polish
