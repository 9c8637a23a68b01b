#pragma once
// Print templates as the printing dialogs and lunawactl read them from the
// store: the templates of a type for the "Szablon" picker, one by name, and
// the pictures a template shows (OBRAZY).

#include "print_template.h"
#include "template_render.h"

#include <QList>
#include <QString>

#include <optional>

class Database;

namespace printouts {

struct TemplateRecord {
    int id = 0;
    QString name;
    QString layoutText;  // DANE
};

// The templates of the type in Polish name order (the picker's order; the
// first is preselected).
QList<TemplateRecord> templatesOfType(Database& db, TemplateType type);

// The first template of the type with exactly this name.
std::optional<TemplateRecord> templateNamed(Database& db, TemplateType type, const QString& name);

// The pictures of the template's picture elements by OBRAZY.KOD, each read
// with its code bound as a number; a missing or unreadable picture is absent
// (its element prints an empty box).
TemplatePictures readTemplatePictures(Database& db, const PrintTemplate& layout);

}  // namespace printouts
