// Floating-point entry field: digits, signs, '.', 'e' and 'E'; the value is
// shown with `Precision()` significant digits; NaN means no value.
#pragma once

#include "controls/qt/ValidatedEdit.h"

class CFloatEdit : public CValidatedEdit {
    Q_OBJECT
public:
    explicit CFloatEdit(QWidget* parent = nullptr);

    // Bounds with their modes (kBoundStrict, kBoundInclusive, kBoundNone). A
    // change revalidates the text without a message.
    void SetUpperBound(int mode, double value);
    void SetLowerBound(int mode, double value);
    double UpperBound() const { return m_upper; }
    double LowerBound() const { return m_lower; }

    void SetPrecision(int digits) { m_precision = digits; }
    int Precision() const { return m_precision; }

    bool Validate(bool showMessage) override;

    // The number in the field; NaN when it is empty, no number or out of bounds.
    double GetValue();
    // The value of the last validation (NaN for none), without validating again.
    double CurrentValue() const { return m_value; }

    // Shows `value` with the field's precision. Unless `force`, a value
    // outside the bounds is refused (false). NaN shows an empty field.
    bool SetValue(double value, bool force = false);

    // Data exchange. Loading shows the value, rounded to the precision.
    // Saving: true with the value (NaN for an empty or disabled field), or
    // false after telling the user why, with the focus on the field.
    void LoadValue(double value);
    bool SaveValue(double& value);
    bool Exchange(bool saving, double& value);

protected:
    std::string OutOfBoundsText() const override;

private:
    double m_value;
    int m_precision = 5;
    double m_lower = 0.0;
    double m_upper = 0.0;
};
