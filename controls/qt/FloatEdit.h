// Floating-point entry field: digits, signs, '.', 'e' and 'E'; the value is
// shown with `Precision()` significant digits; NaN means no value.
#pragma once

#include "controls/qt/ValidatedEdit.h"

class CFloatEdit : public CBoundedEdit<double, double> {
    Q_OBJECT
public:
    explicit CFloatEdit(QWidget* parent = nullptr);

    void SetPrecision(int digits) { m_precision = digits; }
    int Precision() const { return m_precision; }

    bool Validate(bool showMessage) override;

    // Shows `value` with the field's precision. Unless `force`, a value
    // outside the bounds is refused (false). NaN shows an empty field.
    bool SetValue(double value, bool force = false);

    // Data exchange. Loading shows the value, rounded to the precision;
    // saving is SaveValue.
    void LoadValue(double value);
    bool Exchange(bool saving, double& value);

protected:
    std::string OutOfBoundsText() const override;

private:
    int m_precision = 5;
};
