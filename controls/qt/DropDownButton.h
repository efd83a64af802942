// A push button that opens something below itself when activated (a click, or
// the Up or Down key while nothing is open).
#pragma once

#include <QPushButton>

class TLDropDownButton : public QPushButton {
    Q_OBJECT
public:
    explicit TLDropDownButton(QWidget* parent = nullptr);

    // Opens the drop-down part; called when the button is activated.
    virtual void DropDown() {}
    bool IsDropDownOpen() const { return m_dropDownOpen; }

signals:
    // Notifications to the parent: the control and a code from ControlNotifications.h.
    void notification(QWidget* control, int code);

protected:
    void SetDropDownOpen(bool open) { m_dropDownOpen = open; }
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool m_dropDownOpen = false;
};
