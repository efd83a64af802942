// Base of the numeric entry fields. Only the field's allowed characters can be
// typed or pasted (anything else leaves the text as it was); every change is
// validated at once and shown in the valid or invalid look; a text that is no
// number blocks Tab and brings the focus back with a message when the user
// leaves the field. The value-changed notification goes out through
// `notification(this, kNotifyValueChanged)` once per change of the value.
#pragma once

#include "controls/FieldParsing.h"
#include "controls/qt/ColouredEdit.h"

#include <QString>

#include <string>
#include <type_traits>

class QValidator;

class CValidatedEdit : public CColouredEdit {
    Q_OBJECT
public:
    // Validation state.
    enum : int { kNotANumber = 0, kOutOfBounds = 1, kValid = 2 };
    // Feedback mode bits: colour (red text) and font (bold).
    enum : int { kColourFeedback = 1, kFontFeedback = 2 };

    ~CValidatedEdit() override;

    // Checks the text: true when it is a number (or empty and empty is
    // allowed). A number outside the bounds still gives true but the state
    // kOutOfBounds and no value. With `showMessage`, a text that is no number
    // is reported in a message box.
    virtual bool Validate(bool showMessage) = 0;

    // Name of the field in the messages.
    void SetName(const QString& name) { m_name = name; }
    QString Name() const { return m_name; }

    // Which look shows an invalid value (kColourFeedback | kFontFeedback).
    void SetFeedbackMode(int mode) { m_feedbackMode = mode; }
    int FeedbackMode() const { return m_feedbackMode; }

    int State() const { return m_state; }
    int LowerBoundMode() const { return m_lowerMode; }
    int UpperBoundMode() const { return m_upperMode; }

    // While checking is off the text is taken as it is, unvalidated.
    void SetChecking(bool on) { m_checking = on; }
    bool IsChecking() const { return m_checking; }

    void SetAllowEmpty(bool allow) { m_allowEmpty = allow; }
    bool AllowsEmpty() const { return m_allowEmpty; }
    const QString& AllowedCharacters() const { return m_allowedCharacters; }
    bool HasOnlyAllowedCharacters(const QString& text) const;

    // Sets the text by program with the typing check: a text with characters
    // the field does not allow is refused (false) and the old text stays.
    // Setting the text with QLineEdit::setText is checked the same way.
    bool SetCheckedText(const QString& text);

    // Widgets (by objectName) whose taking the focus does not make a field
    // with no number complain; for "Cancel"-like buttons.
    static void AddFocusExemption(const QString& objectName);
    static void ClearFocusExemptions();
    // The field whose complaint about leaving it is on its way, if any.
    static CValidatedEdit* PendingComplaint();

signals:
    // `code` is kNotifyValueChanged (0x8001).
    void notification(QWidget* control, int code);
    void valueChanged();

protected:
    CValidatedEdit(const QString& allowedCharacters, QWidget* parent);
    // Changes the characters the field takes from now on.
    void SetAllowedCharacters(const QString& characters) { m_allowedCharacters = characters; }

    // What a field makes of its text: kNotANumber, kOutOfBounds or kValid,
    // and the value when valid.
    template <class T> struct Reading {
        int state = kNotANumber;
        T value{};
    };

    // The one course of every field's Validate. An allowed empty text is a
    // valid "no value"; any other text is what `read()` makes of it. Each
    // outcome gets its state and look; `current` becomes the valid value or
    // `noValue`, and a change of a valid value is notified. With
    // `showMessage` a text that is no number is reported, and one out of
    // bounds as well when `reportOutOfBounds`. False only for no number.
    template <class T, class Read>
    bool ValidateWith(bool showMessage, bool reportOutOfBounds, T& current, const T& noValue,
                      Read read);

    // The saving direction of the data exchange for every field: true with
    // the valid value (`current` after validating) or `noValue` for a
    // disabled field without one; false after telling the user.
    template <class T> bool SaveWith(T& value, const T& current, const T& noValue);

    // Sets one bound and its mode; a change revalidates without a message.
    // True when anything changed.
    template <class T> bool ChangeBound(int& mode, T& bound, int newMode, T newValue);

    // The out-of-bounds text and caption of this kind of field.
    virtual std::string OutOfBoundsText() const = 0;
    void ShowOutOfBoundsMessage();

    // Saving direction of the data exchange: Valid means take GetValue,
    // NoValue means the field is disabled and yields no value, Failed that
    // the user has been told and the focus sits on the field.
    enum class SaveCheck { Valid, NoValue, Failed };
    SaveCheck CheckForSave();

    // Replaces the text with checking off, only when it differs.
    void ReplaceText(const QString& text);

    bool event(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

    int m_lowerMode = kBoundNone;
    int m_upperMode = kBoundNone;

private:
    // The looks and states of the outcomes; an allowed empty text counts as valid.
    void EnterValid();
    void EnterInvalid(int state);
    void NotifyValueChanged();
    void OnTextChanged(const QString& text);
    void ShowNotANumberMessage();
    void ComplainAboutLeaving();
    std::string NameText() const { return m_name.toStdString(); }

    int m_feedbackMode = kColourFeedback;
    QString m_name;
    int m_state = kValid;
    bool m_checking = true;
    QString m_allowedCharacters;
    bool m_allowEmpty = true;
    QString m_lastAcceptedText;
    bool m_restoring = false;
    QValidator* m_characterCheck = nullptr;
};

// What the numeric fields share besides their parsing: the value of the last
// validation (the field's "no value" when there is none), bounds of type
// Bound with their modes (kBoundStrict, kBoundInclusive, kBoundNone; a list
// field bounds each element) and the saving direction of the data exchange.
template <class Value, class Bound> class CBoundedEdit : public CValidatedEdit {
public:
    // A change of a bound revalidates the text without a message.
    void SetUpperBound(int mode, Bound value) {
        if (ChangeBound(m_upperMode, m_upper, mode, value))
            OnBoundsChanged();
    }
    void SetLowerBound(int mode, Bound value) {
        if (ChangeBound(m_lowerMode, m_lower, mode, value))
            OnBoundsChanged();
    }
    Bound UpperBound() const { return m_upper; }
    Bound LowerBound() const { return m_lower; }

    // The value of the last validation, without validating again.
    const Value& CurrentValue() const { return m_value; }
    // The text's value after validating it; the no-value when it is empty,
    // no number or out of bounds.
    Value GetValue() {
        Validate(false);
        return m_value;
    }
    // Saving: true with the value (the no-value for an empty field, or a
    // disabled one without a valid value), or false after telling the user
    // why, with the focus on the field.
    bool SaveValue(Value& value) { return SaveWith(value, m_value, m_noValue); }

protected:
    CBoundedEdit(const QString& allowedCharacters, QWidget* parent, Value noValue)
        : CValidatedEdit(allowedCharacters, parent), m_value(noValue), m_noValue(noValue) {}
    // After a bound changed (the field has been revalidated).
    virtual void OnBoundsChanged() {}
    // Validate with this field's value and no-value.
    template <class Read> bool ValidateAs(bool showMessage, bool reportOutOfBounds, Read read) {
        return ValidateWith(showMessage, reportOutOfBounds, m_value, m_noValue, read);
    }

    Value m_value;
    const Value m_noValue;
    Bound m_lower{};
    Bound m_upper{};
};

// Equal values; two NaNs are the same "no value".
template <class T> bool SameFieldValue(const T& a, const T& b) {
    if constexpr (std::is_floating_point_v<T>)
        return (a != a && b != b) || a == b;
    else
        return a == b;
}

template <class T, class Read>
bool CValidatedEdit::ValidateWith(bool showMessage, bool reportOutOfBounds, T& current,
                                  const T& noValue, Read read) {
    const bool emptyAllowed = text().isEmpty() && AllowsEmpty();
    Reading<T> reading{kValid, noValue};
    if (!emptyAllowed)
        reading = read();
    if (reading.state != kValid) {
        EnterInvalid(reading.state);
        current = noValue;
        if (showMessage && reading.state == kNotANumber)
            ShowNotANumberMessage();
        else if (showMessage && reportOutOfBounds)
            ShowOutOfBoundsMessage();
        return reading.state != kNotANumber;
    }
    EnterValid();
    if (!SameFieldValue(current, reading.value)) {
        current = std::move(reading.value);
        if (!emptyAllowed)
            NotifyValueChanged();
    }
    return true;
}

template <class T> bool CValidatedEdit::SaveWith(T& value, const T& current, const T& noValue) {
    switch (CheckForSave()) {
    case SaveCheck::Valid:
        value = current;
        return true;
    case SaveCheck::NoValue:
        value = noValue;
        return true;
    case SaveCheck::Failed:
        break;
    }
    return false;
}

template <class T> bool CValidatedEdit::ChangeBound(int& mode, T& bound, int newMode, T newValue) {
    if (newMode == mode && SameFieldValue(newValue, bound))
        return false;
    mode = newMode;
    bound = newValue;
    Validate(false);
    return true;
}
