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

    // The outcomes of a validation, each with its look and state.
    void EnterEmpty();
    void EnterNotANumber(bool showMessage);
    void EnterOutOfBounds();
    void EnterValid();
    void NotifyValueChanged();

    // The out-of-bounds text and caption of this kind of field.
    virtual std::string OutOfBoundsText() const = 0;
    void ShowOutOfBoundsMessage();

    // Saving direction of the data exchange: kValid means take GetValue,
    // kNoValue means the field is disabled and yields no value, kFailed that
    // the user has been told and the focus sits on the field.
    enum class SaveCheck { kValid, kNoValue, kFailed };
    SaveCheck CheckForSave();

    // Replaces the text with checking off, only when it differs.
    void ReplaceText(const QString& text);

    bool event(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

    int m_lowerMode = kBoundNone;
    int m_upperMode = kBoundNone;

private:
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
