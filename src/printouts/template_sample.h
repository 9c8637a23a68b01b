#pragma once
// A template filled with one child's data, as the designer previews it: the
// whole layout on one page, every element at its own place (band markers
// print nothing), the data fields a child and the institution know with
// their values, today's date and month, and the document's own fields
// (amounts, numbers) with their names, so that the user sees where they go.

#include "print_template.h"
#include "report_job.h"
#include "template_field_values.h"
#include "template_render.h"

#include <QDate>

#include <memory>

namespace printouts {

std::unique_ptr<report::Job> makeTemplateSampleJob(const PrintTemplate& layout, TemplateType type,
                                                   const ChildAddress& child, const Institution& institution,
                                                   const TemplatePictures& pictures, QDate today);

}  // namespace printouts
