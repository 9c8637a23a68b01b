#include "column_sums.h"

#include "browser/cell_text.h"
#include "browser/module.h"
#include "store/table.h"

#include <cmath>

namespace sums {

double exactSum(const QList<double>& values)
{
    qint64 units = 0;
    for (double v : values)
        units += std::llround(v * 10000.0);
    return double(units) / 10000.0;
}

QHash<QString, QString> footer(const DataSet& ds)
{
    QHash<QString, QString> out;
    const Table* t = ds.table;
    if (!t || !t->isOpen())
        return out;
    for (const FieldView& v : ds.fields) {
        if (!v.visible || v.mark == 0 || !t->hasField(v.name))
            continue;
        const FieldType type = t->field(v.name).def.type;
        if (!cell::isNumeric(type))
            continue;
        QList<double> values;
        values.reserve(t->rowCount());
        for (int r = 0; r < t->rowCount(); ++r)
            values << t->valueAt(r, v.name).toDouble();
        out.insert(v.name.toUpper(), cell::text(exactSum(values), type, v.displayFormat));
    }
    return out;
}

}  // namespace sums
