#include "printouts/amount_in_words.h"

#include <cmath>
#include <gtest/gtest.h>

using printouts::amountInWords;

TEST(AmountInWordsTest, WritesAmountsInPolish)
{
    const struct {
        double amount;
        const char* words;
    } cases[] = {
        {0, ""},
        {0.004, ""},
        {-0.004, ""},
        {0.01, "Jeden grosz"},
        {0.02, "Dwa grosze"},
        {0.12, "Dwanaście groszy"},
        {0.29, "Dwadzieścia dziewięć groszy"},
        {0.45, "Czterdzieści pięć groszy"},
        {0.57, "Pięćdziesiąt siedem groszy"},
        {1, "Jeden złoty"},
        {1.005, "Jeden złoty i jeden grosz"},
        {0.999, "Jeden złoty"},
        {2.02, "Dwa złote i dwa grosze"},
        {2.675, "Dwa złote i sześćdziesiąt osiem groszy"},
        {-5, "Pięć złotych"},
        {12.00, "Dwanaście złotych"},
        {21, "Dwadzieścia jeden złotych"},
        {22, "Dwadzieścia dwa złote"},
        {112, "Sto dwanaście złotych"},
        {123.45, "Sto dwadzieścia trzy złote i czterdzieści pięć groszy"},
        {150.50, "Sto pięćdziesiąt złotych i pięćdziesiąt groszy"},
        {1000, "Jeden tysiąc złotych"},
        {1001, "Jeden tysiąc jeden złotych"},
        {1012, "Jeden tysiąc dwanaście złotych"},
        {22000, "Dwadzieścia dwa tysiące złotych"},
        {101000, "Sto jeden tysięcy złotych"},
        {1000001, "Jeden milion jeden złotych"},
        {1000002, "Jeden milion dwa złote"},
        {2000000, "Dwa miliony złotych"},
        {1234567.89, "Jeden milion dwieście trzydzieści cztery tysiące pięćset sześćdziesiąt siedem złotych "
                     "i osiemdziesiąt dziewięć groszy"},
        {1e9, "Jeden miliard złotych"},
        {5000000003.0, "Pięć miliardów trzy złote"},
        {1e12, "Jeden bilion złotych"},
        {3004000000000.0, "Trzy biliony cztery miliardy złotych"},
        {11012013014015.16, "Jedenaście bilionów dwanaście miliardów trzynaście milionów czternaście tysięcy "
                            "piętnaście złotych i szesnaście groszy"},
        {999999999999999.0, "Dziewięćset dziewięćdziesiąt dziewięć bilionów dziewięćset dziewięćdziesiąt "
                            "dziewięć miliardów dziewięćset dziewięćdziesiąt dziewięć milionów dziewięćset "
                            "dziewięćdziesiąt dziewięć tysięcy dziewięćset dziewięćdziesiąt dziewięć złotych"},
        {1e15, ""},
        {NAN, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(amountInWords(c.amount), QString::fromUtf8(c.words)) << std::fixed << c.amount;
}
