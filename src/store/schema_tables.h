#pragma once
// The tables of the current schema, in catalogue order.

#include "schema.h"

QList<TableDef> buildSchemaTables();
