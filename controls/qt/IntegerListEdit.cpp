#include "controls/qt/IntegerListEdit.h"

#include "controls/FieldMessages.h"

#include <limits>

CIntegerListEdit::CIntegerListEdit(QWidget* parent)
    : CValidatedEdit(QStringLiteral("0123456789,"), parent) {
    // A list has no natural length: QLineEdit's default limit of 32767
    // characters would cut a long one, possibly inside a number.
    setMaxLength(std::numeric_limits<int>::max());
}

void CIntegerListEdit::SetUpperBound(int mode, std::int32_t value) {
    if (mode == m_upperMode && value == m_upper)
        return;
    m_upperMode = mode;
    m_upper = value;
    Validate(false);
}

void CIntegerListEdit::SetLowerBound(int mode, std::int32_t value) {
    if (mode == m_lowerMode && value == m_lower)
        return;
    m_lowerMode = mode;
    m_lower = value;
    Validate(false);
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
    if (text().isEmpty() && AllowsEmpty()) {
        EnterEmpty();
        m_value.clear();
        return true;
    }
    std::optional<std::vector<std::int32_t>> values = ParseWithinBounds();
    if (!values) {
        EnterOutOfBounds();
        m_value.clear();
        if (showMessage)
            ShowOutOfBoundsMessage();
        return true;
    }
    EnterValid();
    if (*values != m_value) {
        m_value = std::move(*values);
        NotifyValueChanged();
    }
    return true;
}

std::vector<std::int32_t> CIntegerListEdit::GetValue() {
    Validate(false);
    if (text().isEmpty() || State() != kValid)
        return {};
    return ParseWithinBounds().value_or(std::vector<std::int32_t>{});
}

void CIntegerListEdit::SetValue(const std::vector<std::int32_t>& values) {
    ReplaceText(QString::fromStdString(FormatIntegerList(values, m_ranges)));
    Validate(false);
}

bool CIntegerListEdit::SaveValue(std::vector<std::int32_t>& values) {
    switch (CheckForSave()) {
    case SaveCheck::kValid:
        values = GetValue();
        return true;
    case SaveCheck::kNoValue:
        values.clear();
        return true;
    case SaveCheck::kFailed:
        break;
    }
    return false;
}

bool CIntegerListEdit::Exchange(bool saving, std::vector<std::int32_t>& values) {
    if (!saving) {
        LoadValue(values);
        return true;
    }
    return SaveValue(values);
}

std::string CIntegerListEdit::OutOfBoundsText() const {
    return IntegerListOutOfBoundsMessage(Name().toStdString(), m_lowerMode, m_lower, m_upperMode,
                                         m_upper);
}
