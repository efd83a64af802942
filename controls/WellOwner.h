// What the popup colour well calls on the button whose popup is open.
#pragma once

#include "platform/ColourRef.h"

class ITLWellOwner {
public:
    virtual ~ITLWellOwner() = default;
    // A standard or custom colour was chosen.
    virtual void OnWellColourChosen(ColourRef colour) = 0;
    // The button must be drawn again.
    virtual void RedrawOwner() = 0;
    // "More Colours..." was chosen.
    virtual void OnWellMoreColours() = 0;
    // "None" was chosen.
    virtual void OnWellNoneChosen() = 0;
    // "Automatic" was chosen.
    virtual void OnWellAutomaticChosen() = 0;
    // The well closed without a choice.
    virtual void OnWellClosed() = 0;
};
