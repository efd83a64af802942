#include "analysis/qt/PageIV.h"

#include "analysis/TraceRows.h"
#include "controls/qt/Caption.h"

#include <QComboBox>

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <algorithm>

namespace {

QComboBox* MakeStepList(const char* name, QWidget* parent) {
    auto* list = new QComboBox(parent);
    list->setObjectName(QLatin1String(name));
    for (const uint32_t step : kCurrentVoltageSteps)
        list->addItem(QString::number(step));
    return list;
}

void ExchangeByItemText(QComboBox* list, bool saving, uint32_t& value) {
    if (!saving) {
        const int item = list->findText(QString::number(value));
        list->setCurrentIndex(item >= 0 ? item : 0);
        return;
    }
    const int item = std::max(list->currentIndex(), 0);
    value = LeadingUnsignedNumber(list->itemText(item).toStdString());
}

} // namespace

CPageIV::CPageIV(CurrentVoltageSettings& settings, QWidget* parent)
    : CPageAnalyseBase(settings, PageTemplate::CurrentVoltage, parent), m_ivSettings(settings) {
    m_listRoundTo = MakeStepList("roundToCombo", this);
    m_listRoundTo->setAccessibleName(QStringLiteral("Round to nearest"));
    m_listSampleEvery = MakeStepList("sampleEveryCombo", this);
    m_listSampleEvery->setAccessibleName(QStringLiteral("every"));
    auto* captionRound =
        MakeCaption(QStringLiteral("Round to nearest:"), "roundToCaption", this, m_listRoundTo);
    auto* captionEvery =
        MakeCaption(QStringLiteral("every:"), "sampleEveryCaption", this, m_listSampleEvery);
    auto* unit = MakeCaption(QStringLiteral("mV"), "millivoltCaption", this);

    auto* lists = new QHBoxLayout;
    lists->setContentsMargins(0, 0, 0, 0);
    lists->addWidget(m_listRoundTo);
    lists->addWidget(captionEvery);
    lists->addWidget(m_listSampleEvery);
    lists->addWidget(unit);
    lists->addStretch(1);
    AddPageControlsRow(captionRound, lists);
    InitDialog();
}

bool CPageIV::DoDataExchange(bool saving) {
    if (!CPageAnalyseBase::DoDataExchange(saving))
        return false;
    ExchangeByItemText(m_listSampleEvery, saving, m_ivSettings.sampleEvery);
    ExchangeByItemText(m_listRoundTo, saving, m_ivSettings.roundTo);
    return true;
}
