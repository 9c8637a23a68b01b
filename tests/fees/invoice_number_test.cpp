// The invoice number text for the formats an institution may set.

#include "fees/invoice_number.h"

#include <gtest/gtest.h>

using fees::invoiceNumberText;

TEST(InvoiceNumberText, FormatsWithAndWithoutNumberWidth)
{
    // The default format has no "@": the whole format follows the bare number.
    EXPECT_EQ(invoiceNumberText(17, 2005, 3, QStringLiteral("/mm/rrrr")), QStringLiteral("17/03/2005"));
    EXPECT_EQ(invoiceNumberText(17, 2005, 3, QStringLiteral("FV/@@@@/rr")), QStringLiteral("FV/0017/05"));
    // The width pads but never cuts.
    EXPECT_EQ(invoiceNumberText(1234, 2024, 11, QStringLiteral("FV/@@@")), QStringLiteral("FV/1234"));
    EXPECT_EQ(invoiceNumberText(5, 2024, 11, QStringLiteral("FV/@@@")), QStringLiteral("FV/005"));
    EXPECT_EQ(invoiceNumberText(5, 2024, 11, QString()), QStringLiteral("5"));
}

TEST(InvoiceNumberText, DateLettersInPrefixAndSuffix)
{
    // Letters take digits from the right; upper-case letters and other
    // characters stay; a letter without a digit left is dropped.
    EXPECT_EQ(invoiceNumberText(7, 2024, 9, QStringLiteral("Rmm-rr/@@/FAKTURAm")), QStringLiteral("R09-24/07/FAKTURA9"));
    EXPECT_EQ(invoiceNumberText(7, 2024, 9, QStringLiteral("mmm/@")), QStringLiteral("09/7"));
    EXPECT_EQ(invoiceNumberText(7, 2024, 9, QStringLiteral("@/rrrrrr")), QStringLiteral("7/2024"));
    EXPECT_EQ(invoiceNumberText(7, 2024, 12, QStringLiteral("@/mm/r")), QStringLiteral("7/12/4"));
    // Only the first run of "@" is the number; later ones are plain text.
    EXPECT_EQ(invoiceNumberText(3, 2024, 1, QStringLiteral("@@-@")), QStringLiteral("03-@"));
}
