#include "framework/CDC.h"

#include <QGuiApplication>
#include <QPaintDevice>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <utility>
#ifdef __linux__
#include <sys/mman.h>
#endif

namespace {
constexpr const char* kArialFace = "Arial";
constexpr const char* kArialMetricTwin = "Liberation Sans";
constexpr double kInchesPerMetre = 1 / 0.0254;

// Lowercase letters and the blank, weighted by how often they occur in text (per thousand).
constexpr std::pair<char, int> kLetterWeights[] = {
    {'a', 64}, {'b', 14}, {'c', 27}, {'d', 35}, {'e', 100}, {'f', 20}, {'g', 14}, {'h', 42}, {'i', 63},
    {'j', 3},  {'k', 6},  {'l', 35}, {'m', 20}, {'n', 56},  {'o', 56}, {'p', 17}, {'q', 4},  {'r', 49},
    {'s', 56}, {'t', 71}, {'u', 31}, {'v', 10}, {'w', 18},  {'x', 3},  {'y', 18}, {'z', 2},  {' ', 166}};

struct StockObjects {
    CPen blackPen{PS_SOLID, 1, RGB(0, 0, 0)};
    CFont font;
    StockObjects() { font.m_font = drawing::ApplicationFont(); }
};

StockObjects& Stock() {
    // Never destroyed: fonts must not outlive the application object's font database.
    static StockObjects* objects = new StockObjects;
    return *objects;
}
} // namespace

namespace drawing {
QColor ToQColor(COLORREF colour) {
    return QColor(GetRValue(colour), GetGValue(colour), GetBValue(colour));
}

double AverageCharWidth(const QFontMetricsF& metrics) {
    double total = 0;
    for (const auto& [letter, weight] : kLetterWeights)
        total += weight * metrics.horizontalAdvance(QLatin1Char(letter));
    return total / 1000;
}

QFont ApplicationFont() {
    return qGuiApp != nullptr ? QGuiApplication::font() : QFont();
}

int DotsPerMetre(int dotsPerInch) {
    return static_cast<int>(dotsPerInch * kInchesPerMetre + 0.5);
}

CPen& StockBlackPen() {
    return Stock().blackPen;
}
CFont& StockFont() {
    return Stock().font;
}
} // namespace drawing

BOOL CFont::CreateFontIndirect(const LOGFONT* pLogFont) {
    QFont font = drawing::ApplicationFont();
    const std::string face(pLogFont->lfFaceName, strnlen(pLogFont->lfFaceName, LF_FACESIZE));
    if (!face.empty())
        font.setFamily(QString::fromLatin1(face == kArialFace ? kArialMetricTwin : face.c_str()));
    font.setStyleHint(QFont::SansSerif);
    if (pLogFont->lfHeight < 0)
        font.setPixelSize(-pLogFont->lfHeight);
    font.setItalic(false);
    if (pLogFont->lfWidth > 0) {
        // Widen or narrow the face until its average character is lfWidth wide.
        const double naturalWidth = drawing::AverageCharWidth(QFontMetricsF(font));
        if (naturalWidth > 0)
            font.setStretch(
                std::clamp(static_cast<int>(100.0 * pLogFont->lfWidth / naturalWidth + 0.5), 1, 4000));
    }
    m_font = font;
    return TRUE;
}

namespace {
// The device's pixels per device-independent pixel: a bitmap for a high-density screen holds
// that many more, so that copying it to the screen scales nothing.
qreal RatioOf(CDC* pDC) {
    return pDC != nullptr && pDC->GetDevice() != nullptr ? pDC->GetDevice()->devicePixelRatio() : 1.0;
}

QSize PixelsFor(int nWidth, int nHeight, qreal ratio) {
    return QSize(static_cast<int>(std::ceil(nWidth * ratio)), static_cast<int>(std::ceil(nHeight * ratio)));
}

// A bitmap of some megabytes lies on huge pages where the system offers them: a large field's
// curves touch every row, and on small pages nearly every row costs an address translation miss.
QImage BitmapImage(QSize pixels) {
#ifdef __linux__
    constexpr std::size_t kHugePage = std::size_t{2} << 20;
    const std::size_t bytes =
        static_cast<std::size_t>(pixels.width()) * static_cast<std::size_t>(pixels.height()) * 4;
    if (bytes >= 2 * kHugePage) {
        // Only whole huge pages are asked for, so that the tail costs no more memory than before.
        if (void* memory = std::aligned_alloc(kHugePage, (bytes + kHugePage - 1) / kHugePage * kHugePage)) {
            madvise(memory, bytes / kHugePage * kHugePage, MADV_HUGEPAGE);
            return QImage(
                static_cast<uchar*>(memory), pixels.width(), pixels.height(), pixels.width() * 4,
                QImage::Format_RGB32, [](void* image) { std::free(image); }, memory);
        }
    }
#endif
    return QImage(pixels, QImage::Format_RGB32);
}
} // namespace

BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight) {
    if (nWidth <= 0 || nHeight <= 0)
        return FALSE;
    const qreal ratio = RatioOf(pDC);
    m_image = BitmapImage(PixelsFor(nWidth, nHeight, ratio));
    if (m_image.isNull())
        return FALSE;
    m_image.setDevicePixelRatio(ratio);
    // Left uninitialised, as the platform leaves it: every user paints the whole bitmap first.
    if (pDC != nullptr && pDC->GetDevice() != nullptr) {
        m_image.setDotsPerMeterX(drawing::DotsPerMetre(pDC->GetDevice()->logicalDpiX()));
        m_image.setDotsPerMeterY(drawing::DotsPerMetre(pDC->GetDevice()->logicalDpiY()));
    }
    return TRUE;
}

bool CBitmap::IsCompatible(CDC* pDC, int nWidth, int nHeight) const {
    const qreal ratio = RatioOf(pDC);
    if (m_image.isNull() || m_image.devicePixelRatio() != ratio ||
        m_image.size() != PixelsFor(nWidth, nHeight, ratio))
        return false;
    if (pDC == nullptr || pDC->GetDevice() == nullptr)
        return true;
    return m_image.dotsPerMeterX() == drawing::DotsPerMetre(pDC->GetDevice()->logicalDpiX()) &&
           m_image.dotsPerMeterY() == drawing::DotsPerMetre(pDC->GetDevice()->logicalDpiY());
}

void CDC::SaveDC() {
    m_savedStates.push_back(m_state);
}

void CDC::RestoreDC() {
    if (m_savedStates.empty())
        return;
    m_state = m_savedStates.back();
    m_savedStates.pop_back();
    m_bPenApplied = false;
    m_bFontApplied = false;
    m_metrics.reset();
}

CPen* CDC::SelectObject(CPen* pPen) {
    CPen* previous = std::exchange(m_state.pPen, pPen);
    m_state.pen = *pPen;
    m_bPenApplied = false;
    return previous;
}

CFont* CDC::SelectObject(CFont* pFont) {
    CFont* previous = std::exchange(m_state.pFont, pFont);
    m_state.font = pFont->m_font;
    m_bFontApplied = false;
    m_metrics.reset();
    return previous;
}

CBitmap* CDC::SelectObject(CBitmap* pBitmap) {
    if (m_defaultSurface.isNull())
        return nullptr; // bitmaps go only into memory contexts
    CBitmap* previous = std::exchange(m_pSelectedBitmap, pBitmap);
    SetDevice(pBitmap != nullptr && !pBitmap->m_image.isNull() ? static_cast<QPaintDevice*>(&pBitmap->m_image)
                                                               : &m_defaultSurface);
    return previous;
}

COLORREF CDC::SetTextColor(COLORREF crColor) {
    return std::exchange(m_state.textColour, crColor);
}

COLORREF CDC::SetBkColor(COLORREF crColor) {
    return std::exchange(m_state.bkColour, crColor);
}

int CDC::SetBkMode(int nBkMode) {
    if (nBkMode != OPAQUE && nBkMode != TRANSPARENT)
        return 0;
    return std::exchange(m_state.bkMode, nBkMode);
}
