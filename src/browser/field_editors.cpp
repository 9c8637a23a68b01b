#include "field_editors.h"

#include "browser/cell_text.h"

namespace editors {

Kind kindOf(const Table::Field& f)
{
    if (cell::hasLookupSource(f) || (f.kind == Table::FieldKind::Data && f.lookupTable))
        return Kind::Lookup;
    if (f.kind != Table::FieldKind::Data)
        return Kind::None;
    switch (f.def.type) {
    case FieldType::Date:
        return Kind::Date;
    case FieldType::Time:
        return Kind::Time;
    case FieldType::Memo:
        return Kind::Memo;
    case FieldType::String:
        return f.def.name.compare(QLatin1String("PLIK"), Qt::CaseInsensitive) == 0 ? Kind::File : Kind::None;
    default:
        return Kind::None;
    }
}

}  // namespace editors
