#include "template_picker.h"

#include "store/database.h"
#include "store/query.h"

#include <QCollator>
#include <QLocale>

#include <algorithm>

namespace printouts {

QList<StoredTemplate> templatesOfType(Database& db, TemplateType type)
{
    QList<StoredTemplate> records;
    for (const StoredTemplate& t : storedTemplates(db))
        if (templateTypeOf(t.type) == type)
            records.append(t);
    QCollator collator{QLocale(QLocale::Polish)};
    std::stable_sort(records.begin(), records.end(), [&](const StoredTemplate& a, const StoredTemplate& b) {
        return collator.compare(a.name, b.name) < 0;
    });
    return records;
}

TemplatePictures readTemplatePictures(Database& db, const PrintTemplate& layout)
{
    TemplatePictures pictures;
    for (const TemplateElement& element : layout.elements) {
        if (element.kind != ElementKind::Picture)
            continue;
        const std::optional<int> code = element.pictureCode();
        if (!code || pictures.contains(*code))
            continue;
        Query query(db, QStringLiteral("select OBRAZ from OBRAZY where KOD=:KOD"));
        query.bind(QStringLiteral("KOD"), *code).exec();
        if (!query.next())
            continue;
        const QImage image = QImage::fromData(query.value(0).toByteArray());
        if (!image.isNull())
            pictures.insert(*code, image);
    }
    return pictures;
}

}  // namespace printouts
