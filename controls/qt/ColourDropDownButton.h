// A button that shows a colour and, when clicked, opens a well of colours
// below itself: "None", "Automatic", 40 named colours, custom colours and
// "More Colours..." (the platform colour dialog). Colours are 0x00BBGGRR.
// Notifications (signal `notification`): kNotifyDropDownOpening (0x8001)
// before the well opens, kNotifyColourChanged (1) when the colour changed,
// kNotifyDropDownClosed (6) when the well closed without a choice.
#pragma once

#include "controls/ColourSet.h"
#include "controls/WellOwner.h"
#include "controls/qt/DropDownButton.h"

#include <functional>
#include <memory>
#include <optional>

class TLCustWell;

class TLColourDropDownButton : public TLDropDownButton, private ITLWellOwner {
    Q_OBJECT
public:
    explicit TLColourDropDownButton(QWidget* parent = nullptr);
    ~TLColourDropDownButton() override;

    // Stores `colour` and redraws; when it differs from the previous colour
    // the parent is told (code 1, and `colourChanged`).
    void SetColour(ColourRef colour);
    ColourRef Colour() const { return m_colour; }

    // Uses `other`'s colour set from now on, so custom colours picked in one
    // button are offered in both.
    void ShareColourSet(const TLColourDropDownButton& other);
    const std::shared_ptr<TLColourSet>& ColourSet() const { return m_set; }

    // Data exchange. Loading sets the colour and selects it in the set (a
    // colour that is not a standard one becomes a custom colour); saving
    // gives the current colour.
    void LoadColour(ColourRef colour);
    void Exchange(bool saving, ColourRef& colour);
    // The item the well highlights when it next opens (-1: none).
    int SelectedItem() const { return m_selectedItem; }

    // Opens the well under the button.
    void DropDown() override;
    TLCustWell* Well() const { return m_well; }

    // The platform colour dialog: gets the initial colour and the parent,
    // returns the chosen colour or nothing when cancelled. Process-wide, so
    // tests can answer without a modal dialog; an empty function restores
    // QColorDialog. Returns the previous function.
    using ColourDialogFunction =
        std::function<std::optional<ColourRef>(ColourRef initial, QWidget* parent)>;
    static ColourDialogFunction SetColourDialogFunction(ColourDialogFunction function);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void colourChanged(quint32 colour);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void OnWellColourChosen(ColourRef colour) override;
    void RedrawOwner() override;
    void OnWellMoreColours() override;
    void OnWellNoneChosen() override;
    void OnWellAutomaticChosen() override;
    void OnWellClosed() override;
    void EndDropDown();
    bool PopupOpenForSet() const;

    TLCustWell* m_well;
    std::shared_ptr<TLColourSet> m_set;
    ColourRef m_colour = kColourAutomatic;
    int m_selectedItem = -1;
};
