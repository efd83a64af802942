#include "controls/qt/Caption.h"

#include <QLabel>

QLabel* MakeCaption(const QString& text, const char* name, QWidget* parent, QWidget* buddy) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    if (buddy)
        label->setBuddy(buddy);
    return label;
}
