#include "browser/cell_text.h"

#include <gtest/gtest.h>

TEST(CellText, OptionalDecimalsOfTheFormatAreDroppedWhenZero)
{
    EXPECT_EQ(cell::text(40.0, FieldType::Float, QStringLiteral("#0.00##")), QStringLiteral("40,00"));
    EXPECT_EQ(cell::text(32.41666666, FieldType::Float, QStringLiteral("#0.00##")), QStringLiteral("32,4167"));
    EXPECT_EQ(cell::text(1.3, FieldType::Float, QStringLiteral("#0.00##")), QStringLiteral("1,30"));
    EXPECT_EQ(cell::text(1.305, FieldType::Float, QStringLiteral("#0.00##")), QStringLiteral("1,305"));
    EXPECT_EQ(cell::text(-57.2, FieldType::Float, QStringLiteral("#0.00")), QStringLiteral("-57,20"));
    EXPECT_EQ(cell::text(2.5, FieldType::Float, QStringLiteral("0.##")), QStringLiteral("2,5"));
    EXPECT_EQ(cell::text(2.0, FieldType::Float, QStringLiteral("0.##")), QStringLiteral("2"));
}
