#include "framework/CDC.h"

#include "framework/TextBytes.h"

#include <QFontInfo>
#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QVector>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace {
// The platform's cosmetic dotted pen: three pixels on, three off.
constexpr int kDotOnPixels = 3;
constexpr int kDotPeriodPixels = 6;
constexpr int kFocusDotPeriodPixels = 2;
constexpr const char* kArialFace = "Arial";
constexpr const char* kArialMetricTwin = "Liberation Sans";

QColor ToQColor(COLORREF colour) {
    return QColor(GetRValue(colour), GetGValue(colour), GetBValue(colour));
}

// n / d rounded to the nearest whole number, halves away from zero, as the platform maps.
LONG DivideRounded(long long n, long long d) {
    if (d == 0)
        return 0;
    if (d < 0)
        n = -n, d = -d;
    return static_cast<LONG>(n >= 0 ? (n + d / 2) / d : -((-n + d / 2) / d));
}

// Every pixel of the line from `from` towards `to`, without `to` itself.
template <typename Visit> void WalkLinePixels(QPoint from, QPoint to, Visit visit) {
    const int dx = to.x() - from.x();
    const int dy = to.y() - from.y();
    const int steps = std::max(std::abs(dx), std::abs(dy));
    for (int i = 0; i < steps; ++i)
        visit(i, QPoint(from.x() + DivideRounded(static_cast<long long>(dx) * i, steps),
                        from.y() + DivideRounded(static_cast<long long>(dy) * i, steps)));
}

// The average character width as the platform measures it for this face: lowercase letters and
// the blank, weighted by how often they occur in text (per thousand).
constexpr std::pair<char, int> kLetterWeights[] = {
    {'a', 64}, {'b', 14}, {'c', 27}, {'d', 35}, {'e', 100}, {'f', 20}, {'g', 14}, {'h', 42}, {'i', 63},
    {'j', 3},  {'k', 6},  {'l', 35}, {'m', 20}, {'n', 56},  {'o', 56}, {'p', 17}, {'q', 4},  {'r', 49},
    {'s', 56}, {'t', 71}, {'u', 31}, {'v', 10}, {'w', 18},  {'x', 3},  {'y', 18}, {'z', 2},  {' ', 166}};

double AverageCharWidth(const QFontMetricsF& metrics) {
    double total = 0;
    for (const auto& [letter, weight] : kLetterWeights)
        total += weight * metrics.horizontalAdvance(QLatin1Char(letter));
    return total / 1000;
}

QFont ApplicationFont() {
    return qGuiApp != nullptr ? QGuiApplication::font() : QFont();
}

struct StockObjects {
    CBrush whiteBrush{RGB(255, 255, 255)};
    CBrush lightGreyBrush{RGB(192, 192, 192)};
    CBrush greyBrush{RGB(128, 128, 128)};
    CBrush darkGreyBrush{RGB(64, 64, 64)};
    CBrush blackBrush{RGB(0, 0, 0)};
    CBrush nullBrush;
    CPen whitePen{PS_SOLID, 1, RGB(255, 255, 255)};
    CPen blackPen{PS_SOLID, 1, RGB(0, 0, 0)};
    CPen nullPen{PS_NULL, 1, 0};
    CFont defaultFont;
    StockObjects() {
        nullBrush.m_bNull = true;
        nullBrush.m_bCreated = true;
        defaultFont.m_font = ApplicationFont();
        defaultFont.m_bCreated = true;
    }
};

StockObjects& Stock() {
    // Never destroyed: fonts must not outlive the application object's font database.
    static StockObjects* objects = new StockObjects;
    return *objects;
}
} // namespace

CGdiObject* GetStockObject(int nIndex) {
    StockObjects& stock = Stock();
    switch (nIndex) {
    case WHITE_BRUSH:
        return &stock.whiteBrush;
    case 1:
        return &stock.lightGreyBrush;
    case 2:
        return &stock.greyBrush;
    case 3:
        return &stock.darkGreyBrush;
    case BLACK_BRUSH:
        return &stock.blackBrush;
    case NULL_BRUSH:
        return &stock.nullBrush;
    case WHITE_PEN:
        return &stock.whitePen;
    case BLACK_PEN:
        return &stock.blackPen;
    case NULL_PEN:
        return &stock.nullPen;
    case DEFAULT_GUI_FONT:
        return &stock.defaultFont;
    default:
        return nullptr;
    }
}

BOOL CPen::CreatePen(int nPenStyle, int nWidth, COLORREF crColor) {
    m_nStyle = nPenStyle;
    m_nWidth = std::max(1, nWidth);
    m_crColor = crColor;
    m_bCreated = true;
    return TRUE;
}

BOOL CBrush::CreateSolidBrush(COLORREF crColor) {
    m_crColor = crColor;
    m_bNull = false;
    m_bCreated = true;
    return TRUE;
}

BOOL CFont::CreateFontIndirect(const LOGFONT* pLogFont) {
    if (pLogFont == nullptr)
        return FALSE;
    m_logFont = *pLogFont;
    QFont font = ApplicationFont();
    const std::string face(pLogFont->lfFaceName, strnlen(pLogFont->lfFaceName, LF_FACESIZE));
    if (!face.empty())
        font.setFamily(QString::fromLatin1(face == kArialFace ? kArialMetricTwin : face.c_str()));
    font.setStyleHint(QFont::SansSerif);
    if (pLogFont->lfHeight < 0) {
        font.setPixelSize(-pLogFont->lfHeight);
    } else if (pLogFont->lfHeight > 0) {
        // A positive height is the cell height: scale the character height to fit it.
        font.setPixelSize(pLogFont->lfHeight);
        const QFontMetrics cell(font);
        const int cellHeight = std::max(1, cell.ascent() + cell.descent());
        font.setPixelSize(std::max(
            1, DivideRounded(static_cast<long long>(pLogFont->lfHeight) * pLogFont->lfHeight, cellHeight)));
    }
    if (pLogFont->lfWeight > 0)
        font.setWeight(static_cast<QFont::Weight>(std::clamp<int>(pLogFont->lfWeight, 100, 900)));
    font.setItalic(pLogFont->lfItalic != 0);
    if (pLogFont->lfWidth > 0) {
        // Widen or narrow the face until its average character is lfWidth wide.
        const double naturalWidth = AverageCharWidth(QFontMetricsF(font));
        if (naturalWidth > 0)
            font.setStretch(
                std::clamp(static_cast<int>(100.0 * pLogFont->lfWidth / naturalWidth + 0.5), 1, 4000));
    }
    m_font = font;
    m_bCreated = true;
    return TRUE;
}

namespace {
constexpr double kInchesPerMetre = 1 / 0.0254;
int DotsPerMetre(int dotsPerInch) {
    return static_cast<int>(dotsPerInch * kInchesPerMetre + 0.5);
}
} // namespace

BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight) {
    if (nWidth <= 0 || nHeight <= 0)
        return FALSE;
    m_image = QImage(nWidth, nHeight, QImage::Format_RGB32);
    if (m_image.isNull())
        return FALSE;
    // Left uninitialised, as the platform leaves it: every user paints the whole bitmap first.
    if (pDC != nullptr && pDC->GetDevice() != nullptr) {
        const QPaintDevice* device = pDC->GetDevice();
        m_image.setDotsPerMeterX(DotsPerMetre(device->logicalDpiX()));
        m_image.setDotsPerMeterY(DotsPerMetre(device->logicalDpiY()));
    }
    return TRUE;
}

bool CBitmap::IsCompatible(CDC* pDC, int nWidth, int nHeight) const {
    if (m_image.isNull() || m_image.width() != nWidth || m_image.height() != nHeight)
        return false;
    if (pDC == nullptr || pDC->GetDevice() == nullptr)
        return true;
    const QPaintDevice* device = pDC->GetDevice();
    return m_image.dotsPerMeterX() == DotsPerMetre(device->logicalDpiX()) &&
           m_image.dotsPerMeterY() == DotsPerMetre(device->logicalDpiY());
}

struct CDC::State {
    int mapMode = MM_TEXT;
    CPoint windowOrg;
    CPoint viewportOrg;
    CSize windowExt{1, 1};
    CSize viewportExt{1, 1};
    CPen* pPen = nullptr;
    CPen pen;
    CBrush* pBrush = nullptr;
    CBrush brush;
    CFont* pFont = nullptr;
    QFont font;
    COLORREF textColour = RGB(0, 0, 0);
    COLORREF bkColour = RGB(255, 255, 255);
    int bkMode = OPAQUE;
    CPoint position;
};

CDC::CDC(QPaintDevice* device, bool printing) : m_bPrinting(printing), m_state(std::make_unique<State>()) {
    StockObjects& stock = Stock();
    m_state->pPen = &stock.blackPen;
    m_state->pen = stock.blackPen;
    m_state->pBrush = &stock.whiteBrush;
    m_state->brush = stock.whiteBrush;
    m_state->pFont = &stock.defaultFont;
    m_state->font = ApplicationFont();
    if (device == nullptr) {
        m_defaultSurface = QImage(1, 1, QImage::Format_RGB32);
        m_defaultSurface.fill(Qt::black);
        device = &m_defaultSurface;
    }
    m_pDevice = device;
}

CDC::~CDC() {
    EndPainting();
}

BOOL CDC::CreateCompatibleDC(CDC* pDC) {
    if (m_defaultSurface.isNull())
        return FALSE; // only a context made without a device becomes a memory context
    if (pDC != nullptr && pDC->GetDevice() != nullptr) {
        const QPaintDevice* device = pDC->GetDevice();
        m_defaultSurface.setDotsPerMeterX(DotsPerMetre(device->logicalDpiX()));
        m_defaultSurface.setDotsPerMeterY(DotsPerMetre(device->logicalDpiY()));
    }
    SetDevice(&m_defaultSurface);
    return TRUE;
}

void CDC::SetDevice(QPaintDevice* device) {
    EndPainting();
    m_pDevice = device;
    m_metrics.reset();
}

void CDC::EndPainting() {
    if (m_painter != nullptr) {
        FlushLines();
        m_painter->end();
        m_painter.reset();
    }
}

QPainter* CDC::Painter() {
    QPainter* painter = LinePainter();
    FlushLines();
    return painter;
}

QPainter* CDC::LinePainter() {
    if (m_painter != nullptr)
        return m_painter.get();
    if (m_pDevice == nullptr || m_pDevice->width() <= 0 || m_pDevice->height() <= 0)
        return nullptr;
    auto painter = std::make_unique<QPainter>();
    if (!painter->begin(m_pDevice))
        return nullptr;
    painter->setRenderHint(QPainter::Antialiasing, false);
    if (m_bHasClip)
        painter->setClipRect(QRect(m_clipBoxDevice.left, m_clipBoxDevice.top, m_clipBoxDevice.Width(),
                                   m_clipBoxDevice.Height()));
    m_bRasterEngine =
        painter->paintEngine() != nullptr && painter->paintEngine()->type() == QPaintEngine::Raster;
    m_pRasterImage = nullptr;
    if (m_bRasterEngine && m_pDevice->devType() == QInternal::Image) {
        auto* image = static_cast<QImage*>(m_pDevice);
        if ((image->format() == QImage::Format_RGB32 ||
             image->format() == QImage::Format_ARGB32_Premultiplied) &&
            image->isDetached())
            m_pRasterImage = image;
        if (m_pRasterImage != nullptr) {
            m_pRasterBits = reinterpret_cast<QRgb*>(image->bits());
            m_nRasterStride = image->bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb));
        }
    }
    m_painter = std::move(painter);
    m_bPenApplied = false;
    m_bFontApplied = false;
    return m_painter.get();
}

void CDC::FlushLines() {
    if (m_pendingLines.isEmpty())
        return;
    m_painter->drawLines(m_pendingLines.constData(), static_cast<int>(m_pendingLines.size()));
    m_pendingLines.resize(0);
}

QImage* CDC::DirectPixels() const {
    // Opaque pixels stored straight into the image are what the painter would store, as long as
    // nothing clips, moves or blends them.
    if (m_pRasterImage == nullptr || m_bHasClip || m_painter->hasClipping() ||
        m_painter->compositionMode() != QPainter::CompositionMode_SourceOver ||
        m_painter->deviceTransform().type() != QTransform::TxNone)
        return nullptr;
    return m_pRasterImage;
}

void CDC::StoreAxisLine(QImage& image, QPoint from, QPoint last, COLORREF crColor) {
    const QRect line = QRect(QPoint(std::min(from.x(), last.x()), std::min(from.y(), last.y())),
                             QPoint(std::max(from.x(), last.x()), std::max(from.y(), last.y())))
                           .intersected(image.rect());
    if (line.isEmpty())
        return;
    const QRgb pixel = ToQColor(crColor).rgba();
    const qsizetype stride = m_nRasterStride;
    QRgb* row = m_pRasterBits + line.top() * stride + line.left();
    if (line.height() == 1) {
        std::fill_n(row, line.width(), pixel);
        return;
    }
    for (int y = 0; y < line.height(); ++y, row += stride)
        *row = pixel;
}

// The painter's hairline from `from` to `last`, both included, in 26.6 and 16.16 fixed point as
// its rasteriser steps: half a pixel added at each end, the minor axis advanced by the slope.
void CDC::StoreHairline(QPoint from, QPoint last, COLORREF crColor) {
    const QRgb pixel = ToQColor(crColor).rgba();
    int major1 = from.x() * 64;
    int minor1 = from.y() * 64;
    int major2 = last.x() * 64;
    int minor2 = last.y() * 64;
    const bool steep = std::abs(major2 - major1) < std::abs(minor2 - minor1);
    if (steep) {
        std::swap(major1, minor1);
        std::swap(major2, minor2);
    }
    if (major1 > major2) {
        std::swap(major1, major2);
        std::swap(minor1, minor2);
    }
    const int slope = static_cast<int>(static_cast<long long>(minor2 - minor1) * 65536 / (major2 - major1));
    int minor = minor1 * 1024 - (slope >> 1);
    major1 -= 32;
    major2 += 32;
    int major = (major1 + 32) >> 6;
    const int majorEnd = (major2 + 32) >> 6;
    const int round = slope > 0 ? 32 : 0;
    minor += ((major * 64) + round - major1) * slope >> 6;
    for (; major < majorEnd; ++major, minor += slope) {
        const int x = steep ? minor >> 16 : major;
        const int y = steep ? major : minor >> 16;
        m_pRasterBits[y * m_nRasterStride + x] = pixel;
    }
}

bool CDC::PixelExactRects() const {
    // A whole-pixel shift keeps a one-pixel rectangle on exactly the pixels of a hairline; scaling
    // or a vector device would not.
    if (!m_bRasterEngine)
        return false;
    const QTransform& transform = m_painter->deviceTransform();
    return transform.type() <= QTransform::TxTranslate && transform.dx() == std::floor(transform.dx()) &&
           transform.dy() == std::floor(transform.dy());
}

QPainter* CDC::GetPainter() {
    QPainter* painter = Painter();
    // Whoever borrows the painter may change its pen and font.
    m_bPenApplied = false;
    m_bFontApplied = false;
    return painter;
}

int CDC::GetDeviceCaps(int nIndex) const {
    if (m_pDevice == nullptr)
        return 0;
    switch (nIndex) {
    case HORZRES:
        return m_pDevice->width();
    case VERTRES:
        return m_pDevice->height();
    case BITSPIXEL:
        return m_pDevice->depth();
    case LOGPIXELSX:
        return m_pDevice->logicalDpiX();
    case LOGPIXELSY:
        return m_pDevice->logicalDpiY();
    default:
        return 0;
    }
}

int CDC::SaveDC() {
    m_savedStates.push_back(*m_state);
    return static_cast<int>(m_savedStates.size());
}

BOOL CDC::RestoreDC(int nSavedDC) {
    const int saved = static_cast<int>(m_savedStates.size());
    const int level = nSavedDC < 0 ? saved + nSavedDC + 1 : nSavedDC;
    if (nSavedDC == 0 || level < 1 || level > saved)
        return FALSE;
    *m_state = m_savedStates[level - 1];
    m_savedStates.resize(level - 1);
    m_bPenApplied = false;
    m_bFontApplied = false;
    m_metrics.reset();
    return TRUE;
}

int CDC::SetMapMode(int nMapMode) {
    const int previous = m_state->mapMode;
    if (nMapMode != MM_TEXT && nMapMode != MM_ANISOTROPIC)
        return 0;
    m_state->mapMode = nMapMode;
    if (nMapMode == MM_TEXT) {
        m_state->windowExt = CSize(1, 1);
        m_state->viewportExt = CSize(1, 1);
    }
    return previous;
}

int CDC::GetMapMode() const {
    return m_state->mapMode;
}

CPoint CDC::SetWindowOrg(int x, int y) {
    return std::exchange(m_state->windowOrg, CPoint(x, y));
}

CPoint CDC::SetViewportOrg(int x, int y) {
    return std::exchange(m_state->viewportOrg, CPoint(x, y));
}

CSize CDC::SetWindowExt(int cx, int cy) {
    const CSize previous = m_state->windowExt;
    // The text mapping keeps its one-to-one extents; a zero extent would map nothing.
    if (m_state->mapMode == MM_ANISOTROPIC && cx != 0 && cy != 0)
        m_state->windowExt = CSize(cx, cy);
    return previous;
}

CSize CDC::SetViewportExt(int cx, int cy) {
    const CSize previous = m_state->viewportExt;
    if (m_state->mapMode == MM_ANISOTROPIC && cx != 0 && cy != 0)
        m_state->viewportExt = CSize(cx, cy);
    return previous;
}

QPoint CDC::ToDevice(int x, int y) const {
    const State& s = *m_state;
    if (s.mapMode == MM_TEXT)
        return QPoint(x - s.windowOrg.x + s.viewportOrg.x, y - s.windowOrg.y + s.viewportOrg.y);
    return QPoint(
        DivideRounded(static_cast<long long>(x - s.windowOrg.x) * s.viewportExt.cx, s.windowExt.cx) +
            s.viewportOrg.x,
        DivideRounded(static_cast<long long>(y - s.windowOrg.y) * s.viewportExt.cy, s.windowExt.cy) +
            s.viewportOrg.y);
}

QRect CDC::ToDeviceRect(int x1, int y1, int x2, int y2) const {
    const QPoint a = ToDevice(x1, y1);
    const QPoint b = ToDevice(x2, y2);
    // Half-open on the device whichever way the mapping turns the axes.
    const int left = std::min(a.x(), b.x());
    const int top = std::min(a.y(), b.y());
    return QRect(left, top, std::abs(b.x() - a.x()), std::abs(b.y() - a.y()));
}

void CDC::LPtoDP(CPoint* points, int count) const {
    for (int i = 0; i < count; ++i) {
        const QPoint device = ToDevice(points[i].x, points[i].y);
        points[i] = CPoint(device.x(), device.y());
    }
}

void CDC::DPtoLP(CPoint* points, int count) const {
    const State& s = *m_state;
    for (int i = 0; i < count; ++i) {
        CPoint& p = points[i];
        if (s.mapMode == MM_TEXT) {
            p = CPoint(p.x - s.viewportOrg.x + s.windowOrg.x, p.y - s.viewportOrg.y + s.windowOrg.y);
        } else {
            p = CPoint(DivideRounded(static_cast<long long>(p.x - s.viewportOrg.x) * s.windowExt.cx,
                                     s.viewportExt.cx) +
                           s.windowOrg.x,
                       DivideRounded(static_cast<long long>(p.y - s.viewportOrg.y) * s.windowExt.cy,
                                     s.viewportExt.cy) +
                           s.windowOrg.y);
        }
    }
}

void CDC::LPtoDP(CRect* rect) const {
    LPtoDP(reinterpret_cast<CPoint*>(rect), 2);
}

void CDC::DPtoLP(CRect* rect) const {
    DPtoLP(reinterpret_cast<CPoint*>(rect), 2);
}

CPen* CDC::SelectObject(CPen* pPen) {
    if (pPen == nullptr)
        return nullptr;
    CPen* previous = m_state->pPen;
    m_state->pPen = pPen;
    m_state->pen = *pPen;
    m_bPenApplied = false;
    return previous;
}

CBrush* CDC::SelectObject(CBrush* pBrush) {
    if (pBrush == nullptr)
        return nullptr;
    CBrush* previous = m_state->pBrush;
    m_state->pBrush = pBrush;
    m_state->brush = *pBrush;
    return previous;
}

CFont* CDC::SelectObject(CFont* pFont) {
    if (pFont == nullptr)
        return nullptr;
    CFont* previous = m_state->pFont;
    m_state->pFont = pFont;
    m_state->font = pFont->m_font;
    m_bFontApplied = false;
    m_metrics.reset();
    return previous;
}

CBitmap* CDC::SelectObject(CBitmap* pBitmap) {
    if (m_defaultSurface.isNull())
        return nullptr; // bitmaps go only into memory contexts
    CBitmap* previous = m_pSelectedBitmap;
    m_pSelectedBitmap = pBitmap;
    SetDevice(pBitmap != nullptr && !pBitmap->m_image.isNull() ? static_cast<QPaintDevice*>(&pBitmap->m_image)
                                                               : &m_defaultSurface);
    return previous;
}

CGdiObject* CDC::SelectGdiObject(CGdiObject* pObject) {
    if (auto* pen = dynamic_cast<CPen*>(pObject))
        return SelectObject(pen);
    if (auto* brush = dynamic_cast<CBrush*>(pObject))
        return SelectObject(brush);
    if (auto* font = dynamic_cast<CFont*>(pObject))
        return SelectObject(font);
    if (auto* bitmap = dynamic_cast<CBitmap*>(pObject))
        return SelectObject(bitmap);
    return nullptr;
}

CGdiObject* CDC::SelectStockObject(int nIndex) {
    CGdiObject* stock = GetStockObject(nIndex);
    return stock != nullptr ? SelectGdiObject(stock) : nullptr;
}

CGdiObject* CDC::GetCurrentObject(UINT nObjectType) const {
    switch (nObjectType) {
    case OBJ_PEN:
        return m_state->pPen;
    case OBJ_BRUSH:
        return m_state->pBrush;
    case OBJ_FONT:
        return m_state->pFont;
    case OBJ_BITMAP:
        return m_pSelectedBitmap;
    default:
        return nullptr;
    }
}

COLORREF CDC::SetTextColor(COLORREF crColor) {
    return std::exchange(m_state->textColour, crColor);
}
COLORREF CDC::GetTextColor() const {
    return m_state->textColour;
}
COLORREF CDC::SetBkColor(COLORREF crColor) {
    return std::exchange(m_state->bkColour, crColor);
}
COLORREF CDC::GetBkColor() const {
    return m_state->bkColour;
}

int CDC::SetBkMode(int nBkMode) {
    if (nBkMode != OPAQUE && nBkMode != TRANSPARENT)
        return 0;
    return std::exchange(m_state->bkMode, nBkMode);
}

int CDC::GetBkMode() const {
    return m_state->bkMode;
}

void CDC::ApplyPen() {
    if (m_bPenApplied)
        return;
    const CPen& pen = m_state->pen;
    QPen qpen(ToQColor(pen.m_crColor));
    if (pen.m_nWidth <= 1) {
        // Cosmetic: both ends inclusive; LineTo shortens the line itself.
        qpen.setWidth(0);
        qpen.setCapStyle(Qt::SquareCap);
    } else {
        qpen.setWidth(pen.m_nWidth);
        qpen.setCapStyle(Qt::RoundCap);
    }
    m_painter->setPen(qpen);
    m_bPenApplied = true;
}

void CDC::ApplyFont() {
    if (m_bFontApplied)
        return;
    m_painter->setFont(m_state->font);
    m_bFontApplied = true;
}

const QFontMetrics& CDC::Metrics() const {
    if (m_metrics == nullptr)
        m_metrics = std::make_unique<QFontMetrics>(m_state->font, m_pDevice);
    return *m_metrics;
}

CPoint CDC::MoveTo(int x, int y) {
    return std::exchange(m_state->position, CPoint(x, y));
}

CPoint CDC::GetCurrentPosition() const {
    return m_state->position;
}

BOOL CDC::LineTo(int x, int y) {
    const QPoint from = ToDevice(m_state->position.x, m_state->position.y);
    m_state->position = CPoint(x, y);
    DrawDeviceLine(from, ToDevice(x, y));
    return TRUE;
}

void CDC::DrawDeviceLine(QPoint from, QPoint to) {
    const CPen& pen = m_state->pen;
    if (pen.m_nStyle == PS_NULL || from == to)
        return;
    if (pen.m_nStyle != PS_SOLID && pen.m_nWidth <= 1) {
        DrawStyledLine(from, to);
        return;
    }
    if (pen.m_nWidth > 1) {
        if (QPainter* painter = Painter()) {
            ApplyPen();
            painter->drawLine(from, to);
        }
        return;
    }
    QPainter* painter = LinePainter();
    if (painter == nullptr)
        return;
    if (!m_bPenApplied) {
        // The waiting lines belong to the pen that is about to be replaced.
        FlushLines();
        ApplyPen();
    }
    // The platform leaves out the end point; draw up to the pixel before it, both ends included.
    const int dx = to.x() - from.x();
    const int dy = to.y() - from.y();
    const int steps = std::max(std::abs(dx), std::abs(dy));
    const QPoint last(from.x() + DivideRounded(static_cast<long long>(dx) * (steps - 1), steps),
                      from.y() + DivideRounded(static_cast<long long>(dy) * (steps - 1), steps));
    const bool alongAxis = from.x() == last.x() || from.y() == last.y();
    if (alongAxis) {
        if (QImage* image = DirectPixels()) {
            StoreAxisLine(*image, from, last, pen.m_crColor);
            return;
        }
    }
    const bool exactRects = PixelExactRects();
    if (last == from && !exactRects) {
        FlushLines();
        painter->drawPoint(from);
        return;
    }
    if (alongAxis && exactRects) {
        // Lines along an axis are plain rectangles one pixel wide, far cheaper than stroking.
        painter->fillRect(QRect(QPoint(std::min(from.x(), last.x()), std::min(from.y(), last.y())),
                                QPoint(std::max(from.x(), last.x()), std::max(from.y(), last.y()))),
                          painter->pen().color());
        return;
    }
    if (QImage* image = DirectPixels();
        image != nullptr && image->rect().contains(from) && image->rect().contains(last)) {
        StoreHairline(from, last, pen.m_crColor);
        return;
    }
    // Each line of one call is stroked on its own, so collecting them changes no pixel.
    m_pendingLines.push_back(QLine(from, last));
}

void CDC::DrawStyledLine(QPoint from, QPoint to) {
    QPainter* painter = Painter();
    if (painter == nullptr)
        return;
    const bool opaqueGaps = m_state->bkMode == OPAQUE;
    // The pixels of one line are all different, so dots and gaps may go in any order.
    if (QImage* image = DirectPixels()) {
        const QRgb dot = ToQColor(m_state->pen.m_crColor).rgba();
        const QRgb gap = ToQColor(m_state->bkColour).rgba();
        const QRect bounds = image->rect();
        WalkLinePixels(from, to, [&](int i, QPoint pixel) {
            const bool on = i % kDotPeriodPixels < kDotOnPixels;
            if ((on || opaqueGaps) && bounds.contains(pixel))
                m_pRasterBits[pixel.y() * m_nRasterStride + pixel.x()] = on ? dot : gap;
        });
        return;
    }
    QVector<QPoint>& dots = m_styledDots;
    QVector<QPoint>& gaps = m_styledGaps;
    dots.resize(0);
    gaps.resize(0);
    WalkLinePixels(from, to, [&](int i, QPoint pixel) {
        (i % kDotPeriodPixels < kDotOnPixels ? dots : gaps).push_back(pixel);
    });
    m_bPenApplied = false;
    QPen pen(ToQColor(m_state->pen.m_crColor), 0);
    painter->setPen(pen);
    painter->drawPoints(dots.data(), static_cast<int>(dots.size()));
    // An opaque background fills the gaps of a styled line, as it does behind text.
    if (opaqueGaps && !gaps.isEmpty()) {
        pen.setColor(ToQColor(m_state->bkColour));
        painter->setPen(pen);
        painter->drawPoints(gaps.data(), static_cast<int>(gaps.size()));
    }
}

void CDC::FillDeviceRect(const QRect& rect, COLORREF crColor) {
    if (rect.isEmpty())
        return;
    if (QPainter* painter = Painter())
        painter->fillRect(rect, ToQColor(crColor));
}

BOOL CDC::Rectangle(int x1, int y1, int x2, int y2) {
    const QRect box = ToDeviceRect(x1, y1, x2, y2);
    if (box.isEmpty())
        return TRUE;
    const CPen& pen = m_state->pen;
    const int border = pen.m_nStyle == PS_NULL ? 0 : std::min({pen.m_nWidth, box.width(), box.height()});
    if (!m_state->brush.m_bNull)
        FillDeviceRect(box.adjusted(border, border, -border, -border), m_state->brush.m_crColor);
    if (border == 0)
        return TRUE;
    // The outline lies inside the rectangle, right and bottom edges excluded.
    FillDeviceRect(QRect(box.left(), box.top(), box.width(), border), pen.m_crColor);
    FillDeviceRect(QRect(box.left(), box.bottom() - border + 1, box.width(), border), pen.m_crColor);
    FillDeviceRect(QRect(box.left(), box.top(), border, box.height()), pen.m_crColor);
    FillDeviceRect(QRect(box.right() - border + 1, box.top(), border, box.height()), pen.m_crColor);
    return TRUE;
}

COLORREF CDC::SetPixelV(int x, int y, COLORREF crColor) {
    const QPoint pixel = ToDevice(x, y);
    FillDeviceRect(QRect(pixel, QSize(1, 1)), crColor);
    return crColor;
}

void CDC::FillSolidRect(const CRect& rect, COLORREF crColor) {
    SetBkColor(crColor);
    FillDeviceRect(ToDeviceRect(rect.left, rect.top, rect.right, rect.bottom), crColor);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF crColor) {
    FillSolidRect(CRect(x, y, x + cx, y + cy), crColor);
}

void CDC::FillRect(const CRect& rect, CBrush* pBrush) {
    if (pBrush == nullptr || pBrush->m_bNull)
        return;
    FillDeviceRect(ToDeviceRect(rect.left, rect.top, rect.right, rect.bottom), pBrush->m_crColor);
}

BOOL CDC::PatBlt(int x, int y, int nWidth, int nHeight, DWORD dwRop) {
    const QRect box = ToDeviceRect(x, y, x + nWidth, y + nHeight);
    switch (dwRop) {
    case BLACKNESS:
        FillDeviceRect(box, RGB(0, 0, 0));
        return TRUE;
    case WHITENESS:
        FillDeviceRect(box, RGB(255, 255, 255));
        return TRUE;
    case PATCOPY:
        if (!m_state->brush.m_bNull)
            FillDeviceRect(box, m_state->brush.m_crColor);
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL CDC::BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop) {
    if (dwRop != SRCCOPY)
        return PatBlt(x, y, nWidth, nHeight, dwRop);
    if (pSrcDC == nullptr)
        return FALSE;
    const auto* source = dynamic_cast<const QImage*>(pSrcDC->GetDevice());
    if (source == nullptr)
        return FALSE;
    pSrcDC->EndPainting();
    QPainter* painter = Painter();
    if (painter == nullptr)
        return FALSE;
    const QRect target = ToDeviceRect(x, y, x + nWidth, y + nHeight);
    const QRect from = pSrcDC->ToDeviceRect(xSrc, ySrc, xSrc + nWidth, ySrc + nHeight);
    const QPainter::CompositionMode mode = painter->compositionMode();
    painter->setCompositionMode(QPainter::CompositionMode_Source);
    painter->drawImage(target, *source, from);
    painter->setCompositionMode(mode);
    return TRUE;
}

void CDC::DrawFocusRect(const CRect& rect) {
    const QRect box = ToDeviceRect(rect.left, rect.top, rect.right, rect.bottom);
    if (box.isEmpty())
        return;
    QPainter* painter = Painter();
    if (painter == nullptr)
        return;
    QVector<QPoint> dots;
    const QPoint corners[] = {box.topLeft(), QPoint(box.right(), box.top()), box.bottomRight(),
                              QPoint(box.left(), box.bottom()), box.topLeft()};
    for (int side = 0; side < 4; ++side) {
        // The end of each side is the start of the next; the last side closes at the first corner.
        WalkLinePixels(corners[side], corners[side + 1], [&](int i, QPoint pixel) {
            if (i % kFocusDotPeriodPixels == 0)
                dots.push_back(pixel);
        });
    }
    if (dots.isEmpty())
        dots.push_back(box.topLeft());
    // Inverting, so that drawing it twice takes it away again.
    const QPainter::CompositionMode mode = painter->compositionMode();
    painter->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter->setPen(QPen(Qt::white, 0));
    painter->drawPoints(dots.data(), static_cast<int>(dots.size()));
    painter->setCompositionMode(mode);
    m_bPenApplied = false;
}

namespace {
// Opaque text cells, drawn once and copied on later paints: the chart's labels repeat on every
// paint. Only cells whose ink stays inside them are kept, so a copy is the drawing pixel for pixel.
class TextCellCache {
public:
    const QImage* Find(const QFont& font, int dpmX, int dpmY, const QString& text, COLORREF textColour,
                       COLORREF bkColour, const QFontMetrics& metrics) {
        if (font != m_font || dpmX != m_dpmX || dpmY != m_dpmY) {
            m_cells.clear();
            m_font = font;
            m_dpmX = dpmX;
            m_dpmY = dpmY;
        }
        Key key{text, textColour, bkColour};
        const auto found = m_cells.find(key);
        if (found != m_cells.end())
            return found->isNull() ? nullptr : &*found;
        if (m_cells.size() >= kMaxCells)
            m_cells.clear();
        // A cell whose ink leaves it is remembered as null, so the caller draws it every time.
        const QImage& cell = *m_cells.insert(key, Draw(text, textColour, bkColour, metrics));
        return cell.isNull() ? nullptr : &cell;
    }

private:
    static constexpr qsizetype kMaxCells = 1024;
    static constexpr int kMargin = 2;
    struct Key {
        QString text;
        COLORREF textColour;
        COLORREF bkColour;
        bool operator==(const Key&) const = default;
    };
    friend size_t qHash(const Key& key, size_t seed) {
        return qHashMulti(seed, key.text, key.textColour, key.bkColour);
    }

    // The cell, or a null image when some ink falls outside it.
    QImage Draw(const QString& text, COLORREF textColour, COLORREF bkColour,
                const QFontMetrics& metrics) const {
        const QSize cell(metrics.horizontalAdvance(text), metrics.ascent() + metrics.descent());
        if (cell.isEmpty())
            return {};
        // A margin in a colour the text cannot leave unchanged shows any ink outside the cell.
        const QColor ink = ToQColor(textColour);
        const QColor sentinel = ink.lightness() > 127 ? Qt::black : Qt::white;
        QImage canvas(cell.width() + 2 * kMargin, cell.height() + 2 * kMargin, QImage::Format_RGB32);
        canvas.setDotsPerMeterX(m_dpmX);
        canvas.setDotsPerMeterY(m_dpmY);
        canvas.fill(sentinel);
        {
            QPainter painter(&canvas);
            painter.setRenderHint(QPainter::Antialiasing, false);
            painter.fillRect(QRect(QPoint(kMargin, kMargin), cell), ToQColor(bkColour));
            painter.setFont(m_font);
            painter.setPen(ink);
            painter.drawText(QPoint(kMargin, kMargin + metrics.ascent()), text);
        }
        const QRgb untouched = sentinel.rgba();
        for (int y = 0; y < canvas.height(); ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(canvas.constScanLine(y));
            const bool inCellRow = y >= kMargin && y < kMargin + cell.height();
            for (int x = 0; x < canvas.width(); ++x) {
                if (inCellRow && x == kMargin)
                    x += cell.width();
                if (x < canvas.width() && row[x] != untouched)
                    return {};
            }
        }
        return canvas.copy(QRect(QPoint(kMargin, kMargin), cell));
    }

    QFont m_font;
    int m_dpmX = 0;
    int m_dpmY = 0;
    QHash<Key, QImage> m_cells;
};

TextCellCache& TextCells() {
    // Never destroyed: fonts must not outlive the application object's font database.
    static TextCellCache* cells = new TextCellCache;
    return *cells;
}
} // namespace

bool CDC::CopyTextCell(QPoint topLeft, const QString& text) {
    QImage* image = DirectPixels();
    if (image == nullptr || m_state->bkMode != OPAQUE || image->format() != QImage::Format_RGB32)
        return false;
    const QImage* cell = TextCells().Find(m_state->font, image->dotsPerMeterX(), image->dotsPerMeterY(), text,
                                          m_state->textColour, m_state->bkColour, Metrics());
    if (cell == nullptr)
        return false;
    const QRect target = QRect(topLeft, cell->size()).intersected(image->rect());
    for (int y = target.top(); y <= target.bottom(); ++y) {
        const auto* source = reinterpret_cast<const QRgb*>(cell->constScanLine(y - topLeft.y()));
        std::copy_n(source + (target.left() - topLeft.x()), target.width(),
                    m_pRasterBits + y * m_nRasterStride + target.left());
    }
    return true;
}

void CDC::DrawOpaqueText(QPoint topLeft, const QString& text, const QRect* clip) {
    QPainter* painter = Painter();
    if (painter == nullptr || text.isEmpty())
        return;
    if (clip == nullptr && CopyTextCell(topLeft, text))
        return;
    const QFontMetrics& metrics = Metrics();
    if (clip != nullptr) {
        painter->save();
        painter->setClipRect(*clip, m_bHasClip ? Qt::IntersectClip : Qt::ReplaceClip);
    }
    if (m_state->bkMode == OPAQUE)
        painter->fillRect(
            QRect(topLeft, QSize(metrics.horizontalAdvance(text), metrics.ascent() + metrics.descent())),
            ToQColor(m_state->bkColour));
    ApplyFont();
    painter->setPen(ToQColor(m_state->textColour));
    m_bPenApplied = false;
    painter->drawText(QPoint(topLeft.x(), topLeft.y() + metrics.ascent()), text);
    if (clip != nullptr) {
        painter->restore();
        m_bFontApplied = false;
    }
}

BOOL CDC::TextOut(int x, int y, const std::string& text) {
    DrawOpaqueText(ToDevice(x, y), TextFromBytes(text), nullptr);
    return TRUE;
}

BOOL CDC::TextOut(int x, int y, const char* text, int count) {
    return TextOut(x, y, std::string(text, static_cast<size_t>(std::max(0, count))));
}

namespace {
// "&x" marks x as the mnemonic and "&&" stands for "&"; neither ampersand is drawn.
QString WithoutPrefixMarks(const QString& text) {
    QString plain;
    plain.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size())
            ++i;
        else if (text[i] == '&')
            continue;
        plain.append(text[i]);
    }
    return plain;
}
} // namespace

int CDC::DrawText(const std::string& text, CRect* rect, UINT nFormat) {
    if (rect == nullptr)
        return 0;
    QString shown = TextFromBytes(text);
    if ((nFormat & DT_NOPREFIX) == 0)
        shown = WithoutPrefixMarks(shown);
    if ((nFormat & DT_SINGLELINE) != 0)
        shown.replace('\n', ' ').remove('\r');
    const QFontMetrics& metrics = Metrics();
    const QPoint topLeftDevice = ToDevice(rect->left, rect->top);
    const QPoint bottomRightDevice = ToDevice(rect->right, rect->bottom);
    const int textWidth = metrics.horizontalAdvance(shown);
    const int textHeight = metrics.ascent() + metrics.descent();
    if ((nFormat & DT_CALCRECT) != 0) {
        CPoint corner[2] = {CPoint(topLeftDevice.x(), topLeftDevice.y()),
                            CPoint(topLeftDevice.x() + textWidth, topLeftDevice.y() + textHeight)};
        DPtoLP(corner, 2);
        rect->right = corner[1].x;
        rect->bottom = corner[1].y;
        return std::abs(corner[1].y - corner[0].y);
    }
    const QRect box(topLeftDevice, QSize(bottomRightDevice.x() - topLeftDevice.x(),
                                         bottomRightDevice.y() - topLeftDevice.y()));
    int x = box.left();
    if ((nFormat & DT_CENTER) != 0)
        x = box.left() + (box.width() - textWidth) / 2;
    else if ((nFormat & DT_RIGHT) != 0)
        x = box.left() + box.width() - textWidth;
    int y = box.top();
    if ((nFormat & DT_SINGLELINE) != 0 && (nFormat & DT_VCENTER) != 0)
        y = box.top() + (box.height() - textHeight) / 2;
    else if ((nFormat & DT_SINGLELINE) != 0 && (nFormat & DT_BOTTOM) != 0)
        y = box.top() + box.height() - textHeight;
    DrawOpaqueText(QPoint(x, y), shown, (nFormat & DT_NOCLIP) != 0 ? nullptr : &box);
    return textHeight;
}

CSize CDC::GetTextExtent(const std::string& text) const {
    const QFontMetrics& metrics = Metrics();
    const QString shown = TextFromBytes(text);
    CPoint extent[2] = {CPoint(0, 0),
                        CPoint(metrics.horizontalAdvance(shown), metrics.ascent() + metrics.descent())};
    if (m_state->mapMode != MM_TEXT) {
        // Measured in device units, answered in logical ones.
        const State& s = *m_state;
        extent[1] = CPoint(
            std::abs(DivideRounded(static_cast<long long>(extent[1].x) * s.windowExt.cx, s.viewportExt.cx)),
            std::abs(DivideRounded(static_cast<long long>(extent[1].y) * s.windowExt.cy, s.viewportExt.cy)));
    }
    return CSize(extent[1].x, extent[1].y);
}

CSize CDC::GetTextExtent(const char* text, int count) const {
    return GetTextExtent(std::string(text, static_cast<size_t>(std::max(0, count))));
}

BOOL CDC::GetTextMetrics(TEXTMETRIC* metrics) const {
    if (metrics == nullptr)
        return FALSE;
    const QFontMetrics& fm = Metrics();
    metrics->tmAscent = fm.ascent();
    metrics->tmDescent = fm.descent();
    metrics->tmHeight = fm.ascent() + fm.descent();
    const int characterHeight =
        m_state->font.pixelSize() > 0 ? m_state->font.pixelSize() : QFontInfo(m_state->font).pixelSize();
    metrics->tmInternalLeading = std::max(0, metrics->tmHeight - characterHeight);
    metrics->tmExternalLeading = std::max(0, fm.leading());
    metrics->tmAveCharWidth =
        static_cast<LONG>(AverageCharWidth(QFontMetricsF(m_state->font, m_pDevice)) + 0.5);
    metrics->tmMaxCharWidth = fm.maxWidth();
    return TRUE;
}

int CDC::GetClipBox(CRect* rect) const {
    if (rect == nullptr)
        return 0;
    CRect box = m_bHasClip ? m_clipBoxDevice
                           : CRect(0, 0, m_pDevice != nullptr ? m_pDevice->width() : 0,
                                   m_pDevice != nullptr ? m_pDevice->height() : 0);
    DPtoLP(&box);
    // A flipped axis turns the corners over; the box is always given top-left first.
    *rect = CRect(std::min(box.left, box.right), std::min(box.top, box.bottom), std::max(box.left, box.right),
                  std::max(box.top, box.bottom));
    return rect->IsRectEmpty() ? NULLREGION : SIMPLEREGION;
}

void CDC::SetClipBoxDevice(const CRect& rect) {
    if (m_painter != nullptr)
        FlushLines();
    m_clipBoxDevice = rect;
    m_bHasClip = true;
    if (m_painter != nullptr)
        m_painter->setClipRect(QRect(rect.left, rect.top, rect.Width(), rect.Height()));
}
