#pragma once
// The data fields of a settlement statement: the report's title and month,
// the "Na dzień" date, the month's two texts, the child's stored charge
// total and balance with their words and sign, and the child's own fields.

#include "statement_data.h"
#include "statement_layouts.h"
#include "template_render.h"

#include <memory>

namespace printouts {

DataFieldValues statementFields(std::shared_ptr<const StatementData> data,
                                std::shared_ptr<const StatementLines> lines);

}  // namespace printouts
