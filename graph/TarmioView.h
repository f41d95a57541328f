#pragma once

#include "data/LapReadout.h"
#include "framework/CDC.h"
#include "framework/CView.h"
#include "graph/AnalysisChartModel.h"
#include "graph/ChartKinds.h"
#include "graph/LapGraphModel.h"

#include <memory>
#include <optional>
#include <vector>

class CInfoPanel;
class CTarmioDoc;
class RaceData;

// The right pane: the chart of the kind chosen, over the lap lines and numbers all kinds share,
// with the read-out under the pointer.
class CTarmioView : public CView {
    Q_OBJECT
public:
    CTarmioView();
    ~CTarmioView() override;

    void OnInitialUpdate() override;
    void OnUpdate(CView* pSender, LPARAM lHint) override;
    void OnDraw(CDC* pDC) override;
    void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr) override;

    BOOL OnPreparePrinting(CPrintInfo* pInfo) override;
    void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo) override;
    void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo) override;

    // Creates the axis font for pDC and measures it there: screen or printer sizes.
    void CreateAxisFont(CDC* pDC, BOOL bPrinting);

    // Commands
    void OnViewZoomInY();
    void OnViewZoomOutY();
    // Zoom and scroll so that every curve of the chart shows whole and fills its height.
    void OnViewZoomToFit();
    void OnUpdateViewZoomToFit(CCmdUI* pCmdUI);
    void OnViewRelative();
    void OnViewMirrored();
    void OnUpdateViewOption(CCmdUI* pCmdUI);
    void OnViewHighlight();
    void OnUpdateViewHighlight(CCmdUI* pCmdUI);
    void OnViewGapToDriver();
    void OnUpdateViewGapToDriver(CCmdUI* pCmdUI);

    // The chart's state, for the command-line renderer and tests.
    int GetZoom() const { return m_nZoom; }
    int GetScrollPos() const { return m_nScrollPos; }
    BOOL IsRelative() const { return m_bRelative; }
    BOOL IsMirrored() const { return m_bMirrored; }
    void SetViewState(const lapgraph::ViewState& state);
    lapgraph::ViewState GetViewState() const;
    const CRect& GetGraphRect() const { return m_rcGraph; }
    lapgraph::Layout GetLayout() const;
    lapgraph::AxisMetrics GetAxisMetrics() const;
    RaceData* GetRaceData() const;

    // Which chart the pane shows; the choice is stored at once.
    lapgraph::ChartKind GetChartKind() const { return m_pChart->kind; }
    void SetChartKind(lapgraph::ChartKind kind);
    int GetLapTimeZoom() const { return m_nLapTimeZoom; }

    // Selected drivers stand out while this is on.
    BOOL IsHighlighting() const { return m_bHighlight; }
    void SetHighlighting(BOOL bHighlight);
    // The driver whose race times are the reference, as an index into the driver array; -1 while
    // the lap leader or the pace line is.
    int GetReferenceDriver() const;
    // Measures the field against that driver (-1: back to the lap leader or the pace line).
    void SetReferenceDriver(int driverIndex);

    // The hover read-out: the curve point near a point of the client area, the device point of a
    // driver's lap, and the panel that shows the read-out.
    std::optional<CurveHit> HitTest(CPoint point) const;
    std::optional<CPoint> LapPoint(int driverIndex, int slot) const;
    std::optional<LapReadout> ReadoutAt(const CurveHit& hit);
    const CInfoPanel* GetReadoutPanel() const { return m_pReadoutPanel; }

    // The chart as the window shows it, drawn on any device context: SVG and PNG exports and
    // the web report take the screen's picture from here.
    void DrawScreenPicture(CDC* pDC);
    // Each curve as that picture draws it, in its pixels and drawing order.
    std::vector<CurveTrace> TraceScreenCurves() const;
    // Printer pixels the printed chart leaves free above and below it inside the page's margin,
    // for an exported page's title line and legend; none unless set.
    void SetPrintedFrameSpace(int above, int below) {
        m_nPrintedFrameAbove = above;
        m_nPrintedFrameBelow = below;
    }
    // The printed page's margin on every side, in printer pixels.
    static constexpr int kPrintPageMargin = 50;

protected:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    int OnCreate() override;
    void OnSize() override;
    BOOL OnEraseBkgnd(CDC* pDC) override;
    void OnPaint() override;
    void OnKeyDown(UINT nChar) override;
    void OnContextMenu(CPoint point) override;
    void wheelEvent(QWheelEvent* event) override;
    // The read-out follows the pointer over the chart.
    void mouseMoveEvent(QMouseEvent* event) override;
    // A click on a curve selects that driver's row in the list; Ctrl+click adds or removes it.
    void mousePressEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void FillBackground(CDC* pDC, const CRect& rect);
    void DrawLapLines(CDC* pDC, const lapgraph::Layout& layout, int slotCount);
    void DrawLegend(CDC* pDC, const lapgraph::Layout& layout);

    // The reference as drawn now, and the drivers in drawing order (highlighted ones last).
    lapgraph::ReferenceSeries CurrentReference(const RaceData& race) const;
    std::vector<int> HighlightedDrivers(const RaceData& race) const;
    std::vector<int> DrawingOrder(const RaceData& race) const;
    std::vector<CurveTrace> TraceCurves(const RaceData& race) const;
    CTarmioDoc* GetTarmioDoc() const;
    void ApplyAutoZoom();
    void ShowReadout(const LapReadout& readout, CPoint point);
    void HideReadout();
    void ShowReferenceNote();
    // What the chart kind draws with; without a device context only what tracing needs.
    ChartCanvas CanvasFor(CDC* pDC, const RaceData* race, const lapgraph::Layout& layout) const;
    std::vector<DriverPen> DriverPens(CDC* pDC, const RaceData& race) const;
    // Built once per race and order, when first asked for: the positions take a sort per lap.
    const LapReadoutModel& ReadoutModel(const RaceData& race) const;
    void ReadChartSetting();
    void WriteChartSetting();
    void ZoomY(bool zoomIn);
    void ScrollTo(int position);
    void UpdateScrollInfo();
    void OnScrollBarAction(int action);
    void Redraw();

    TEXTMETRIC m_tm;
    std::unique_ptr<CFont> m_pAxisFont;
    CRect m_rcGraph;
    int m_nPrintedFrameAbove = 0;
    int m_nPrintedFrameBelow = 0;
    CSize m_sizeLapLabel{1, 1};
    CSize m_sizeTimeLabel{1, 1};
    int m_nZoom = lapgraph::kDefaultZoom;
    int m_nScrollPos = 0;
    int m_nWheelDelta = 0; // wheel movement short of a whole notch
    BOOL m_bRelative = TRUE;
    BOOL m_bMirrored = TRUE;
    const ChartKindInfo* m_pChart = &kGapChart;
    int m_nLapTimeZoom = lapgraph::kDefaultLapTimeZoom;
    // The flicker-free composition's bitmap, kept while the client size stays: every paint covers
    // all of it, and a fresh bitmap per paint costs more than the drawing.
    CBitmap m_offscreen;

    BOOL m_bHighlight = TRUE;
    // Only ever compared with the race's drivers, never followed: a driver that has left the race
    // is no longer found, and the lap leader or pace line is the reference again.
    const DriverRecord* m_pReferenceDriver = nullptr;
    CInfoPanel* m_pReadoutPanel = nullptr; // a child widget
    mutable std::optional<LapReadoutModel> m_readoutModel;
    bool m_bReadoutShown = false;
};
