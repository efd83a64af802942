// What an analysis page needs from the window that holds it: the main window
// implements this, and the pages' apply step starts the export through it.
#pragma once

class IAnalysisSheet {
public:
    virtual ~IAnalysisSheet() = default;
    // Writes the results of all five analyses (the main window runs the export
    // from the pages' settings as they stand).
    virtual void ExportAllAnalyses() = 0;
};
