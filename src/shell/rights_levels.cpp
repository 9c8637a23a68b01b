#include "rights_levels.h"

namespace rights_levels {

const QStringList& tableCaptions()
{
    static const QStringList captions{
        QStringLiteral("Nic"),
        QStringLiteral("Czyta"),
        QStringLiteral("Edytuje"),
        QStringLiteral("Edytuje+Dodaje"),
        QStringLiteral("Edytuje+Dodaje+Kasuje"),
        QStringLiteral("Wszystko"),
    };
    return captions;
}

const QStringList& fieldCaptions()
{
    static const QStringList captions{QStringLiteral("Nic"), QStringLiteral("Czyta"), QStringLiteral("Wszystko")};
    return captions;
}

QString tableCaption(int level)
{
    return level >= 0 && level < tableCaptions().size() ? tableCaptions().at(level) : QString();
}

QString fieldCaption(int level)
{
    const int choice = level == 0 || level == 1 || level == 5 ? fieldChoiceOfLevel(level) : -1;
    return choice >= 0 ? fieldCaptions().at(choice) : QString();
}

int fieldChoiceOfLevel(int level)
{
    if (level < 0)
        return -1;
    return level <= 1 ? level : 2;
}

int fieldLevelOfChoice(int choice)
{
    switch (choice) {
    case 0: return 0;
    case 1: return 1;
    case 2: return 5;
    default: return -1;
    }
}

int fieldImage(int level)
{
    return level >= 0 && level <= 5 ? level : -1;
}

int tableImage(int level)
{
    return level >= 0 && level <= 5 ? level + 6 : -1;
}

}  // namespace rights_levels
