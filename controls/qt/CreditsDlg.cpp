#include "controls/qt/CreditsDlg.h"

#include "controls/qt/ProgramImages.h"
#include "controls/qt/QtColour.h"
#include "platform/Messages.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFontMetrics>
#include <QFrame>
#include <QPainter>
#include <QPushButton>
#include <QTimerEvent>
#include <QVBoxLayout>

#include <cstdio>
#include <cstring>

namespace {

// The area that shows the dialog's drawing surface; it takes no input.
class CreditsArea : public QFrame {
public:
    CreditsArea(const QImage* surface, QWidget* parent) : QFrame(parent), m_surface(surface) {
        setObjectName(QStringLiteral("creditsArea"));
        setFrameStyle(QFrame::Panel | QFrame::Sunken);
        setLineWidth(1);
        const int frame = frameWidth();
        setFixedSize(CCreditsDlg::kAreaWidth + 2 * frame, CCreditsDlg::kAreaHeight + 2 * frame);
        setEnabled(false);
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        QFrame::paintEvent(event);
        QPainter painter(this);
        painter.drawImage(contentsRect().topLeft(), *m_surface);
    }

private:
    const QImage* m_surface;
};

QString BitmapPathFor(const QString& name) {
    InitControlsResources();
    if (name.startsWith(QLatin1String(":/")))
        return QFile::exists(name) ? name : QString();
    for (const char* extension : {"", ".png", ".svg", ".bmp"}) {
        QString path = QStringLiteral(":/credits/") + name + QLatin1String(extension);
        if (QFile::exists(path))
            return path;
    }
    return {};
}

} // namespace

CCreditsDlg::CCreditsDlg(QWidget* parent) : QDialog(parent) {
    InitControlsResources();
    setObjectName(QStringLiteral("creditsDialog"));
    setWindowTitle(tr("Credits"));
    m_surface = QImage(kAreaWidth, kAreaHeight, QImage::Format_RGB32);
    m_surface.fill(BackgroundColour());

    m_area = new CreditsArea(&m_surface, this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    m_ok->setObjectName(QStringLiteral("okButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_area, 0, Qt::AlignHCenter);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

CCreditsDlg::~CCreditsDlg() {
    m_timer.stop();
}

QColor CCreditsDlg::BackgroundColour() {
    return QColor(0, 0, 0);
}

void CCreditsDlg::AddLine(const QString& line) {
    m_scroller.AddLine(line.toStdString());
}

void CCreditsDlg::AddBlankLines(int count, const QString& line) {
    m_scroller.AddBlankLines(count, line.toStdString());
}

void CCreditsDlg::AddTessaranCredits() {
    for (const std::string& line : TessaranCreditLines())
        m_scroller.AddLine(line);
}

QFont CCreditsDlg::FontFor(const CreditsLineStyle& style) {
    QFont font;
    const QString face = QString::fromLatin1(style.family);
    const QString liberation = face == QLatin1String("Times New Roman")
                                   ? QStringLiteral("Liberation Serif")
                                   : QStringLiteral("Liberation Sans");
    font.setFamilies({face, liberation});
    font.setWeight(QFont::Weight(style.weight));
    font.setItalic(style.italic);
    font.setStyleStrategy(QFont::PreferAntialias);
    // The height is the character cell (ascent plus descent), as the font is
    // asked for; the pixel size is the em height, which is smaller.
    int pixels = style.height;
    font.setPixelSize(pixels);
    while (pixels > 4 && QFontMetrics(font).height() > style.height)
        font.setPixelSize(--pixels);
    return font;
}

void CCreditsDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!m_timer.isActive() && !m_stopped)
        m_timer.start(kTickMilliseconds, this);
}

void CCreditsDlg::timerEvent(QTimerEvent* event) {
    if (event->timerId() == m_timer.timerId())
        Tick();
    else
        QDialog::timerEvent(event);
}

void CCreditsDlg::done(int result) {
    m_timer.stop();
    QDialog::done(result);
}

void CCreditsDlg::StopScrolling() {
    m_timer.stop();
    m_stopped = true;
}

void CCreditsDlg::Tick() {
    if (m_stopped)
        return;
    const bool newLine = m_scroller.Tick();

    // Everything moves up one pixel; the line comes into view at the bottom.
    const int lineBytes = int(m_surface.bytesPerLine());
    uchar* bits = m_surface.bits();
    std::memmove(bits, bits + lineBytes, std::size_t(lineBytes) * (kAreaHeight - 1));
    {
        QPainter painter(&m_surface);
        painter.fillRect(0, kAreaHeight - 1, kAreaWidth, 1, BackgroundColour());
    }
    if (newLine) {
        // Only the new line's own strip is cleared (below, as it comes into
        // view): the lines above it stay on screen.
        m_lineFont = FontFor(m_scroller.CurrentStyle());
        if (m_scroller.CurrentStyle().kind == CreditsLineKind::Bitmap)
            StartBitmapLine();
    }
    if (!m_stopped)
        DrawCurrentLine();
    m_area->update();
}

void CCreditsDlg::StartBitmapLine() {
    const QString name = QString::fromStdString(CreditsTextOf(m_scroller.CurrentLine()));
    const QString path = BitmapPathFor(name);
    m_bitmap = path.isEmpty() ? QImage() : QImage(path);
    if (m_bitmap.isNull()) {
        StopScrolling();
        char text[512];
        std::snprintf(text, sizeof text,
                      "Could not find bitmap resource \"%s\". Be sure to assign the bitmap a "
                      "QUOTED resource name",
                      name.toStdString().c_str());
        ShowMessage(text, "Tessaran", MessageIcon::Exclamation, MessageButtons::Ok);
        return;
    }
    m_bitmap = m_bitmap.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    m_bitmapLeft = (kAreaWidth - m_bitmap.width()) / 2;
    m_scroller.BeginBitmap(m_bitmap.height());
}

void CCreditsDlg::DrawCurrentLine() {
    QPainter painter(&m_surface);

    const int scrolled = m_scroller.ScrollPosition();
    const int top = kAreaHeight - scrolled;
    if (m_scroller.BitmapInProgress()) {
        // The part of the bitmap that has come into view.
        const int shown = std::min(scrolled, m_bitmap.height());
        painter.fillRect(QRect(0, top, kAreaWidth, shown), BackgroundColour());
        painter.drawImage(QPoint(m_bitmapLeft, top), m_bitmap,
                          QRect(0, 0, m_bitmap.width(), shown));
        if (scrolled >= m_bitmap.height()) {
            m_bitmap = QImage();
            m_scroller.EndBitmap();
        }
        return;
    }
    const CreditsLineStyle& style = m_scroller.CurrentStyle();
    const QString text = QString::fromStdString(CreditsTextOf(m_scroller.CurrentLine()));
    if (text.isEmpty() || scrolled > style.height)
        return;
    const QRect lineRect(0, top, kAreaWidth, style.height);
    painter.setClipRect(QRect(0, top, kAreaWidth, scrolled));
    painter.fillRect(lineRect, BackgroundColour());
    painter.setFont(m_lineFont);
    painter.setPen(ToQColor(style.colour));
    painter.drawText(lineRect, Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextSingleLine, text);
}
