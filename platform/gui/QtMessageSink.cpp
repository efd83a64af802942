#include "platform/gui/QtMessageSink.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include <cstddef>
#include <utility>

namespace {

// The value paired with `key` in `table`, else `other`.
template <class Key, class Value, size_t N>
Value Lookup(const std::pair<Key, Value> (&table)[N], Key key, Value other) {
    for (const auto& [from, to] : table) {
        if (from == key)
            return to;
    }
    return other;
}

QMessageBox::Icon ToQtIcon(MessageIcon icon) {
    static const std::pair<MessageIcon, QMessageBox::Icon> icons[] = {
        {MessageIcon::Information, QMessageBox::Information},
        {MessageIcon::Exclamation, QMessageBox::Warning},
        {MessageIcon::Stop, QMessageBox::Critical},
        {MessageIcon::Question, QMessageBox::Question}};
    return Lookup(icons, icon, QMessageBox::NoIcon);
}

// The buttons of each choice, the one Enter presses and the one Escape presses.
struct ButtonSet {
    MessageButtons buttons;
    QMessageBox::StandardButtons shown;
    QMessageBox::StandardButton byDefault;
    QMessageBox::StandardButton onEscape;
};

const ButtonSet& ButtonSetOf(MessageButtons buttons) {
    static const ButtonSet sets[] = {
        {MessageButtons::Ok, QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Ok},
        {MessageButtons::OkCancel, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok,
         QMessageBox::Cancel},
        {MessageButtons::YesNo, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes,
         QMessageBox::No},
    };
    for (const ButtonSet& set : sets) {
        if (set.buttons == buttons)
            return set;
    }
    return sets[0];
}

// The answer when no button was clicked (the box was closed otherwise).
MessageAnswer ClosedAnswer(MessageButtons buttons) {
    return buttons == MessageButtons::Ok      ? MessageAnswer::Ok
           : buttons == MessageButtons::YesNo ? MessageAnswer::No
                                              : MessageAnswer::Cancel;
}

} // namespace

MessageAnswer QtMessageSink::Show(const std::string& text, const std::string& caption,
                                  MessageIcon icon, MessageButtons buttons) {
    QString shownText = QString::fromStdString(text);
    shownText.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shownText.replace(QLatin1Char('\r'), QLatin1Char('\n'));

    QMessageBox box(ToQtIcon(icon), QString::fromStdString(caption), shownText,
                    QMessageBox::NoButton, QApplication::activeWindow());
    box.setObjectName(QStringLiteral("messageBox"));
    box.setTextFormat(Qt::PlainText);
    const ButtonSet& set = ButtonSetOf(buttons);
    box.setStandardButtons(set.shown);
    box.setDefaultButton(set.byDefault);
    box.setEscapeButton(set.onEscape);
    box.exec();
    static const std::pair<QMessageBox::StandardButton, MessageAnswer> answers[] = {
        {QMessageBox::Ok, MessageAnswer::Ok},
        {QMessageBox::Yes, MessageAnswer::Yes},
        {QMessageBox::No, MessageAnswer::No},
        {QMessageBox::Cancel, MessageAnswer::Cancel}};
    const QMessageBox::StandardButton clicked = box.standardButton(box.clickedButton());
    return Lookup(answers, clicked, ClosedAnswer(buttons));
}
