#include "typed_keys.h"

#include "browser/module.h"

namespace typed {

std::optional<QChar> routed(const QString& moduleClass, const QString& role, QChar key)
{
    const QChar up = key.toUpper();
    if (moduleClass == QLatin1String("TDMObecn")) {
        if (role == roles::attendance()) {
            if (key == kBackspace || up == u'T' || up == u'N' || up == u'Z')
                return key == kBackspace ? key : up;
        } else if (role == roles::count()) {
            if (key == kBackspace || key.isDigit())
                return key;
        } else if (role == roles::arrival() || role == roles::departure()) {
            if (key == kBackspace || key.isDigit() || up == u'T')
                return key;
        }
    } else if (moduleClass == QLatin1String("TDMNalDod") && role == roles::extraCharge()) {
        if (key == kBackspace || key.isDigit() || up == u'N' || up == u'T')
            return key;
    }
    return std::nullopt;
}

}  // namespace typed
