#include "platform/Messages.h"

#include <cstdio>

namespace {

class StderrMessageSink : public IMessageSink {
public:
    MessageAnswer Show(const std::string& text, const std::string& caption, MessageIcon,
                       MessageButtons buttons) override {
        std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
        // Nobody can answer: take the choice that neither destroys nor overwrites.
        return buttons == MessageButtons::YesNo
                   ? MessageAnswer::No
                   : (buttons == MessageButtons::OkCancel ? MessageAnswer::Cancel
                                                          : MessageAnswer::Ok);
    }
};

StderrMessageSink g_stderrSink;
IMessageSink* g_sink = &g_stderrSink;
thread_local IMessageSink* g_threadSink = nullptr;

} // namespace

MessageAnswer ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon,
                          MessageButtons buttons) {
    IMessageSink* sink = g_threadSink ? g_threadSink : g_sink;
    return sink->Show(text, caption, icon, buttons);
}

IMessageSink* SetThreadMessageSink(IMessageSink* sink) {
    IMessageSink* previous = g_threadSink;
    g_threadSink = sink;
    return previous;
}

MessageAnswer ShowNotice(const Notice& notice, MessageButtons buttons) {
    return ShowMessage(notice.text, notice.caption, notice.icon, buttons);
}

void ShowNotices(const std::vector<Notice>& notices) {
    for (const Notice& notice : notices)
        ShowNotice(notice);
}

bool AskYesNo(const Notice& question) {
    return ShowNotice(question, MessageButtons::YesNo) == MessageAnswer::Yes;
}

IMessageSink* SetMessageSink(IMessageSink* sink) {
    IMessageSink* previous = g_sink;
    g_sink = sink ? sink : &g_stderrSink;
    return previous;
}
