#include "fees/evaluator.h"
#include "fees/quantity_substitution.h"

#include <benchmark/benchmark.h>

namespace {

// Quantities of a plausible child month.
class MonthQuantities : public fees::QuantityProvider {
public:
    double simpleQuantity(QChar letter) override { return letter == QLatin1Char('E') ? 37.25 : 2; }
    int scheduledClasses(int) override { return 4; }
    int classAttendance(int, fees::PresenceMark) override { return 3; }
    int classesDuringStay(int) override { return 3; }
    int classesOnDaysPresent(int) override { return 3; }
};

const QString kDefinition = QStringLiteral("IE*1,5+IP[3]*12-IZ*2");

// What the charge run pays per charge line once the quantities are known.
void BM_EvaluateTypicalMethod(benchmark::State& state)
{
    MonthQuantities quantities;
    const QString expression = fees::substituteQuantities(kDefinition, quantities);
    for (auto _ : state)
        benchmark::DoNotOptimize(fees::evaluate(expression, 4));
}
BENCHMARK(BM_EvaluateTypicalMethod);

void BM_SubstituteAndEvaluateTypicalMethod(benchmark::State& state)
{
    MonthQuantities quantities;
    for (auto _ : state)
        benchmark::DoNotOptimize(fees::evaluate(fees::substituteQuantities(kDefinition, quantities), 4));
}
BENCHMARK(BM_SubstituteAndEvaluateTypicalMethod);

}  // namespace
