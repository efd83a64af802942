#include "controls/qt/FloatEdit.h"

#include "controls/FieldMessages.h"

#include <cmath>
#include <limits>

namespace {

constexpr double kNoValue = std::numeric_limits<double>::quiet_NaN();

bool SameValue(double a, double b) {
    return (std::isnan(a) && std::isnan(b)) || a == b;
}

} // namespace

CFloatEdit::CFloatEdit(QWidget* parent)
    : CValidatedEdit(QStringLiteral("0123456789+-.eE"), parent), m_value(kNoValue) {}

void CFloatEdit::SetUpperBound(int mode, double value) {
    if (mode == m_upperMode && SameValue(value, m_upper))
        return;
    m_upperMode = mode;
    m_upper = value;
    Validate(false);
}

void CFloatEdit::SetLowerBound(int mode, double value) {
    if (mode == m_lowerMode && SameValue(value, m_lower))
        return;
    m_lowerMode = mode;
    m_lower = value;
    Validate(false);
}

bool CFloatEdit::Validate(bool showMessage) {
    const std::string content = text().toStdString();
    if (content.empty() && AllowsEmpty()) {
        EnterEmpty();
        m_value = kNoValue;
        return true;
    }
    const std::optional<double> parsed = ParseFloatField(content);
    if (!parsed) {
        EnterNotANumber(showMessage);
        m_value = kNoValue;
        return false;
    }
    if (IsOutOfBounds(*parsed, m_lowerMode, m_lower, m_upperMode, m_upper)) {
        EnterOutOfBounds();
        m_value = kNoValue;
        return true;
    }
    EnterValid();
    if (!SameValue(m_value, *parsed)) {
        m_value = *parsed;
        NotifyValueChanged();
    }
    return true;
}

double CFloatEdit::GetValue() {
    Validate(false);
    if (text().isEmpty() || State() != kValid)
        return kNoValue;
    return ParseFloatField(text().toStdString()).value_or(kNoValue);
}

bool CFloatEdit::SetValue(double value, bool force) {
    if (!force && std::isfinite(value) &&
        IsOutOfBounds(value, m_lowerMode, m_lower, m_upperMode, m_upper))
        return false;
    ReplaceText(QString::fromStdString(FormatFloatField(value, m_precision)));
    Validate(false);
    return true;
}

void CFloatEdit::LoadValue(double value) {
    SetValue(value, true);
}

bool CFloatEdit::SaveValue(double& value) {
    switch (CheckForSave()) {
    case SaveCheck::kValid:
        value = GetValue();
        return true;
    case SaveCheck::kNoValue:
        value = kNoValue;
        return true;
    case SaveCheck::kFailed:
        break;
    }
    return false;
}

bool CFloatEdit::Exchange(bool saving, double& value) {
    if (!saving) {
        LoadValue(value);
        return true;
    }
    return SaveValue(value);
}

std::string CFloatEdit::OutOfBoundsText() const {
    return FloatOutOfBoundsMessage(Name().toStdString(), m_precision, m_lowerMode, m_lower,
                                   m_upperMode, m_upper);
}
