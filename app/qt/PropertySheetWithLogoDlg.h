// A tabbed window of pages above a row of standard buttons (OK, Cancel, Apply,
// Help), with a logo text drawn embossed in the free part of the button row.
// The pages are plain widgets; the sheet asks them, through the handlers given
// when a page is added, to take their values when they are left (a page may
// refuse), to apply and to cancel, in the manner of a property sheet.
#pragma once

#include <QFont>
#include <QString>
#include <QWidget>

#include <functional>
#include <optional>
#include <vector>

class CImageButton;
class QHBoxLayout;
class QPushButton;
class QTabWidget;
class QVBoxLayout;

class CPropertySheetWithLogoDlg : public QWidget {
    Q_OBJECT
public:
    // Ids of the standard buttons, each also the button's "controlId" property.
    enum : int { kOkButton = 1, kCancelButton = 2, kHelpButton = 9, kApplyButton = 12321 };
    // The narrowest standard button, in pixels.
    static constexpr int kMinimumButtonWidth = 75;

    // A top-level window titled `caption`, whose first shown page is `firstPage`.
    explicit CPropertySheetWithLogoDlg(const QString& caption, QWidget* parent = nullptr,
                                       int firstPage = 0);
    ~CPropertySheetWithLogoDlg() override;

    // The text drawn in the button row; nothing is drawn while it is empty.
    void SetLogoText(const QString& text);
    const QString& LogoText() const { return m_logoText; }
    // The logo's font: `face`, `height` pixels, `weight` (400 normal, 700 bold).
    void SetLogoFont(const QString& face, int height, int weight, bool italic, bool underline);
    const std::optional<QFont>& LogoFont() const { return m_logoFont; }
    // Where the logo goes: from the left edge of the tabs to the left edge of
    // the OK button, as high as that button.
    QRect LogoRect() const;

    // What the sheet asks of a page. Every handler may be left empty.
    struct PageHandlers {
        std::function<void()> setActive;  // the page is about to be shown
        std::function<bool()> killActive; // take the values; false keeps the page shown
        std::function<bool()> apply;      // false: not applied, stop asking further pages
        std::function<void()> cancel;     // the sheet is cancelled
        std::function<bool()> help;       // true when the page gave help
    };

    // Appends `page` as the last tab; returns its index.
    int AddPage(QWidget* page, const QString& title, PageHandlers handlers = {});
    int PageCount() const { return static_cast<int>(m_pages.size()); }
    QWidget* Page(int index) const;
    void SetPageTitle(int index, const QString& title);
    int ActiveIndex() const { return m_activeIndex; }
    QWidget* ActivePage() const { return Page(m_activeIndex); }
    // Shows page `index` after the shown page has taken its values; false
    // when that page refused or the index is out of range.
    bool SetActivePage(int index);

    QTabWidget* TabControl() const { return m_tabs; }
    // A standard button by its id (null for other ids).
    CImageButton* Button(int id) const;
    // Width every standard button gets before a subclass widens them.
    int StandardButtonWidth() const { return m_standardButtonWidth; }

    // Presses a standard button as a click would, with the sheet's own
    // processing: OK applies and closes, Cancel cancels every page and closes,
    // Apply asks the shown page for its values and then the pages to apply,
    // in tab order, until one answers it did not apply; Help asks the shown page.
    void PressButton(int id);

signals:
    // Another page is shown.
    void activePageChanged(int index);

protected:
    // Runs once, when the window is first shown (before it appears).
    virtual void OnInitDialog();
    // A standard button was clicked (or a command with that id given); the
    // default is the sheet's own processing (PressButton). True when handled.
    virtual bool OnCommand(int id);
    // Help that no page gave; the default does nothing.
    virtual void OnHelpNotGiven() {}

    bool ApplyAll();
    void CancelAll();
    // Gives every standard button the width of the widest (at least
    // kMinimumButtonWidth), after their texts or images changed.
    void MakeButtonsUniform();
    // Stops asking the pages anything, before they are deleted.
    void ForgetPages();

    QVBoxLayout* MainLayout() const { return m_layout; }
    // Draws the logo (embossed: highlight colour one pixel right and down, then
    // the shadow colour in place).
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void OnTabChanged(int index);

    struct SheetPage {
        QWidget* widget;
        PageHandlers handlers;
    };
    std::vector<SheetPage> m_pages;
    QString m_logoText;
    std::optional<QFont> m_logoFont;
    QVBoxLayout* m_layout;
    QTabWidget* m_tabs;
    QHBoxLayout* m_buttonRow;
    CImageButton* m_ok;
    CImageButton* m_cancel;
    CImageButton* m_apply;
    CImageButton* m_help;
    int m_standardButtonWidth = kMinimumButtonWidth;
    int m_activeIndex = -1;
    int m_firstPage;
    bool m_initialised = false;
    bool m_revertingTab = false;
};
