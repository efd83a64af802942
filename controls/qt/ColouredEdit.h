// A line edit with a valid and an invalid look: while the look is invalid the
// text is drawn in the invalid-text colour (red) on the background colour
// (white); the font can be switched between the normal and a bold one.
#pragma once

#include "platform/ColourRef.h"

#include <QFont>
#include <QLineEdit>

class CColouredEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit CColouredEdit(QWidget* parent = nullptr);

    // Valid look (true) or invalid look (false); a change repaints at once.
    void SetValidLook(bool valid);
    bool IsValidLook() const { return m_validLook; }

    // Normal font (true) or the bold font (false).
    void SetNormalFont(bool normal);
    bool IsNormalFont() const { return m_normalFont; }

    // Colours of the invalid look, 0x00BBGGRR.
    void SetInvalidTextColour(ColourRef colour);
    void SetBackgroundColour(ColourRef colour);
    ColourRef InvalidTextColour() const { return m_invalidTextColour; }
    ColourRef BackgroundColour() const { return m_backgroundColour; }

private:
    void ApplyLook();
    void MakeFonts();

    ColourRef m_invalidTextColour = MakeColourRef(255, 0, 0);
    ColourRef m_backgroundColour = MakeColourRef(255, 255, 255);
    bool m_validLook = true;
    bool m_normalFont = true;
    bool m_fontsMade = false;
    QFont m_boldFont;
    QFont m_plainFont;
};
