#pragma once
// The tables of the current schema, read from the catalogue text.

#include "schema.h"

QList<TableDef> buildSchemaTables();
