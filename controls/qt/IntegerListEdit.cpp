#include "controls/qt/IntegerListEdit.h"

#include "controls/FieldMessages.h"

#include <limits>

CIntegerListEdit::CIntegerListEdit(QWidget* parent)
    : CBoundedEdit(QStringLiteral("0123456789,"), parent, {}) {
    // A list has no natural length: QLineEdit's default limit of 32767
    // characters would cut a long one, possibly inside a number.
    setMaxLength(std::numeric_limits<int>::max());
}

void CIntegerListEdit::SetRangesAllowed(bool allowed) {
    m_ranges = allowed;
    SetAllowedCharacters(allowed ? QStringLiteral("0123456789,-") : QStringLiteral("0123456789,"));
    Validate(false);
}

std::optional<std::vector<std::int32_t>> CIntegerListEdit::ParseWithinBounds() const {
    const IntegerListParse parsed = ParseIntegerListField(text().toStdString(), m_ranges);
    if (!parsed.badToken.empty())
        return std::nullopt;
    // Bounds are checked on the runs' ends before a run is expanded, so a huge
    // run costs nothing unless it fits.
    for (const IntegerRun& run : parsed.runs) {
        if (IsOutOfBounds(run.first, m_lowerMode, m_lower, m_upperMode, m_upper) ||
            IsOutOfBounds(run.last, m_lowerMode, m_lower, m_upperMode, m_upper))
            return std::nullopt;
    }
    return ExpandIntegerRuns(parsed.runs);
}

bool CIntegerListEdit::Validate(bool showMessage) {
    using List = std::vector<std::int32_t>;
    return ValidateAs(showMessage, true, [this] {
        std::optional<List> values = ParseWithinBounds();
        if (!values)
            return Reading<List>{kOutOfBounds, {}};
        return Reading<List>{kValid, std::move(*values)};
    });
}

void CIntegerListEdit::SetValue(const std::vector<std::int32_t>& values) {
    ReplaceText(QString::fromStdString(FormatIntegerList(values, m_ranges)));
    Validate(false);
}

bool CIntegerListEdit::Exchange(bool saving, std::vector<std::int32_t>& values) {
    return saving ? SaveValue(values) : (LoadValue(values), true);
}

std::string CIntegerListEdit::OutOfBoundsText() const {
    return IntegerListOutOfBoundsMessage(Name().toStdString(), m_lowerMode, m_lower, m_upperMode,
                                         m_upper);
}
