#include "controls/qt/IntegerListEdit.h"

#include "controls/FieldMessages.h"

#include <limits>

CIntegerListEdit::CIntegerListEdit(QWidget* parent)
    : CValidatedEdit(QStringLiteral("0123456789,"), parent) {}

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

std::optional<std::vector<std::int32_t>> CIntegerListEdit::ParseWithinBounds() const {
    const std::vector<std::int64_t> numbers = ParseIntegerListField(text().toStdString());
    std::vector<std::int32_t> values;
    values.reserve(numbers.size());
    for (const std::int64_t n : numbers) {
        // A run of digits can exceed what the list can hold; such a number
        // cannot be within any bounds.
        if (n > std::numeric_limits<std::int32_t>::max())
            return std::nullopt;
        const auto v = std::int32_t(n);
        if (IsOutOfBounds(v, m_lowerMode, m_lower, m_upperMode, m_upper))
            return std::nullopt;
        values.push_back(v);
    }
    return values;
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
    ReplaceText(QString::fromStdString(FormatIntegerList(values)));
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
