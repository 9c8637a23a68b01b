#include "communication_areas.h"

#include "tdm_posilki.h"

#include "browser/area_registry.h"

void registerCommunicationAreas(AreaRegistry& areas)
{
    areas.add(QStringLiteral("Posilki"), [](RunContext& context, const QVariantMap&) {
        TDMDane::openAsWindow(std::make_unique<TDMPosilki>(context), QStringLiteral("Posiłki"));
    });
}
