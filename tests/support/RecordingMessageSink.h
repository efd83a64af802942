// The tests' message sink: no modal box ever blocks a test.
#pragma once

#include "platform/Messages.h"

#include <string>
#include <vector>

// Keeps every message shown while it is installed and answers with `answer`.
// Installs itself on construction and restores the previous sink on destruction.
class RecordingMessageSink : public IMessageSink {
public:
    struct Message {
        std::string text;
        std::string caption;
        MessageIcon icon;
        MessageButtons buttons;
    };

    RecordingMessageSink();
    ~RecordingMessageSink() override;
    RecordingMessageSink(const RecordingMessageSink&) = delete;
    RecordingMessageSink& operator=(const RecordingMessageSink&) = delete;

    MessageAnswer Show(const std::string& text, const std::string& caption, MessageIcon icon,
                       MessageButtons buttons) override;

    std::vector<Message> messages;
    MessageAnswer answer = MessageAnswer::Ok; // for Ok/OkCancel boxes
    MessageAnswer yesNoAnswer = MessageAnswer::Yes;

private:
    IMessageSink* m_previous;
};
