#include "controls/qt/IntegerEdit.h"

#include "controls/FieldMessages.h"
#include "controls/qt/SpinButton.h"

#include <QKeyEvent>

CIntegerEdit::CIntegerEdit(QWidget* parent)
    : CValidatedEdit(QStringLiteral("0123456789+-"), parent) {}

void CIntegerEdit::SetUpperBound(int mode, std::int32_t value) {
    if (mode == m_upperMode && value == m_upper)
        return;
    m_upperMode = mode;
    m_upper = value;
    Validate(false);
    UpdateSpinRange();
}

void CIntegerEdit::SetLowerBound(int mode, std::int32_t value) {
    if (mode == m_lowerMode && value == m_lower)
        return;
    m_lowerMode = mode;
    m_lower = value;
    Validate(false);
    UpdateSpinRange();
}

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
    const std::string content = text().toStdString();
    if (content.empty() && AllowsEmpty()) {
        EnterEmpty();
        m_value = kNoIntegerValue;
        return true;
    }
    const std::optional<std::int32_t> parsed = ParseIntegerField(content);
    if (!parsed) {
        EnterNotANumber(showMessage);
        m_value = kNoIntegerValue;
        return false;
    }
    if (IsOutOfBounds(*parsed, m_lowerMode, m_lower, m_upperMode, m_upper)) {
        EnterOutOfBounds();
        m_value = kNoIntegerValue;
        return true;
    }
    EnterValid();
    if (m_value != *parsed) {
        m_value = *parsed;
        NotifyValueChanged();
    }
    return true;
}

std::int32_t CIntegerEdit::GetValue() {
    Validate(false);
    if (text().isEmpty() || State() != kValid)
        return kNoIntegerValue;
    return ParseIntegerField(text().toStdString()).value_or(kNoIntegerValue);
}

void CIntegerEdit::SetValue(std::int32_t value) {
    ReplaceText(value == kNoIntegerValue ? QString() : QString::number(value));
    Validate(false);
}

bool CIntegerEdit::SaveValue(std::int32_t& value) {
    switch (CheckForSave()) {
    case SaveCheck::kValid:
        value = GetValue();
        return true;
    case SaveCheck::kNoValue:
        value = kNoIntegerValue;
        return true;
    case SaveCheck::kFailed:
        break;
    }
    return false;
}

bool CIntegerEdit::Exchange(bool saving, std::int32_t& value) {
    if (!saving) {
        LoadValue(value);
        return true;
    }
    return SaveValue(value);
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
