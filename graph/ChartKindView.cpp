// Which chart kind the right pane shows, and where the choice is kept.
#include "common/SettingsKeys.h"
#include "framework/CWinApp.h"
#include "graph/TarmioView.h"

void CTarmioView::SetChartKind(lapgraph::ChartKind kind) {
    if (kind == m_pChart->kind)
        return;
    m_pChart = &ChartKindOf(kind);
    WriteChartSetting();
    UpdateScrollInfo();
    Redraw();
}

void CTarmioView::ReadChartSetting() {
    if (CWinApp* app = AfxGetApp())
        m_pChart = &ChartKindOf(lapgraph::ChartKindFromSetting(
            app->GetProfileInt(settings::kSection, settings::kGraphChart, static_cast<int>(m_pChart->kind))));
}

void CTarmioView::WriteChartSetting() {
    if (CWinApp* app = AfxGetApp())
        app->WriteProfileInt(settings::kSection, settings::kGraphChart, static_cast<int>(m_pChart->kind));
}
