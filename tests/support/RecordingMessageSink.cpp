#include "tests/support/RecordingMessageSink.h"

RecordingMessageSink::RecordingMessageSink() : m_previous(SetMessageSink(this)) {}

RecordingMessageSink::~RecordingMessageSink() {
    SetMessageSink(m_previous);
}

MessageAnswer RecordingMessageSink::Show(const std::string& text, const std::string& caption,
                                         MessageIcon icon, MessageButtons buttons) {
    messages.push_back({text, caption, icon, buttons});
    return buttons == MessageButtons::YesNo ? yesNoAnswer : answer;
}
