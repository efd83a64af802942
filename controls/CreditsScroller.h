// The timing of the credits window: which line scrolls in, and when. Every
// line ends in a formatting code that is not drawn; the line's style gives
// its height in pixels, which is also the number of one-pixel scroll steps
// before the next line starts. Plain C++; controls/qt/CreditsDlg.h draws it.
#pragma once

#include "platform/ColourRef.h"

#include <string>
#include <vector>

enum class CreditsLineKind { Title, Heading, Name, Bitmap, Normal };

// How a line is drawn; `family` is the face asked for ("Arial", "Times New Roman").
struct CreditsLineStyle {
    CreditsLineKind kind;
    const char* family;
    int height; // pixels
    int weight; // 400 normal, 700 bold
    bool italic;
    ColourRef colour;
};

// The height of a line without text (and the height before the first line).
constexpr int kCreditsNormalHeight = 25;

// Style of `line` by its last character: '\n' title, '\t' heading, '\r' name,
// '\b' bitmap, anything else normal text. A line without text is normal.
CreditsLineStyle CreditsStyleOf(const std::string& line);

// The line without its formatting code (for a bitmap line: the resource name).
std::string CreditsTextOf(const std::string& line);

class CreditsScroller {
public:
    void AddLine(const std::string& line) { m_lines.push_back(line); }
    // Appends `line` `count` times (callers pass the empty text for spacing).
    void AddBlankLines(int count, const std::string& line);

    // One timer tick. Unless a bitmap line is in progress, the next line is
    // taken when the step counter reaches a multiple of the current height
    // (after the last line the first follows again); then the contents move
    // up one pixel. Returns true when a new line was taken (the area must be cleared).
    bool Tick();

    // A bitmap line of `height` pixels has started; lines stop advancing until it has passed.
    void BeginBitmap(int height);
    // The bitmap has scrolled through: the line is cleared, normal height again.
    void EndBitmap();

    const std::vector<std::string>& Lines() const { return m_lines; }
    const std::string& CurrentLine() const { return m_currentLine; }
    const CreditsLineStyle& CurrentStyle() const { return m_style; }
    int CurrentLineIndex() const { return m_currentIndex; }
    int LineHeight() const { return m_lineHeight; }
    int ScrollPosition() const { return m_scrollPosition; }
    int StepCounter() const { return m_step; }
    bool BitmapInProgress() const { return m_bitmapInProgress; }

private:
    std::vector<std::string> m_lines;
    std::size_t m_nextIndex = 0;
    int m_currentIndex = -1;
    int m_step = 1;
    std::string m_currentLine;
    CreditsLineStyle m_style = CreditsStyleOf({});
    int m_lineHeight = kCreditsNormalHeight;
    int m_scrollPosition = 0;
    bool m_bitmapInProgress = false;
};

// The program's own credits: title, what it does, and the projects it is built on.
std::vector<std::string> TessaranCreditLines();
