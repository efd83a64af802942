#include "controls/qt/ColouredEdit.h"

#include "controls/qt/QtColour.h"

#include <QPalette>

#include <algorithm>

CColouredEdit::CColouredEdit(QWidget* parent) : QLineEdit(parent) {}

void CColouredEdit::SetValidLook(bool valid) {
    if (valid == m_validLook)
        return;
    m_validLook = valid;
    ApplyLook();
    repaint();
}

void CColouredEdit::SetNormalFont(bool normal) {
    MakeFonts();
    if (normal == m_normalFont)
        return;
    m_normalFont = normal;
    setFont(normal ? m_plainFont : m_boldFont);
}

void CColouredEdit::SetInvalidTextColour(ColourRef colour) {
    m_invalidTextColour = colour;
    ApplyLook();
}

void CColouredEdit::SetBackgroundColour(ColourRef colour) {
    m_backgroundColour = colour;
    ApplyLook();
}

void CColouredEdit::ApplyLook() {
    if (m_validLook) {
        // Back to whatever the parent and the style give.
        setPalette(QPalette());
        return;
    }
    QPalette invalid = palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        invalid.setColor(group, QPalette::Text, ToQColor(m_invalidTextColour));
        invalid.setColor(group, QPalette::Base, ToQColor(m_backgroundColour));
    }
    setPalette(invalid);
}

void CColouredEdit::MakeFonts() {
    if (m_fontsMade)
        return;
    m_fontsMade = true;
    m_plainFont = font();
    m_boldFont = m_plainFont;
    const int weight = m_plainFont.weight();
    m_boldFont.setWeight(weight > QFont::Normal
                             ? QFont::Weight(std::min(weight + 100, int(QFont::Black)))
                             : QFont::Bold);
}
