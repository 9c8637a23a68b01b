// The free time register: the check of a free period and one row per first
// day (shared with the attendance limits).

#include "shell/register_fixture.h"

#include "attendance/time_registers.h"
#include "store/error.h"
#include "store/query.h"
#include "store/table.h"

namespace {

class CzasTest : public RegisterTest {
protected:
    static QString refusal(Table& t)
    {
        try {
            t.post();
        } catch (const Error& e) {
            return e.message();
        }
        return QString();
    }
    static void fill(Table& t, const QDate& day, const QString& from, const QString& to)
    {
        t.insert();
        t.setValue(QStringLiteral("ODDATY"), day);
        if (!from.isEmpty())
            t.setValue(QStringLiteral("CZASP"), QTime::fromString(from, QStringLiteral("HH:mm")));
        if (!to.isEmpty())
            t.setValue(QStringLiteral("CZASW"), QTime::fromString(to, QStringLiteral("HH:mm")));
    }
};

TEST_P(CzasTest, FreeTime)
{
    TDMCzasBezp module(context());
    Table& t = *module.freeTime().table;
    t.open();
    fill(t, QDate(2024, 9, 1), QStringLiteral("13:00"), QStringLiteral("08:00"));
    EXPECT_EQ(refusal(t), QStringLiteral("Czas przyjścia nie może być większy niż Czas wyjścia"));
    EXPECT_TRUE(t.isEditing());
    t.setValue(QStringLiteral("CZASW"), QTime(13, 0));  // an empty free period is allowed
    EXPECT_EQ(refusal(t), QString());
    fill(t, QDate(2025, 1, 1), QStringLiteral("08:00"), QString());
    EXPECT_EQ(refusal(t), QString());

    // One row per first day, and every row has one.
    fill(t, QDate(2024, 9, 1), QStringLiteral("07:00"), QStringLiteral("12:00"));
    EXPECT_EQ(refusal(t), sameFirstDayMessage(QDate(2024, 9, 1)));
    EXPECT_EQ(sameFirstDayMessage(QDate(2024, 9, 1)), QStringLiteral("Istnieje już pozycja od dnia 01.09.2024"));
    t.clear(QStringLiteral("ODDATY"));
    EXPECT_EQ(refusal(t), QStringLiteral("Pole \"Od daty\" musi posiadać wartość"));
    t.cancel();
    ASSERT_TRUE(t.find({QDate(2024, 9, 1)}));
    t.edit();
    t.setValue(QStringLiteral("CZASP"), QTime(12, 30));
    EXPECT_EQ(refusal(t), QString());  // the row keeps its own day
    EXPECT_EQ(Query(*db, QStringLiteral("SELECT COUNT(*) FROM CZASBEZP")).scalar().toInt(), 2);
}

INSTANTIATE_ENGINES(CzasTest);

}  // namespace
