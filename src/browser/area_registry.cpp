#include "area_registry.h"

bool AreaRegistry::open(const QString& area, RunContext& context, const QVariantMap& arguments) const
{
    const auto it = m_areas.constFind(area);
    if (it == m_areas.constEnd())
        return false;
    (*it)(context, arguments);
    return true;
}
