// The credits window: a modal dialog in which lines scroll upwards like film
// credits, one pixel every 16 ms. The last character of each line styles it:
// '\n' title, '\t' heading, '\r' name, '\b' bitmap (the rest of the line names
// a bitmap resource, ":/credits/<name>"), anything else normal text.
#pragma once

#include "controls/CreditsScroller.h"

#include <QBasicTimer>
#include <QDialog>
#include <QFont>
#include <QImage>

class QPushButton;

class CCreditsDlg : public QDialog {
    Q_OBJECT
public:
    // Size of the scrolling area in pixels.
    static constexpr int kAreaWidth = 515;
    static constexpr int kAreaHeight = 300;
    static constexpr int kTickMilliseconds = 16;

    explicit CCreditsDlg(QWidget* parent = nullptr);
    ~CCreditsDlg() override;

    // Appends a line (with its formatting code at the end).
    void AddLine(const QString& line);
    // Appends `line` `count` times; pass the empty text for spacing.
    void AddBlankLines(int count, const QString& line = QString());
    // Appends the program's own credits (TessaranCreditLines).
    void AddTessaranCredits();

    // One step of the scrolling, as the timer does it every 16 ms.
    void Tick();
    // Whether the timer runs (it starts when the dialog is shown).
    bool IsScrolling() const { return m_timer.isActive(); }
    const CreditsScroller& Scroller() const { return m_scroller; }
    // The scrolling area's picture as it is shown.
    const QImage& Surface() const { return m_surface; }
    // The background colour of the area.
    static QColor BackgroundColour();

    // The font a line style is drawn with: its face (or the metric-compatible
    // Liberation face), weight and italic, sized so its height is the style's.
    static QFont FontFor(const CreditsLineStyle& style);

protected:
    void showEvent(QShowEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void done(int result) override;

private:
    void StartBitmapLine();
    void DrawCurrentLine();
    void StopScrolling();

    CreditsScroller m_scroller;
    QBasicTimer m_timer;
    QImage m_surface;
    QFont m_lineFont;
    QImage m_bitmap;
    int m_bitmapLeft = 0;
    bool m_stopped = false;
    QWidget* m_area;
    QPushButton* m_ok;
};
