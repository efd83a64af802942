// The desktop program's message boxes: an IMessageSink that shows a modal
// QMessageBox with the caption, icon and buttons asked for and returns the
// user's answer. Install it with SetMessageSink once the QApplication exists.
#pragma once

#include "platform/Messages.h"

class QWidget;

class QtMessageSink : public IMessageSink {
public:
    // Boxes are owned by the application's active window, if any.
    QtMessageSink() = default;

    // Shows the box and waits for the answer. Line breaks written as "\r\n"
    // are shown as ordinary line breaks. Closing the box with Escape or the
    // window's close button answers Cancel (No for a Yes/No box; Ok when OK
    // is the only button).
    MessageAnswer Show(const std::string& text, const std::string& caption, MessageIcon icon,
                       MessageButtons buttons) override;
};
