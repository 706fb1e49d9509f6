// The nine tables of the data directory.
#pragma once

#include "phonomir/TableLayout.h"

namespace phonomir {

const TableLayout &folderTable();
const TableLayout &impulseTable();
const TableLayout &acfTable();
const TableLayout &noiseTable();        // NMS
const TableLayout &acParameterTable();  // ACPARAM
const TableLayout &acfFactorTable();    // ACFFACT
const TableLayout &filterTable();       // IFILTER
const TableLayout &micCalTable();       // MICCAL
const TableLayout &presetTable();

}  // namespace phonomir
