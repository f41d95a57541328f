#include "common/Options.h"
#include "document/CTarmioDoc.h"
#include "framework/WindowDC.h"
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

void CTarmioView::DrawScreenPicture(CDC* pDC) {
    OnPrepareDC(pDC, nullptr);
    FillBackground(pDC, m_rcGraph);
    OnDraw(pDC);
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
    const ChartCanvas canvas = CanvasFor(pDC, race, layout);

    pDC->SetBkMode(OPAQUE);
    pDC->SetTextColor(colours.text);
    pDC->SelectObject(&gridPen);
    if (m_pAxisFont != nullptr)
        pDC->SelectObject(m_pAxisFont.get());
    // These fills also leave the background colour behind every opaque text below.
    pDC->FillSolidRect(CRect(m_rcGraph.left, m_rcGraph.top, layout.x0, m_rcGraph.bottom), colours.background);
    pDC->FillSolidRect(CRect(layout.x0, layout.yAxis, m_rcGraph.right, m_rcGraph.bottom), colours.background);

    if (m_pChart->paintUnderLapLines != nullptr)
        m_pChart->paintUnderLapLines(canvas);
    pDC->SetMapMode(MM_TEXT);
    pDC->SetViewportOrg(0, 0);
    pDC->SetWindowOrg(0, 0);
    if (slotCount < 2) {
        pDC->MoveTo(layout.x0, m_rcGraph.top);
        pDC->LineTo(layout.x0, layout.yAxis);
    } else {
        DrawLapLines(pDC, layout, slotCount);
        // Labels come before the legend, which leaves the text in a driver's colour.
        if (m_pChart->paintUnderLegend != nullptr)
            m_pChart->paintUnderLegend(canvas);
        if (pDC->IsPrinting())
            DrawLegend(pDC, layout);
        if (m_pChart->paintOverLegend != nullptr)
            m_pChart->paintOverLegend(canvas);
    }
    pDC->RestoreDC();
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
    return lapgraph::ReferenceSeriesFor(race, GetReferenceDriver(), m_bRelative != FALSE);
}

std::vector<DriverPen> CTarmioView::DriverPens(CDC* pDC, const RaceData& race) const {
    const std::vector<int> highlighted = HighlightedDrivers(race);
    const COLORREF background = ColoursFor(pDC).background;
    std::vector<DriverPen> pens;
    for (int d = 0; d < race.drivers->GetCount(); ++d) {
        const DriverRecord& driver = *race.drivers->GetAt(d);
        const bool standsOut = std::find(highlighted.begin(), highlighted.end(), d) != highlighted.end();
        pens.push_back({highlighted.empty() || standsOut ? driver.colour : Dimmed(driver.colour, background),
                        standsOut ? HighlightPenWidth(pDC) : 1, driver.dashed});
    }
    return pens;
}

ChartCanvas CTarmioView::CanvasFor(CDC* pDC, const RaceData* race, const Layout& layout) const {
    ChartCanvas canvas{pDC,
                       race,
                       layout,
                       GetViewState(),
                       m_nLapTimeZoom,
                       GetReferenceDriver(),
                       {},
                       {},
                       pDC != nullptr ? ColoursFor(pDC) : kScreenColours,
                       m_sizeLapLabel.cx,
                       {}};
    if (race != nullptr && race->drivers != nullptr) {
        canvas.order = DrawingOrder(*race);
        canvas.positions = [this, race]() -> const RacePositions& { return ReadoutModel(*race).Positions(); };
        if (pDC != nullptr)
            canvas.pens = DriverPens(pDC, *race);
    }
    return canvas;
}
