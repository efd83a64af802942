#include "controls/qt/FloatEdit.h"

#include "controls/FieldMessages.h"

#include <cmath>
#include <limits>

namespace {

constexpr double kNoValue = std::numeric_limits<double>::quiet_NaN();

} // namespace

CFloatEdit::CFloatEdit(QWidget* parent)
    : CBoundedEdit(QStringLiteral("0123456789+-.eE"), parent, kNoValue) {}

bool CFloatEdit::Validate(bool showMessage) {
    return ValidateAs(showMessage, false, [this] {
        const std::optional<double> parsed = ParseFloatField(text().toStdString());
        if (!parsed)
            return Reading<double>{kNotANumber, kNoValue};
        if (IsOutOfBounds(*parsed, m_lowerMode, m_lower, m_upperMode, m_upper))
            return Reading<double>{kOutOfBounds, kNoValue};
        return Reading<double>{kValid, *parsed};
    });
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

bool CFloatEdit::Exchange(bool saving, double& value) {
    return saving ? SaveValue(value) : (LoadValue(value), true);
}

std::string CFloatEdit::OutOfBoundsText() const {
    return FloatOutOfBoundsMessage(Name().toStdString(), m_precision, m_lowerMode, m_lower,
                                   m_upperMode, m_upper);
}
