// The up-down control beside an integer field: its arrows step the field's
// value by one within a 32-bit range (the field sets the range from its bounds).
#pragma once

#include <QPointer>
#include <QWidget>

#include <cstdint>

class CIntegerEdit;
class QToolButton;

class CSpinButton : public QWidget {
    Q_OBJECT
public:
    explicit CSpinButton(QWidget* parent = nullptr);

    // The range the value is kept in; the upper end may lie below the lower one.
    void SetRange32(std::int32_t lower, std::int32_t upper);
    std::int32_t RangeLower() const { return m_lower; }
    std::int32_t RangeUpper() const { return m_upper; }

    // The field the arrows step (CIntegerEdit::SetBuddySpin sets it).
    void SetBuddy(CIntegerEdit* buddy);
    CIntegerEdit* Buddy() const { return m_buddy.data(); }

    // Steps the buddy's value by `delta` (+1 up, -1 down), starting from the
    // number in the field or, when it holds none, from the last position,
    // and keeps the result in the range.
    void Step(int delta);
    std::int32_t Position() const { return m_position; }

    QSize sizeHint() const override;

signals:
    // After a step: the new position.
    void stepped(int position);

private:
    QToolButton* m_up;
    QToolButton* m_down;
    QPointer<CIntegerEdit> m_buddy;
    std::int32_t m_lower = 0;
    std::int32_t m_upper = 100;
    std::int32_t m_position = 0;
};
