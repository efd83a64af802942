// Integer entry field: digits and signs; 0x7FFFFFFF (kNoIntegerValue) means no
// value. An attached up-down buddy (CSpinButton) steps the value within the
// bounds; the Up and Down keys step it too.
#pragma once

#include "controls/qt/SpinButton.h"
#include "controls/qt/ValidatedEdit.h"

#include <QPointer>

#include <cstdint>

class CIntegerEdit : public CBoundedEdit<std::int32_t, std::int32_t> {
    Q_OBJECT
public:
    explicit CIntegerEdit(QWidget* parent = nullptr);

    // Attaches the up-down control beside the field (null detaches).
    void SetBuddySpin(CSpinButton* spin);
    CSpinButton* BuddySpin() const { return m_spin.data(); }

    bool Validate(bool showMessage) override;

    // Shows `value` in decimal (kNoIntegerValue: an empty field) and validates it.
    void SetValue(std::int32_t value);

    // Data exchange, as for CFloatEdit; saving a disabled field that holds no
    // valid number gives kNoIntegerValue without a message.
    void LoadValue(std::int32_t value) { SetValue(value); }
    bool Exchange(bool saving, std::int32_t& value);

protected:
    std::string OutOfBoundsText() const override;
    // A change of a bound also updates the buddy's range.
    void OnBoundsChanged() override { UpdateSpinRange(); }
    void keyPressEvent(QKeyEvent* event) override;

private:
    void UpdateSpinRange();

    QPointer<CSpinButton> m_spin;
};
