#include "tests/support/RecordingMessageSink.h"

RecordingMessageSink::RecordingMessageSink() : previous_(SetMessageSink(this)) {}

RecordingMessageSink::~RecordingMessageSink() {
    SetMessageSink(previous_);
}

MessageAnswer RecordingMessageSink::Show(const std::string& text, const std::string& caption,
                                         MessageIcon icon, MessageButtons buttons) {
    messages.push_back({text, caption, icon, buttons});
    return buttons == MessageButtons::YesNo ? yesNoAnswer : answer;
}
