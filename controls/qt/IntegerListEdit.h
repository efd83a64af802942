// Integer-list entry field: digits and commas, e.g. "1,3,7,". Every number
// must lie within the bounds; each value appears once, in typed order.
#pragma once

#include "controls/qt/ValidatedEdit.h"

#include <cstdint>
#include <vector>

class CIntegerListEdit : public CBoundedEdit<std::vector<std::int32_t>, std::int32_t> {
    Q_OBJECT
public:
    explicit CIntegerListEdit(QWidget* parent = nullptr);

    // Lets the field take and show runs ("2-5", "1-8790,"); off by default.
    void SetRangesAllowed(bool allowed);

    // A list always parses; out of bounds (and, with `showMessage`, the
    // out-of-bounds message) when any number lies outside the bounds.
    bool Validate(bool showMessage) override;

    // Shows the numbers, each followed by a comma, and validates them.
    void SetValue(const std::vector<std::int32_t>& values);

    // Data exchange, as for CFloatEdit.
    void LoadValue(const std::vector<std::int32_t>& values) { SetValue(values); }
    bool Exchange(bool saving, std::vector<std::int32_t>& values);

protected:
    std::string OutOfBoundsText() const override;

private:
    // The numbers of the text, or nothing when a token is no whole positive
    // number (or run) or one lies outside the bounds.
    std::optional<std::vector<std::int32_t>> ParseWithinBounds() const;

    bool m_ranges = false;
};
