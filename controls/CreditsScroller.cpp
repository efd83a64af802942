#include "controls/CreditsScroller.h"

CreditsLineStyle CreditsStyleOf(const std::string& line) {
    const CreditsLineStyle normal{
        CreditsLineKind::Normal,     "Arial", kCreditsNormalHeight, 400, false,
        MakeColourRef(255, 255, 255)};
    if (line.size() < 2)
        return normal;
    switch (line.back()) {
    case '\n':
        return {CreditsLineKind::Title, "Arial", 35, 700, true, MakeColourRef(255, 0, 0)};
    case '\t':
        return {CreditsLineKind::Heading,  "Times New Roman", 28, 700, false,
                MakeColourRef(0, 255, 255)};
    case '\r':
        return {CreditsLineKind::Name, "Arial", 31, 700, false, MakeColourRef(255, 255, 0)};
    case '\b':
        return {CreditsLineKind::Bitmap, "", kCreditsNormalHeight, 400, false, 0};
    default:
        return normal;
    }
}

std::string CreditsTextOf(const std::string& line) {
    return line.empty() ? line : line.substr(0, line.size() - 1);
}

void CreditsScroller::AddBlankLines(int count, const std::string& line) {
    for (int i = 0; i < count; ++i)
        m_lines.push_back(line);
}

bool CreditsScroller::Tick() {
    bool newLine = false;
    if (!m_bitmapInProgress && !m_lines.empty()) {
        if (m_step % m_lineHeight == 0) {
            if (m_nextIndex >= m_lines.size())
                m_nextIndex = 0;
            m_currentIndex = int(m_nextIndex);
            m_currentLine = m_lines[m_nextIndex++];
            m_style = CreditsStyleOf(m_currentLine);
            m_lineHeight = m_style.height;
            m_step = 1;
            m_scrollPosition = 0;
            newLine = true;
        } else {
            ++m_step;
        }
    }
    ++m_scrollPosition;
    return newLine;
}

void CreditsScroller::BeginBitmap(int height) {
    m_bitmapInProgress = true;
    m_lineHeight = height > 0 ? height : kCreditsNormalHeight;
}

void CreditsScroller::EndBitmap() {
    m_bitmapInProgress = false;
    m_currentLine.clear();
    m_style = CreditsStyleOf(m_currentLine);
    m_lineHeight = kCreditsNormalHeight;
}

std::vector<std::string> TessaranCreditLines() {
    return {
        "Tessaran\n",
        "",
        "tessaran-logo\b",
        "",
        "Analysis of whole-cell patch-clamp\f",
        "recordings of chloride currents\f",
        "",
        "",
        "Slope conductance, current-voltage\f",
        "relations, cell capacitance and\f",
        "current time courses from\f",
        "Axon Binary Files\f",
        "",
        "",
        "Built on open-source software\t",
        "",
        "Qt\r",
        "The Qt Company and the Qt Project\f",
        "",
        "libxlsxwriter\r",
        "John McNamara and contributors\f",
        "",
        "zlib\r",
        "Jean-loup Gailly and Mark Adler\f",
        "",
        "GoogleTest\r",
        "Google Benchmark\r",
        "Google and contributors\f",
        "",
        "Liberation fonts\r",
        "Red Hat and contributors\f",
        "",
        "Debian\r",
        "The Debian Project\f",
        "",
        "",
        "Thank you!\t",
        "",
        "",
        "",
        "",
    };
}
