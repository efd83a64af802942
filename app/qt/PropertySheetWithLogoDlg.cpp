#include "app/qt/PropertySheetWithLogoDlg.h"

#include "controls/qt/ImageButton.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

CImageButton* MakeStandardButton(const QString& text, int id, const char* name, QWidget* parent) {
    auto* button = new CImageButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setProperty("controlId", id);
    button->setAutoDefault(false);
    return button;
}

} // namespace

CPropertySheetWithLogoDlg::CPropertySheetWithLogoDlg(const QString& caption, QWidget* parent,
                                                     int firstPage)
    : QWidget(parent, Qt::Window), m_firstPage(firstPage) {
    setWindowTitle(caption);
    m_layout = new QVBoxLayout(this);
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("tabs"));
    m_tabs->setUsesScrollButtons(false);
    m_layout->addWidget(m_tabs, 1);

    m_buttonRow = new QHBoxLayout;
    m_buttonRow->addStretch(1);
    m_ok = MakeStandardButton(tr("OK"), kOkButton, "okButton", this);
    m_cancel = MakeStandardButton(tr("Cancel"), kCancelButton, "cancelButton", this);
    m_apply = MakeStandardButton(tr("&Apply"), kApplyButton, "applyButton", this);
    m_help = MakeStandardButton(tr("Help"), kHelpButton, "helpButton", this);
    for (CImageButton* button : {m_ok, m_cancel, m_apply, m_help}) {
        m_buttonRow->addWidget(button);
        const int id = button->property("controlId").toInt();
        connect(button, &QPushButton::clicked, this, [this, id] { OnCommand(id); });
    }
    m_layout->addLayout(m_buttonRow);
    MakeButtonsUniform();

    connect(m_tabs, &QTabWidget::currentChanged, this, &CPropertySheetWithLogoDlg::OnTabChanged);
}

CPropertySheetWithLogoDlg::~CPropertySheetWithLogoDlg() {
    ForgetPages();
}

void CPropertySheetWithLogoDlg::ForgetPages() {
    // Pages deleted from here on change the current tab; nobody is to be told.
    disconnect(m_tabs, nullptr, this, nullptr);
    m_pages.clear();
    m_activeIndex = -1;
}

void CPropertySheetWithLogoDlg::SetLogoText(const QString& text) {
    m_logoText = text;
    update();
}

void CPropertySheetWithLogoDlg::SetLogoFont(const QString& face, int height, int weight,
                                            bool italic, bool underline) {
    QFont font(face);
    font.setPixelSize(std::max(1, height));
    font.setWeight(static_cast<QFont::Weight>(std::clamp(weight, 1, 1000)));
    font.setItalic(italic);
    font.setUnderline(underline);
    m_logoFont = font;
    update();
}

QRect CPropertySheetWithLogoDlg::LogoRect() const {
    const QRect ok = m_ok->geometry();
    return QRect(QPoint(m_tabs->geometry().left(), ok.top()), QPoint(ok.left() - 1, ok.bottom()));
}

int CPropertySheetWithLogoDlg::AddPage(QWidget* page, const QString& title, PageHandlers handlers) {
    m_pages.push_back({page, std::move(handlers)});
    const int index = PageCount() - 1;
    m_revertingTab = true; // the first page added becomes current without being "shown"
    m_tabs->addTab(page, title);
    m_revertingTab = false;
    if (m_activeIndex < 0)
        m_activeIndex = m_tabs->currentIndex();
    return index;
}

QWidget* CPropertySheetWithLogoDlg::Page(int index) const {
    return index >= 0 && index < PageCount() ? m_pages[static_cast<size_t>(index)].widget : nullptr;
}

void CPropertySheetWithLogoDlg::SetPageTitle(int index, const QString& title) {
    if (index >= 0 && index < PageCount())
        m_tabs->setTabText(index, title);
}

bool CPropertySheetWithLogoDlg::SetActivePage(int index) {
    if (index < 0 || index >= PageCount())
        return false;
    if (index != m_tabs->currentIndex())
        m_tabs->setCurrentIndex(index);
    return m_activeIndex == index;
}

void CPropertySheetWithLogoDlg::OnTabChanged(int index) {
    if (m_revertingTab || index == m_activeIndex)
        return;
    if (const SheetPage* shown = m_activeIndex >= 0 && m_activeIndex < PageCount()
                                     ? &m_pages[static_cast<size_t>(m_activeIndex)]
                                     : nullptr;
        shown && shown->handlers.killActive && !shown->handlers.killActive()) {
        m_revertingTab = true;
        m_tabs->setCurrentIndex(m_activeIndex);
        m_revertingTab = false;
        return;
    }
    m_activeIndex = index;
    if (index >= 0 && index < PageCount() && m_pages[static_cast<size_t>(index)].handlers.setActive)
        m_pages[static_cast<size_t>(index)].handlers.setActive();
    emit activePageChanged(index);
}

CImageButton* CPropertySheetWithLogoDlg::Button(int id) const {
    switch (id) {
    case kOkButton:
        return m_ok;
    case kCancelButton:
        return m_cancel;
    case kApplyButton:
        return m_apply;
    case kHelpButton:
        return m_help;
    default:
        return nullptr;
    }
}

void CPropertySheetWithLogoDlg::MakeButtonsUniform() {
    int width = kMinimumButtonWidth;
    for (CImageButton* button : {m_ok, m_cancel, m_apply, m_help}) {
        button->setMinimumWidth(0);
        button->setMaximumWidth(QWIDGETSIZE_MAX);
        width = std::max(width, button->sizeHint().width());
    }
    m_standardButtonWidth = width;
    for (CImageButton* button : {m_ok, m_cancel, m_apply, m_help})
        button->setFixedWidth(width);
}

bool CPropertySheetWithLogoDlg::ApplyAll() {
    const SheetPage* shown = m_activeIndex >= 0 && m_activeIndex < PageCount()
                                 ? &m_pages[size_t(m_activeIndex)]
                                 : nullptr;
    if (shown && shown->handlers.killActive && !shown->handlers.killActive())
        return false;
    for (const SheetPage& page : m_pages) {
        if (page.handlers.apply && !page.handlers.apply())
            return false;
    }
    return true;
}

void CPropertySheetWithLogoDlg::CancelAll() {
    for (const SheetPage& page : m_pages) {
        if (page.handlers.cancel)
            page.handlers.cancel();
    }
}

void CPropertySheetWithLogoDlg::PressButton(int id) {
    switch (id) {
    case kOkButton:
        if (ApplyAll())
            close();
        break;
    case kCancelButton:
        CancelAll();
        close();
        break;
    case kApplyButton:
        ApplyAll();
        break;
    case kHelpButton: {
        const SheetPage* shown = m_activeIndex >= 0 && m_activeIndex < PageCount()
                                     ? &m_pages[size_t(m_activeIndex)]
                                     : nullptr;
        if (!shown || !shown->handlers.help || !shown->handlers.help())
            OnHelpNotGiven();
        break;
    }
    default:
        break;
    }
}

bool CPropertySheetWithLogoDlg::OnCommand(int id) {
    if (!Button(id))
        return false;
    PressButton(id);
    return true;
}

void CPropertySheetWithLogoDlg::OnInitDialog() {
    SetLogoFont(QStringLiteral("Arial"), 24, 700, true, false);
    if (m_firstPage > 0 && m_firstPage < PageCount())
        SetActivePage(m_firstPage);
}

void CPropertySheetWithLogoDlg::showEvent(QShowEvent* event) {
    if (!m_initialised) {
        m_initialised = true;
        OnInitDialog();
    }
    QWidget::showEvent(event);
}

void CPropertySheetWithLogoDlg::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    if (m_logoText.isEmpty())
        return;
    QPainter painter(this);
    if (m_logoFont)
        painter.setFont(*m_logoFont);
    const QRect area = LogoRect();
    const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;
    painter.setPen(palette().color(QPalette::Light));
    painter.drawText(area.translated(1, 1), flags, m_logoText);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawText(area, flags, m_logoText);
}
