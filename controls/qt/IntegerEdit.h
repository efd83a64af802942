// Integer entry field: digits and signs; 0x7FFFFFFF (kNoIntegerValue) means no
// value. An attached up-down buddy (CSpinButton) steps the value within the
// bounds; the Up and Down keys step it too.
#pragma once

#include "controls/qt/SpinButton.h"
#include "controls/qt/ValidatedEdit.h"

#include <QPointer>

#include <cstdint>

class CIntegerEdit : public CValidatedEdit {
    Q_OBJECT
public:
    explicit CIntegerEdit(QWidget* parent = nullptr);

    // Bounds with their modes (kBoundStrict, kBoundInclusive, kBoundNone). A
    // change revalidates without a message and updates the buddy's range.
    void SetUpperBound(int mode, std::int32_t value);
    void SetLowerBound(int mode, std::int32_t value);
    std::int32_t UpperBound() const { return m_upper; }
    std::int32_t LowerBound() const { return m_lower; }

    // Attaches the up-down control beside the field (null detaches).
    void SetBuddySpin(CSpinButton* spin);
    CSpinButton* BuddySpin() const { return m_spin.data(); }

    bool Validate(bool showMessage) override;

    // The number in the field; kNoIntegerValue when empty, no number or out of bounds.
    std::int32_t GetValue();
    std::int32_t CurrentValue() const { return m_value; }

    // Shows `value` in decimal (kNoIntegerValue: an empty field) and validates it.
    void SetValue(std::int32_t value);

    // Data exchange, as for CFloatEdit; saving a disabled field that holds no
    // valid number gives kNoIntegerValue without a message.
    void LoadValue(std::int32_t value) { SetValue(value); }
    bool SaveValue(std::int32_t& value);
    bool Exchange(bool saving, std::int32_t& value);

protected:
    std::string OutOfBoundsText() const override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void UpdateSpinRange();

    std::int32_t m_value = kNoIntegerValue;
    std::int32_t m_lower = 0;
    std::int32_t m_upper = 0;
    QPointer<CSpinButton> m_spin;
};
