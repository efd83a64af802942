// The one way the program shows a modal message to the user. The desktop
// program installs a sink that shows a message box; tests install a recording
// sink, so no modal box ever blocks a test; the command line prints to stderr.
#pragma once

#include "platform/Notice.h"

#include <string>
#include <vector>

enum class MessageButtons { Ok, OkCancel, YesNo };
enum class MessageAnswer { Ok, Cancel, Yes, No };

class IMessageSink {
public:
    virtual ~IMessageSink() = default;
    // Shows `text` with `caption`; returns the button the user chose.
    virtual MessageAnswer Show(const std::string& text, const std::string& caption,
                               MessageIcon icon, MessageButtons buttons) = 0;
};

// Shows a message through the installed sink (stderr when none is installed).
MessageAnswer ShowMessage(const std::string& text, const std::string& caption,
                          MessageIcon icon = MessageIcon::Exclamation,
                          MessageButtons buttons = MessageButtons::Ok);

// Shows `notice` (its text, caption and icon) through the installed sink.
MessageAnswer ShowNotice(const Notice& notice, MessageButtons buttons = MessageButtons::Ok);

// Shows each of `notices` in order, with an OK button.
void ShowNotices(const std::vector<Notice>& notices);

// Asks `question` with Yes and No buttons; true when the answer is Yes.
bool AskYesNo(const Notice& question);

// Installs `sink` (not owned; null restores the stderr sink); returns the previous one.
IMessageSink* SetMessageSink(IMessageSink* sink);

// Installs `sink` for the calling thread only (not owned; null: the thread
// uses the process-wide sink again); returns the thread's previous one. Lets
// workers that analyse files in parallel keep each file's messages apart.
IMessageSink* SetThreadMessageSink(IMessageSink* sink);
