// Writes a results workbook as an Office Open XML (.xlsx) file: worksheets with
// their header row and numbers, chart sheets with their XY charts, in the
// workbook's tab order.
#pragma once

#include "export/Workbook.h"

#include <string>

// Writes `workbook` to `path` (created or truncated). Values without a finite
// result stay empty cells. Returns false with the reason in `reason` (the
// system's error text where the file system failed); `path` may then hold a
// partial file, so callers write to a temporary name (see SaveWorkbookFile).
bool WriteXlsxFile(const Workbook& workbook, const std::string& path, std::string& reason);
