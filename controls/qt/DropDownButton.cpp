#include "controls/qt/DropDownButton.h"

#include <QKeyEvent>

TLDropDownButton::TLDropDownButton(QWidget* parent) : QPushButton(parent) {
    setAutoDefault(false);
    connect(this, &QPushButton::clicked, this, [this] { DropDown(); });
}

void TLDropDownButton::keyPressEvent(QKeyEvent* event) {
    if (!m_dropDownOpen && (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) &&
        !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        event->accept();
        DropDown();
        return;
    }
    QPushButton::keyPressEvent(event);
}
