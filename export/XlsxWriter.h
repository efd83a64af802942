// Writes a results workbook as an Office Open XML (.xlsx) file: worksheets with
// their header row and numbers, chart sheets with their XY charts, in the
// workbook's tab order.
#pragma once

#include "export/Workbook.h"

#include <cstdint>
#include <functional>
#include <string>

// Told now and then how many of the workbook's rows are written (`done` of
// `total`); returning false stops the writing.
using RowProgress = std::function<bool(uint64_t done, uint64_t total)>;

// The text `reason` holds when a RowProgress stopped the writing.
inline constexpr const char* kWriteStoppedReason = "the writing was stopped";

// Writes `workbook` to `path` (created or truncated). Values without a finite
// result stay empty cells. Returns false with the reason in `reason` (the
// system's error text where the file system failed, kWriteStoppedReason when
// `progress` stopped it); `path` may then hold a partial file, so callers
// write to a temporary name (see SaveWorkbookFile).
bool WriteXlsxFile(const Workbook& workbook, const std::string& path, std::string& reason,
                   const RowProgress& progress = {});
