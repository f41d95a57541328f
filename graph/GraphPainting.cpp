#include "common/Options.h"
#include "document/CTarmioDoc.h"
#include "framework/WindowDC.h"
#include "graph/AnalysisCharts.h"
#include "graph/TarmioView.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

using lapgraph::Layout;

namespace {
constexpr COLORREF kGridColour = RGB(128, 128, 128);
// Highlighted curves: this wide on screen (in screen pixels on paper); the others keep this
// share of their colour, the rest is the background's.
constexpr int kHighlightPenWidth = 3;
constexpr int kDimmedColourPercent = 30;
constexpr int kScreenDpi = 96;
constexpr const char* kLapLabelSample = "00 ";
constexpr const char* kTimeLabelSample = " -00:00 ";

// What differs between the screen and paper.
struct ChartColours {
    COLORREF background;
    DWORD backgroundRop;
    COLORREF text;
    COLORREF lappingLine;
};
constexpr ChartColours kScreenColours{RGB(0, 0, 0), BLACKNESS, RGB(0xC0, 0xDC, 0xC0), RGB(255, 255, 255)};
constexpr ChartColours kPrintColours{RGB(255, 255, 255), WHITENESS, RGB(0, 0, 0), RGB(0, 0, 0)};
const ChartColours& ColoursFor(const CDC* pDC) {
    return pDC->IsPrinting() ? kPrintColours : kScreenColours;
}

struct AxisFontSize {
    LONG height;
    LONG width;
};
constexpr AxisFontSize kScreenFont{-10, 5};
constexpr AxisFontSize kPrinterFont{-16, 9};

// Lap numbers sit half a line under the axis with the origin at bottom, one and a half lines
// above it with the origin at top.
constexpr int kLapLabelHalfLinesOriginTop = -3;
constexpr int kLapLabelHalfLinesOriginBottom = 1;

lapgraph::GraphRect ToGraphRect(const CRect& rect) {
    return {rect.left, rect.top, rect.right, rect.bottom};
}
bool RowInside(int row, const CRect& rect) {
    return row >= rect.top && row < rect.bottom;
}

COLORREF Dimmed(COLORREF colour, COLORREF background) {
    const auto mix = [](int part, int rest) {
        return (part * kDimmedColourPercent + rest * (100 - kDimmedColourPercent)) / 100;
    };
    return RGB(mix(GetRValue(colour), GetRValue(background)), mix(GetGValue(colour), GetGValue(background)),
               mix(GetBValue(colour), GetBValue(background)));
}

int HighlightPenWidth(CDC* pDC) {
    if (!pDC->IsPrinting())
        return kHighlightPenWidth;
    return std::max(kHighlightPenWidth, kHighlightPenWidth * pDC->GetDeviceCaps(LOGPIXELSX) / kScreenDpi);
}
} // namespace

lapgraph::AxisMetrics CTarmioView::GetAxisMetrics() const {
    return lapgraph::AxisMetrics{m_sizeTimeLabel.cx, m_sizeLapLabel.cy, m_sizeLapLabel.cx,
                                 m_tm.tmHeight + m_tm.tmExternalLeading};
}

lapgraph::Layout CTarmioView::GetLayout() const {
    return lapgraph::ComputeLayout(ToGraphRect(m_rcGraph), GetAxisMetrics(), GetViewState());
}

void CTarmioView::CreateAxisFont(CDC* pDC, BOOL bPrinting) {
    m_pAxisFont = std::make_unique<CFont>();
    const AxisFontSize& size = bPrinting ? kPrinterFont : kScreenFont;
    LOGFONT logFont{};
    logFont.lfHeight = size.height;
    logFont.lfWidth = size.width;
    std::strncpy(logFont.lfFaceName, "Arial", LF_FACESIZE - 1);
    m_pAxisFont->CreateFontIndirect(&logFont);
    CFont* previous = pDC->SelectObject(m_pAxisFont.get());
    pDC->GetTextMetrics(&m_tm);
    m_sizeLapLabel = pDC->GetTextExtent(kLapLabelSample, 3);
    m_sizeTimeLabel = pDC->GetTextExtent(kTimeLabelSample, 8);
    if (previous != nullptr)
        pDC->SelectObject(previous);
}

void CTarmioView::FillBackground(CDC* pDC, const CRect& rect) {
    pDC->PatBlt(rect.left, rect.top, rect.Width(), rect.Height(), ColoursFor(pDC).backgroundRop);
}

void CTarmioView::OnPaint() {
    CPaintDC dc(this);
    OnPrepareDC(&dc, nullptr);
    if ((AfxGetTarmioOptions() & kOptionFlickerFree) == 0) {
        OnDraw(&dc);
        return;
    }
    // The whole picture is composed off-screen and arrives in one copy.
    const CRect rc = m_rcGraph;
    CDC memDC;
    memDC.CreateCompatibleDC(&dc);
    if (!m_offscreen.IsCompatible(&dc, rc.Width(), rc.Height()))
        m_offscreen.CreateCompatibleBitmap(&dc, rc.Width(), rc.Height());
    CBitmap* previous = memDC.SelectObject(&m_offscreen);
    FillBackground(&memDC, rc);
    OnDraw(&memDC);
    dc.BitBlt(0, 0, rc.Width(), rc.Height(), &memDC, 0, 0);
    memDC.SelectObject(previous);
}

BOOL CTarmioView::OnEraseBkgnd(CDC* pDC) {
    if (pDC->IsPrinting() || (AfxGetTarmioOptions() & kOptionFlickerFree) != 0)
        return TRUE;
    CRect clip;
    pDC->GetClipBox(&clip);
    CRect erase;
    if (erase.IntersectRect(clip, m_rcGraph))
        FillBackground(pDC, erase);
    return TRUE;
}

void CTarmioView::OnDraw(CDC* pDC) {
    pDC->SaveDC();
    CPen gridPen(PS_SOLID, 1, kGridColour);
    if (m_rcGraph.IsRectEmpty()) {
        pDC->RestoreDC();
        return;
    }
    const ChartColours& colours = ColoursFor(pDC);
    const RaceData* race = GetRaceData();
    const int slotCount = race != nullptr ? std::max(0, race->lapCount) : 0;
    const Layout layout = GetLayout();

    pDC->SetBkMode(OPAQUE);
    pDC->SetTextColor(colours.text);
    pDC->SelectObject(&gridPen);
    if (m_pAxisFont != nullptr)
        pDC->SelectObject(m_pAxisFont.get());
    // These fills also leave the background colour behind every opaque text below.
    pDC->FillSolidRect(CRect(m_rcGraph.left, m_rcGraph.top, layout.x0, m_rcGraph.bottom), colours.background);
    pDC->FillSolidRect(CRect(layout.x0, layout.yAxis, m_rcGraph.right, m_rcGraph.bottom), colours.background);

    if (m_nChart == lapgraph::ChartKind::Gap)
        DrawTimeGrid(pDC, layout);
    pDC->SetMapMode(MM_TEXT);
    pDC->SetViewportOrg(0, 0);
    pDC->SetWindowOrg(0, 0);
    if (slotCount < 2) {
        pDC->MoveTo(layout.x0, m_rcGraph.top);
        pDC->LineTo(layout.x0, layout.yAxis);
    } else {
        DrawLapLines(pDC, layout, slotCount);
        // The other charts' labels come before the legend, which leaves the text in a driver's colour.
        if (m_nChart != lapgraph::ChartKind::Gap)
            DrawAnalysisChart(pDC, layout);
        if (pDC->IsPrinting())
            DrawLegend(pDC, layout);
        if (m_nChart == lapgraph::ChartKind::Gap) {
            SetCurveMapping(pDC, layout);
            DrawCurves(pDC, CRect(0, 0, layout.plotWidth, layout.plotHeight));
            if (GetReferenceDriver() != -1)
                DrawReferenceNote(pDC, layout);
        }
    }
    pDC->RestoreDC();
}

void CTarmioView::SetGridMapping(CDC* pDC, const Layout& layout) {
    pDC->SetMapMode(MM_ANISOTROPIC);
    pDC->SetWindowExt(m_rcGraph.Width(), layout.signedExtent);
    pDC->SetViewportExt(m_rcGraph.Width(), m_rcGraph.Height());
    pDC->SetWindowOrg(0, m_bMirrored ? m_nScrollPos : -m_nScrollPos);
    pDC->SetViewportOrg(0, layout.yAxis);
}

void CTarmioView::SetCurveMapping(CDC* pDC, const Layout& layout) {
    pDC->SetMapMode(MM_ANISOTROPIC);
    pDC->SetWindowExt(layout.plotWidth, layout.signedExtent);
    pDC->SetViewportExt(layout.plotWidth, layout.plotHeight);
    pDC->SetWindowOrg(0, m_bMirrored ? m_nScrollPos : -m_nScrollPos);
    pDC->SetViewportOrg(layout.x0, layout.yAxis);
}

void CTarmioView::DrawTimeGrid(CDC* pDC, const Layout& layout) {
    const int step = lapgraph::GridStep(m_rcGraph.Height(), layout.lineHeight, layout.extent);
    if (step == 0)
        return;
    for (int gap = lapgraph::FirstGridValue(step); gap < lapgraph::kHighestGap; gap += step) {
        SetGridMapping(pDC, layout);
        CPoint device(m_rcGraph.left, gap);
        pDC->LPtoDP(&device);
        if (RowInside(device.y, m_rcGraph)) {
            pDC->MoveTo(layout.x0, gap);
            pDC->LineTo(m_rcGraph.right, gap);
        }
        const int labelTop = device.y - layout.lineHeight / 2;
        if (RowInside(labelTop, m_rcGraph)) {
            pDC->SetMapMode(MM_TEXT);
            pDC->SetViewportOrg(0, 0);
            pDC->SetWindowOrg(0, 0);
            pDC->TextOut(device.x, labelTop, lapgraph::TimeLabel(gap));
        }
    }
}

void CTarmioView::DrawLapLines(CDC* pDC, const Layout& layout, int slotCount) {
    const int far = m_bMirrored ? m_rcGraph.bottom : m_rcGraph.top;
    const int halfLines = m_bMirrored ? kLapLabelHalfLinesOriginTop : kLapLabelHalfLinesOriginBottom;
    const int labelTop = layout.yAxis + (halfLines * layout.lineHeight) / 2;
    const int interval = lapgraph::LapLabelInterval(layout.plotWidth, slotCount, m_sizeLapLabel.cx);
    for (int slot = 0; slot < slotCount; ++slot) {
        const int x = layout.x0 + lapgraph::SlotOffset(slot, layout.plotWidth, slotCount);
        pDC->MoveTo(x, far);
        pDC->LineTo(x, layout.yAxis);
        const int lapNumber = slot + 1;
        if (lapgraph::IsLapLabelled(lapNumber, slotCount, interval)) {
            char label[16];
            std::snprintf(label, sizeof label, "%02d", lapNumber);
            pDC->TextOut(x, labelTop, label);
        }
    }
}

void CTarmioView::DrawLegend(CDC* pDC, const Layout& layout) {
    const RaceData* race = GetRaceData();
    if (race == nullptr || race->drivers == nullptr)
        return;
    for (int i = 0; i < race->drivers->GetCount(); ++i) {
        const DriverRecord* driver = race->drivers->GetAt(i);
        pDC->SetTextColor(driver->colour);
        pDC->TextOut(layout.x0, m_rcGraph.top + i * layout.lineHeight, driver->GetName());
    }
}

std::vector<int> CTarmioView::HighlightedDrivers(const RaceData& race) const {
    const CTarmioDoc* document = GetTarmioDoc();
    std::vector<int> highlighted;
    if (!m_bHighlight || document == nullptr)
        return highlighted;
    for (const int driver : document->GetSelectedDrivers())
        if (driver >= 0 && driver < race.drivers->GetCount())
            highlighted.push_back(driver);
    return highlighted;
}

// Array order, later drivers over earlier ones; highlighted drivers come last, over all others.
std::vector<int> CTarmioView::DrawingOrder(const RaceData& race) const {
    const std::vector<int> highlighted = HighlightedDrivers(race);
    std::vector<int> order;
    for (int d = 0; d < race.drivers->GetCount(); ++d)
        if (std::find(highlighted.begin(), highlighted.end(), d) == highlighted.end())
            order.push_back(d);
    order.insert(order.end(), highlighted.begin(), highlighted.end());
    return order;
}

lapgraph::ReferenceSeries CTarmioView::CurrentReference(const RaceData& race) const {
    const lapgraph::RaceTimes times = lapgraph::TimesOf(race);
    const int driver = GetReferenceDriver();
    if (driver != -1)
        return lapgraph::DriverReferenceSeries(times, race.drivers->GetAt(driver)->laps);
    return lapgraph::ReferenceSeriesOf(times, m_bRelative != FALSE);
}

std::vector<DriverPen> CTarmioView::DriverPens(CDC* pDC, const RaceData& race) const {
    const std::vector<int> highlighted = HighlightedDrivers(race);
    const COLORREF background = ColoursFor(pDC).background;
    std::vector<DriverPen> pens;
    for (int d = 0; d < race.drivers->GetCount(); ++d) {
        const COLORREF colour = race.drivers->GetAt(d)->colour;
        const bool standsOut = std::find(highlighted.begin(), highlighted.end(), d) != highlighted.end();
        pens.push_back({highlighted.empty() || standsOut ? colour : Dimmed(colour, background),
                        standsOut ? HighlightPenWidth(pDC) : 1});
    }
    return pens;
}

void CTarmioView::DrawCurves(CDC* pDC, const CRect& plotRect) {
    const RaceData* race = GetRaceData();
    if (race == nullptr || race->lapCount <= 0)
        return;
    const lapgraph::RaceTimes times = lapgraph::TimesOf(*race);
    const lapgraph::ReferenceSeries reference = CurrentReference(*race);
    const std::vector<DriverPen> pens = DriverPens(pDC, *race);
    for (const int d : DrawingOrder(*race)) {
        const DriverRecord& driver = *race->drivers->GetAt(d);
        CPen pen(PS_SOLID, pens[static_cast<std::size_t>(d)].width, pens[static_cast<std::size_t>(d)].colour);
        DrawDriverCurve(pDC, driver, reference, times, plotRect.left, plotRect.Width(), pen);
    }
    DrawLappingLines(pDC, times, reference, plotRect.left, plotRect.Width());
}

void CTarmioView::DrawDriverCurve(CDC* pDC, const DriverRecord& driver,
                                  const lapgraph::ReferenceSeries& reference,
                                  const lapgraph::RaceTimes& times, int left, int width, CPen& pen) {
    CPen* previousPen = pDC->SelectObject(&pen);
    bool firstPoint = true;
    const int slotEnd = std::min(driver.laps.GetSize(), static_cast<int>(reference.size()));
    for (int slot = 0; slot < slotEnd; ++slot) {
        const LapRecord* lap = driver.laps.GetAt(slot);
        const std::optional<std::uint32_t> referenceTime = reference[static_cast<std::size_t>(slot)];
        if (lap == nullptr || !referenceTime)
            continue; // the next line bridges the missing lap
        const int x = left + lapgraph::SlotOffset(slot, width, times.slotCount);
        const int y = lapgraph::GapValue(lap->raceTime, *referenceTime);
        const int eventY = lapgraph::GapValue(lap->eventTime, *referenceTime);
        if (firstPoint)
            pDC->MoveTo(x, y);
        else
            pDC->LineTo(x, y);
        firstPoint = false;
        if ((lap->flags & kLapEventA) != 0) {
            for (const int strokeX : {x - 1, x + 1, x}) {
                pDC->MoveTo(strokeX, y);
                pDC->LineTo(strokeX, eventY);
            }
        }
        if ((lap->flags & kLapEventB) != 0) {
            pDC->LineTo(x, eventY);
            pDC->LineTo(x - lapgraph::kEventTickLength, eventY);
        }
    }
    pDC->SelectObject(previousPen);
}

void CTarmioView::DrawLappingLines(CDC* pDC, const lapgraph::RaceTimes& times,
                                   const lapgraph::ReferenceSeries& reference, int left, int width) {
    CPen pen(PS_DOT, 1, ColoursFor(pDC).lappingLine);
    CPen* previousPen = pDC->SelectObject(&pen);
    for (const lapgraph::LappingLine& line : lapgraph::LappingLines(times, reference)) {
        for (const lapgraph::PenStep& step : line.steps) {
            const int x = left + lapgraph::SlotOffset(step.slot, width, times.slotCount);
            if (step.draw)
                pDC->LineTo(x, step.gap);
            else
                pDC->MoveTo(x, step.gap);
        }
    }
    pDC->SelectObject(previousPen);
}

// "Gap to ..." with a square of the reference driver's colour, in the corner away from the axis
// line; the text keeps the chart's text colour, which reads on either background.
void CTarmioView::DrawReferenceNote(CDC* pDC, const Layout& layout) {
    const RaceData* race = GetRaceData();
    const DriverRecord* driver = race != nullptr ? race->drivers->GetAt(GetReferenceDriver()) : nullptr;
    if (driver == nullptr)
        return;
    pDC->SetMapMode(MM_TEXT);
    pDC->SetViewportOrg(0, 0);
    pDC->SetWindowOrg(0, 0);
    const std::string caption = GapToDriverCaption(*driver);
    const CSize extent = pDC->GetTextExtent(caption);
    const int top = m_bMirrored ? m_rcGraph.bottom - layout.lineHeight : m_rcGraph.top;
    const int left = m_rcGraph.right - extent.cx - m_sizeLapLabel.cx;
    pDC->SetTextColor(ColoursFor(pDC).text);
    pDC->TextOut(left, top, caption);
    // After the text: the fill leaves its colour behind as the background of opaque text.
    const int side = std::max(1, extent.cy - 4);
    pDC->FillSolidRect(left - side - 4, top + (extent.cy - side) / 2, side, side, driver->colour);
}
