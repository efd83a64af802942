#include "controls/qt/ValidatedEdit.h"

#include "controls/ControlNotifications.h"
#include "controls/FieldMessages.h"
#include "platform/Messages.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QStringList>
#include <QValidator>

namespace {

QPointer<CValidatedEdit> g_pendingComplaint;
QStringList g_focusExemptions;

const QEvent::Type kComplaintEvent = QEvent::Type(QEvent::registerEventType());

// Lets QLineEdit itself reject a keystroke, paste or drop that would bring in
// a character the field does not allow: the edit keeps its old text,
// selection and modified flag, and the rejected step leaves the undo history.
class AllowedCharacterValidator : public QValidator {
public:
    explicit AllowedCharacterValidator(CValidatedEdit* edit) : QValidator(edit), m_edit(edit) {}
    State validate(QString& input, int&) const override {
        if (!m_edit->IsChecking() || m_edit->HasOnlyAllowedCharacters(input))
            return Acceptable;
        return Invalid;
    }

private:
    CValidatedEdit* m_edit;
};

// Turns checking off for its lifetime (around messages and program changes).
class CheckingOff {
public:
    explicit CheckingOff(CValidatedEdit* edit) : m_edit(edit), m_was(edit->IsChecking()) {
        edit->SetChecking(false);
    }
    ~CheckingOff() {
        if (m_edit)
            m_edit->SetChecking(m_was);
    }
    CheckingOff(const CheckingOff&) = delete;
    CheckingOff& operator=(const CheckingOff&) = delete;

private:
    QPointer<CValidatedEdit> m_edit;
    bool m_was;
};

} // namespace

CValidatedEdit::CValidatedEdit(const QString& allowedCharacters, QWidget* parent)
    : CColouredEdit(parent), m_allowedCharacters(allowedCharacters) {
    m_characterCheck = new AllowedCharacterValidator(this);
    setValidator(m_characterCheck);
    connect(this, &QLineEdit::textChanged, this, &CValidatedEdit::OnTextChanged);
}

CValidatedEdit::~CValidatedEdit() = default;

bool CValidatedEdit::HasOnlyAllowedCharacters(const QString& text) const {
    for (const QChar c : text) {
        if (!m_allowedCharacters.contains(c))
            return false;
    }
    return true;
}

bool CValidatedEdit::SetCheckedText(const QString& text) {
    if (m_checking && !HasOnlyAllowedCharacters(text))
        return false;
    setText(text);
    return true;
}

void CValidatedEdit::AddFocusExemption(const QString& objectName) {
    if (!g_focusExemptions.contains(objectName))
        g_focusExemptions.append(objectName);
}

void CValidatedEdit::ClearFocusExemptions() {
    g_focusExemptions.clear();
}

CValidatedEdit* CValidatedEdit::PendingComplaint() {
    return g_pendingComplaint.data();
}

void CValidatedEdit::OnTextChanged(const QString& text) {
    if (m_restoring)
        return;
    if (m_checking && !HasOnlyAllowedCharacters(text)) {
        // Only a program's setText gets here; typing is stopped by the validator.
        m_restoring = true;
        setText(m_lastAcceptedText);
        m_restoring = false;
        return;
    }
    m_lastAcceptedText = text;
    if (m_checking)
        Validate(false);
}

void CValidatedEdit::EnterValid() {
    // An allowed empty text is a valid "no value" too: it must neither look
    // invalid nor be reported when the dialog's data are taken.
    m_state = kValid;
    SetValidLook(true);
    SetNormalFont(true);
}

void CValidatedEdit::EnterInvalid(int state) {
    m_state = state;
    if (m_feedbackMode & kColourFeedback)
        SetValidLook(false);
    if (m_feedbackMode & kFontFeedback)
        SetNormalFont(false);
}

void CValidatedEdit::NotifyValueChanged() {
    emit notification(this, kNotifyValueChanged);
    emit valueChanged();
}

void CValidatedEdit::ShowNotANumberMessage() {
    setFocus(Qt::OtherFocusReason);
    CheckingOff off(this);
    ShowMessage(NotANumberMessage(NameText()), kInvalidEntryCaption, MessageIcon::None,
                MessageButtons::Ok);
}

void CValidatedEdit::ShowOutOfBoundsMessage() {
    CheckingOff off(this);
    ShowMessage(OutOfBoundsText(), OutOfBoundsCaption(NameText()), MessageIcon::None,
                MessageButtons::Ok);
}

CValidatedEdit::SaveCheck CValidatedEdit::CheckForSave() {
    Validate(false);
    if (m_state == kValid)
        return SaveCheck::Valid;
    if (!isEnabled())
        return SaveCheck::NoValue;
    if (m_state == kOutOfBounds)
        ShowOutOfBoundsMessage();
    else
        ShowNotANumberMessage();
    // The dialog stays on this field, its text selected for retyping.
    setFocus(Qt::OtherFocusReason);
    selectAll();
    return SaveCheck::Failed;
}

void CValidatedEdit::ReplaceText(const QString& text) {
    if (this->text() == text)
        return;
    CheckingOff off(this);
    setText(text);
}

bool CValidatedEdit::event(QEvent* event) {
    if (event->type() == kComplaintEvent) {
        ComplainAboutLeaving();
        return true;
    }
    if (event->type() == QEvent::KeyPress && m_checking) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool tab = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
        if (tab && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) &&
            !Validate(true)) {
            key->accept();
            return true; // swallowed: the focus stays here
        }
    }
    return CColouredEdit::event(event);
}

void CValidatedEdit::focusInEvent(QFocusEvent* event) {
    if (g_pendingComplaint == this)
        g_pendingComplaint = nullptr;
    CColouredEdit::focusInEvent(event);
}

void CValidatedEdit::focusOutEvent(QFocusEvent* event) {
    CColouredEdit::focusOutEvent(event);
    if (!m_checking || g_pendingComplaint)
        return;
    // The field's own context menu and switching to another window are not
    // leaving the field.
    if (event->reason() == Qt::PopupFocusReason || event->reason() == Qt::ActiveWindowFocusReason)
        return;
    QWidget* next = QApplication::focusWidget();
    if (!next || next == this || g_focusExemptions.contains(next->objectName()))
        return;
    if (Validate(false))
        return;
    g_pendingComplaint = this;
    QCoreApplication::postEvent(this, new QEvent(kComplaintEvent));
}

void CValidatedEdit::ComplainAboutLeaving() {
    // A field the user can no longer reach is not worth a message.
    if (!isVisible() || !isEnabled()) {
        if (g_pendingComplaint == this)
            g_pendingComplaint = nullptr;
        return;
    }
    setFocus(Qt::OtherFocusReason);
    if (g_pendingComplaint == this)
        g_pendingComplaint = nullptr;
    CheckingOff off(this);
    ShowMessage(NotANumberMessage(NameText()), kInvalidEntryCaption, MessageIcon::None,
                MessageButtons::Ok);
}
