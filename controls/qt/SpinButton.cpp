#include "controls/qt/SpinButton.h"

#include "controls/FieldParsing.h"
#include "controls/qt/IntegerEdit.h"

#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>

namespace {

QToolButton* MakeArrow(QWidget* parent, Qt::ArrowType arrow, const char* name) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    // The two arrows share the height of the field beside them.
    button->setMinimumSize(1, 1);
    button->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    return button;
}

} // namespace

CSpinButton::CSpinButton(QWidget* parent) : QWidget(parent) {
    m_up = MakeArrow(this, Qt::UpArrow, "spinUp");
    m_down = MakeArrow(this, Qt::DownArrow, "spinDown");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_up);
    layout->addWidget(m_down);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(m_up, &QToolButton::clicked, this, [this] { Step(1); });
    connect(m_down, &QToolButton::clicked, this, [this] { Step(-1); });
}

void CSpinButton::SetRange32(std::int32_t lower, std::int32_t upper) {
    m_lower = lower;
    m_upper = upper;
}

void CSpinButton::SetBuddy(CIntegerEdit* buddy) {
    m_buddy = buddy;
}

void CSpinButton::Step(int delta) {
    // The limits themselves are the field's "no value" and overflow marks.
    const std::int64_t lowest = std::numeric_limits<std::int32_t>::min() + std::int64_t(1);
    const std::int64_t highest = std::numeric_limits<std::int32_t>::max() - std::int64_t(1);
    std::int64_t low = std::max<std::int64_t>(std::min(m_lower, m_upper), lowest);
    std::int64_t high = std::min<std::int64_t>(std::max(m_lower, m_upper), highest);
    if (low > high)
        std::swap(low, high);
    // An inverted range counts down when going up, as the range reads.
    const int direction = m_lower <= m_upper ? delta : -delta;

    std::int64_t current = m_position;
    if (m_buddy) {
        if (const auto parsed = ParseIntegerField(m_buddy->text().toStdString()))
            current = *parsed;
    }
    m_position = std::int32_t(std::clamp(current + direction, low, high));
    if (m_buddy)
        m_buddy->SetValue(m_position);
    emit stepped(m_position);
}

QSize CSpinButton::sizeHint() const {
    const int height = QLineEdit().sizeHint().height();
    return {std::max(16, height * 2 / 3), height};
}
