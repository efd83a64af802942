// What the program has to tell the user, as a value. The plain C++ cores return
// notices and never show them; the window shows them through the message
// interface (platform/Messages.h), the command line prints them.
#pragma once

#include <string>

enum class MessageIcon { None, Information, Exclamation, Stop, Question };

struct Notice {
    std::string text;
    std::string caption;
    MessageIcon icon = MessageIcon::Exclamation;
};
