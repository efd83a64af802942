// The results of one recording as a short text for people: a few aligned
// lines per analysis with units, instead of every number (that is the JSON's
// and the workbook's job).
#pragma once

#include "export/ResultBuilders.h"

#include <string>
#include <vector>

// The units in which a summary shows the results of a channel recorded in
// `currentUnit` (e.g. "pA"): conductance in current units per mV (nS for pA),
// capacitance in current units x microseconds per mV (shown in pF for pA and nA).
struct SummaryUnits {
    std::string current;           // as recorded; "units" when the file gives none
    std::string conductance;       // ConductanceUnit (export/Units.h): "nS" for pA, "µS" for nA
    std::string capacitance;       // "pF" for pA and nA, else current + "·µs/mV"
    double capacitanceScale = 1.0; // multiplies the builders' capacitance into `capacitance`
};

// The units for a channel whose unit text is `currentUnit` (spaces around it ignored).
SummaryUnits UnitsForCurrent(const std::string& currentUnit);

// A heading line with `file`, then, for every category with rows in export
// order, a title line and two to four indented lines "label  value unit" with
// the values aligned: the first and last trace, the range or the mean, the
// control-subtracted value; for the current-voltage relation the ends of the
// voltage range and where the current changes sign. Values that are not
// finite read "no value". Every line ends with a newline.
std::string ResultsToText(const std::string& file, const std::vector<AnalysisResult>& results,
                          const SummaryUnits& units);

// `value` with four significant digits, without an exponent below 1e6 and
// with a minus sign of its own ("-0" reads "0"); "no value" when not finite.
std::string FormatValue(double value);
