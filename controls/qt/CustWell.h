// The popup colour well of a colour button: lays out, draws and tracks the
// items of a colour set (top items, 40 standard cells, custom cells, bottom
// items). The mouse and the arrow keys highlight, a release over an item or
// Space/Enter chooses, Escape or a click outside closes without a choice.
#pragma once

#include "controls/ColourSet.h"

#include <QFont>
#include <QWidget>

#include <memory>
#include <vector>

class ITLWellOwner;

class TLCustWell : public QWidget {
    Q_OBJECT
public:
    // `parent` is the button that opens the well (the well is a popup window).
    explicit TLCustWell(QWidget* parent);

    // Shows the well just below `anchor` (screen coordinates; above it when
    // there is no room below), with `highlight` highlighted. `dialogFont`
    // gives the dialog units that the cell size is measured in.
    void Open(std::shared_ptr<TLColourSet> set, ITLWellOwner* owner, const QRect& anchor,
              int highlight, const QFont& dialogFont);

    // Forgets the owner: nothing is called back any more.
    void DetachOwner() { m_owner = nullptr; }
    // Closes the well without a choice (as Escape does).
    void CloseWithoutChoice();
    // Chooses `item`, as a release of the mouse over it does.
    void Choose(int item);

    int Highlight() const { return m_highlight; }
    void SetHighlight(int item);
    // The item at `pos` (client coordinates), -1 for none.
    int ItemAt(const QPoint& pos) const;
    QRect ItemRect(int item) const;
    // One cell in pixels: 18 x 18 dialog units of the dialog font.
    QSize CellSize() const { return m_cell; }
    const TLColourSet* Set() const { return m_set.get(); }
    // Lays the items out again (after the set's custom colours changed).
    void Relayout();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // The cell and text-row sizes from the fonts.
    void MeasureCells();
    // The width a text item (automatic, none, more colours...) needs.
    int WidestTextItem() const;
    // Rectangles for `count` items from `item` on (advanced past them): grid
    // cells from (left, top), or full-width text rows from y (advanced).
    void PlaceCells(int& item, int count, int left, int top, int columns);
    void PlaceTextRows(int& item, int count, int width, int& y);
    void DrawItem(QPainter& painter, int item);

    std::shared_ptr<TLColourSet> m_set;
    ITLWellOwner* m_owner = nullptr;
    QFont m_dialogFont;
    QSize m_cell{18, 18};
    int m_textRowHeight = 20;
    std::vector<QRect> m_itemRects;
    std::vector<int> m_separators; // y of each separator line
    int m_highlight = -1;
    int m_pressed = -1;
    bool m_choiceMade = false;
    bool m_wasActive = false;
};
