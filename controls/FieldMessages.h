// The texts and captions of the entry fields' message boxes.
#pragma once

#include <cstdint>
#include <string>

// "Please enter a valid number for the <name>." with the caption "Invalid Entry".
std::string NotANumberMessage(const std::string& name);
extern const char* const kInvalidEntryCaption;

// Caption of every out-of-bounds message: the name followed by " Out of Bounds".
std::string OutOfBoundsCaption(const std::string& name);

// Out-of-bounds text of a floating-point field; bounds are printed with
// `precision` significant digits. Modes as in FieldParsing.h.
std::string FloatOutOfBoundsMessage(const std::string& name, int precision, int lowerMode,
                                    double lower, int upperMode, double upper);

// Out-of-bounds text of an integer field, led by a summary line such as
// [0 <= "Ramp1 Start" <= 3000].
std::string IntegerOutOfBoundsMessage(const std::string& name, int lowerMode, std::int32_t lower,
                                      int upperMode, std::int32_t upper);

// Out-of-bounds text of an integer-list field.
std::string IntegerListOutOfBoundsMessage(const std::string& name, int lowerMode,
                                          std::int32_t lower, int upperMode, std::int32_t upper);
