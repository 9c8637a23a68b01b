#pragma once
// What a printing dialog and lunawactl read to print from a template: the
// templates of the document's type for the "Szablon" picker, and the
// pictures (OBRAZY) the chosen template shows.

#include "print_template.h"
#include "template_render.h"
#include "template_store.h"

#include <QList>

class Database;

namespace printouts {

// The templates of the type in Polish name order (the picker's order; the
// first is preselected).
QList<StoredTemplate> templatesOfType(Database& db, TemplateType type);

// The pictures of the template's picture elements by OBRAZY.KOD, each read
// with its code bound as a number; a missing or unreadable picture is absent
// (its element prints an empty box).
TemplatePictures readTemplatePictures(Database& db, const PrintTemplate& layout);

}  // namespace printouts
