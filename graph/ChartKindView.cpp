// The chart kinds of the right pane: which one shows, where the choice is kept, and how the view
// hands the two kinds beside the gap chart their canvas.
#include "framework/CWinApp.h"
#include "graph/AnalysisCharts.h"
#include "graph/TarmioView.h"

namespace {
const QString kSettingsSection = QStringLiteral("Settings");
const QString kChartEntry = QStringLiteral("GraphChart");
} // namespace

void CTarmioView::SetChartKind(lapgraph::ChartKind kind) {
    if (kind == m_nChart)
        return;
    m_nChart = kind;
    WriteChartSetting();
    UpdateScrollInfo();
    Redraw();
}

void CTarmioView::ReadChartSetting() {
    if (CWinApp* app = AfxGetApp())
        m_nChart = lapgraph::ChartKindFromSetting(
            app->GetProfileInt(kSettingsSection, kChartEntry, static_cast<int>(m_nChart)));
}

void CTarmioView::WriteChartSetting() {
    if (CWinApp* app = AfxGetApp())
        app->WriteProfileInt(kSettingsSection, kChartEntry, static_cast<int>(m_nChart));
}

void CTarmioView::DrawAnalysisChart(CDC* pDC, const lapgraph::Layout& layout) {
    const RaceData* race = GetRaceData();
    if (race == nullptr)
        return;
    const ChartCanvas canvas{pDC,
                             *race,
                             layout,
                             m_bMirrored != FALSE,
                             m_nLapTimeZoom,
                             DrawingOrder(*race),
                             DriverPens(pDC, *race)};
    if (m_nChart == lapgraph::ChartKind::Positions)
        PaintPositionChart(canvas);
    else
        PaintLapTimeChart(canvas);
}

std::vector<CurveTrace> CTarmioView::TraceAnalysisChart(const RaceData& race,
                                                        const lapgraph::Layout& layout) const {
    if (m_nChart == lapgraph::ChartKind::Positions)
        return TracePositionChart(race, layout, m_bMirrored != FALSE, DrawingOrder(race));
    return TraceLapTimeChart(race, layout, m_bMirrored != FALSE, m_nLapTimeZoom, DrawingOrder(race));
}
