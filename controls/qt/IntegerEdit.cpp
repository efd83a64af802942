#include "controls/qt/IntegerEdit.h"

#include "controls/FieldMessages.h"
#include "controls/qt/SpinButton.h"

#include <QKeyEvent>

CIntegerEdit::CIntegerEdit(QWidget* parent)
    : CBoundedEdit(QStringLiteral("0123456789+-"), parent, kNoIntegerValue) {}

void CIntegerEdit::SetBuddySpin(CSpinButton* spin) {
    if (m_spin && m_spin != spin)
        m_spin->SetBuddy(nullptr);
    m_spin = spin;
    if (spin) {
        spin->SetBuddy(this);
        UpdateSpinRange();
    }
}

void CIntegerEdit::UpdateSpinRange() {
    if (!m_spin)
        return;
    const SpinRange range = SpinRangeForBounds(m_lowerMode, m_lower, m_upperMode, m_upper);
    m_spin->SetRange32(range.lower, range.upper);
}

bool CIntegerEdit::Validate(bool showMessage) {
    return ValidateAs(showMessage, false, [this] {
        const std::optional<std::int32_t> parsed = ParseIntegerField(text().toStdString());
        if (!parsed)
            return Reading<std::int32_t>{kNotANumber, kNoIntegerValue};
        if (IsOutOfBounds(*parsed, m_lowerMode, m_lower, m_upperMode, m_upper))
            return Reading<std::int32_t>{kOutOfBounds, kNoIntegerValue};
        return Reading<std::int32_t>{kValid, *parsed};
    });
}

void CIntegerEdit::SetValue(std::int32_t value) {
    ReplaceText(value == kNoIntegerValue ? QString() : QString::number(value));
    Validate(false);
}

bool CIntegerEdit::Exchange(bool saving, std::int32_t& value) {
    return saving ? SaveValue(value) : (LoadValue(value), true);
}

std::string CIntegerEdit::OutOfBoundsText() const {
    return IntegerOutOfBoundsMessage(Name().toStdString(), m_lowerMode, m_lower, m_upperMode,
                                     m_upper);
}

void CIntegerEdit::keyPressEvent(QKeyEvent* event) {
    if (m_spin && IsChecking() && event->modifiers() == Qt::NoModifier &&
        (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down)) {
        m_spin->Step(event->key() == Qt::Key_Up ? 1 : -1);
        event->accept();
        return;
    }
    CValidatedEdit::keyPressEvent(event);
}
