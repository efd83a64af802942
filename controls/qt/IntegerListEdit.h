// Integer-list entry field: digits and commas, e.g. "1,3,7,". Every number
// must lie within the bounds; each value appears once, in typed order.
#pragma once

#include "controls/qt/ValidatedEdit.h"

#include <cstdint>
#include <vector>

class CIntegerListEdit : public CValidatedEdit {
    Q_OBJECT
public:
    explicit CIntegerListEdit(QWidget* parent = nullptr);

    // Lets the field take and show runs ("2-5", "1-8790,"); off by default.
    void SetRangesAllowed(bool allowed);

    // Bounds for every element, with their modes; a change revalidates.
    void SetUpperBound(int mode, std::int32_t value);
    void SetLowerBound(int mode, std::int32_t value);
    std::int32_t UpperBound() const { return m_upper; }
    std::int32_t LowerBound() const { return m_lower; }

    // A list always parses; out of bounds (and, with `showMessage`, the
    // out-of-bounds message) when any number lies outside the bounds.
    bool Validate(bool showMessage) override;

    // The numbers in the field; empty when there are none or any is out of bounds.
    std::vector<std::int32_t> GetValue();
    const std::vector<std::int32_t>& CurrentValue() const { return m_value; }

    // Shows the numbers, each followed by a comma, and validates them.
    void SetValue(const std::vector<std::int32_t>& values);

    // Data exchange, as for CFloatEdit.
    void LoadValue(const std::vector<std::int32_t>& values) { SetValue(values); }
    bool SaveValue(std::vector<std::int32_t>& values);
    bool Exchange(bool saving, std::vector<std::int32_t>& values);

protected:
    std::string OutOfBoundsText() const override;

private:
    // The numbers of the text, or nothing when a token is no whole positive
    // number (or run) or one lies outside the bounds.
    std::optional<std::vector<std::int32_t>> ParseWithinBounds() const;

    std::vector<std::int32_t> m_value;
    std::int32_t m_lower = 0;
    std::int32_t m_upper = 0;
    bool m_ranges = false;
};
