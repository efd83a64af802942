// Notification codes the program's own controls send to their parent, with
// the control itself, through their `notification(QWidget*, int)` signal.
#pragma once

// An entry field's value changed; a colour button's popup is about to open.
constexpr int kNotifyValueChanged = 0x8001;
constexpr int kNotifyDropDownOpening = 0x8001;
// A colour button's colour changed.
constexpr int kNotifyColourChanged = 1;
// A colour button's popup closed without a choice.
constexpr int kNotifyDropDownClosed = 6;
