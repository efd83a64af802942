#include "controls/FieldMessages.h"

#include "controls/FieldParsing.h"

const char* const kInvalidEntryCaption = "Invalid Entry";

namespace {

bool HasBound(int mode) {
    return mode == kBoundStrict || mode == kBoundInclusive;
}

// `lead` and `tail` frame the name in the sentence ("Please enter a value for
// the " ... " which is").
std::string IntegerMessage(const std::string& name, const char* lead, const char* tail,
                           const char* summaryEnd, int lowerMode, std::int32_t lower, int upperMode,
                           std::int32_t upper) {
    std::string text = "[";
    if (HasBound(lowerMode))
        text += std::to_string(lower) + (lowerMode == kBoundStrict ? " < " : " <= ");
    text += "\"" + name + "\"";
    if (HasBound(upperMode))
        text += (upperMode == kBoundStrict ? " < " : " <= ") + std::to_string(upper);
    text += "]";
    text += summaryEnd;
    text += lead + name + tail;
    if (HasBound(lowerMode)) {
        text += lowerMode == kBoundStrict ? "\r\nmore than " : "\r\nmore than or equal to ";
        text += std::to_string(lower);
    }
    if (HasBound(lowerMode) && HasBound(upperMode))
        text += " and";
    if (HasBound(upperMode)) {
        text += upperMode == kBoundStrict ? "\r\nless than " : "\r\nless than or equal to ";
        text += std::to_string(upper);
    }
    return text;
}

} // namespace

std::string NotANumberMessage(const std::string& name) {
    return "Please enter a valid number for the " + name + ".";
}

std::string OutOfBoundsCaption(const std::string& name) {
    return name + " Out of Bounds";
}

std::string FloatOutOfBoundsMessage(const std::string& name, int precision, int lowerMode,
                                    double lower, int upperMode, double upper) {
    std::string text = "Please enter a number for the " + name + " which is\r\n";
    if (HasBound(upperMode)) {
        text += "less than ";
        if (upperMode == kBoundInclusive)
            text += "or equal to ";
        text += FormatFloatField(upper, precision) + " ";
    }
    if (HasBound(lowerMode)) {
        text += "\r\n";
        if (HasBound(upperMode))
            text += "and";
        text += " greater than ";
        if (lowerMode == kBoundInclusive)
            text += "or equal to ";
        text += FormatFloatField(lower, precision) + " ";
    }
    return text;
}

std::string IntegerOutOfBoundsMessage(const std::string& name, int lowerMode, std::int32_t lower,
                                      int upperMode, std::int32_t upper) {
    return IntegerMessage(name, "Please enter a value for the ", " which is", "\r\n\r\n", lowerMode,
                          lower, upperMode, upper);
}

std::string IntegerListOutOfBoundsMessage(const std::string& name, int lowerMode,
                                          std::int32_t lower, int upperMode, std::int32_t upper) {
    return IntegerMessage(name, "Please enter numbers for the ", " which are", "\r\n", lowerMode,
                          lower, upperMode, upper);
}
