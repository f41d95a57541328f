#pragma once

// The device context: drawing through QPainter with the semantics of the platform's device
// contexts that the views rely on (mapping modes, window/viewport origins and extents, a current
// position, LineTo excluding its end point, opaque text, saved and restored states). The drawing
// objects are in DrawingObjects.h, the mapping in DeviceMapping.cpp, the direct stores into images
// in RasterFastPath.cpp, the lines of pages and drawings in VectorClip.cpp and the cache of text
// cells in TextCellCache.cpp.

#include "framework/DrawingObjects.h"
#include "framework/PolylineField.h"

#include <QFontMetrics>
#include <QPainter>
#include <QVector>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QPaintDevice;

// Mapping modes
constexpr int MM_TEXT = 1;
constexpr int MM_ANISOTROPIC = 8;
// Raster operations of PatBlt
constexpr DWORD BLACKNESS = 0x00000042;
constexpr DWORD WHITENESS = 0x00FF0062;
// Device capabilities
constexpr int HORZRES = 8;
constexpr int VERTRES = 10;
constexpr int LOGPIXELSX = 88;
constexpr int LOGPIXELSY = 90;
// DrawText formats
constexpr UINT DT_LEFT = 0x0000;
constexpr UINT DT_CENTER = 0x0001;
constexpr UINT DT_RIGHT = 0x0002;
constexpr UINT DT_VCENTER = 0x0004;
constexpr UINT DT_SINGLELINE = 0x0020;
constexpr UINT DT_NOCLIP = 0x0100;
constexpr UINT DT_CALCRECT = 0x0400;
constexpr UINT DT_NOPREFIX = 0x0800; // the only way text is drawn: an ampersand is an ampersand

struct TEXTMETRIC {
    LONG tmHeight = 0;
    LONG tmInternalLeading = 0;
    LONG tmExternalLeading = 0;
    LONG tmAveCharWidth = 0;
};

class CDC {
public:
    // A device context that paints on device (a widget during its paint event, an image, a
    // printer); printing marks printer and print preview contexts. Without a device it is a
    // memory context waiting for CreateCompatibleDC and a bitmap.
    explicit CDC(QPaintDevice* device = nullptr, bool printing = false);
    virtual ~CDC();
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    // Memory device context compatible with pDC; draws into the bitmap selected into it.
    BOOL CreateCompatibleDC(CDC* pDC);
    BOOL IsPrinting() const { return m_bPrinting; }
    int GetDeviceCaps(int nIndex) const;

    // Saved states nest; RestoreDC brings back the last one saved, if any.
    void SaveDC();
    void RestoreDC();

    // Mapping
    int SetMapMode(int nMapMode);
    CPoint SetWindowOrg(int x, int y);
    CPoint SetViewportOrg(int x, int y);
    CSize SetWindowExt(int cx, int cy);
    CSize SetViewportExt(int cx, int cy);
    void LPtoDP(CPoint* point) const;

    // Objects
    CPen* SelectObject(CPen* pPen);
    CFont* SelectObject(CFont* pFont);
    CBitmap* SelectObject(CBitmap* pBitmap);

    // Colours and modes
    COLORREF SetTextColor(COLORREF crColor);
    COLORREF SetBkColor(COLORREF crColor);
    COLORREF GetBkColor() const { return m_state.bkColour; }
    int SetBkMode(int nBkMode);

    // Lines and shapes (logical coordinates)
    CPoint MoveTo(int x, int y);
    BOOL LineTo(int x, int y);
    // From the current position through each point in turn: exactly the pixels of as many LineTo
    // calls, for a fraction of their cost. The last point becomes the current position.
    BOOL PolylineTo(const CPoint* points, int count);
    // A field of many items' polylines, each item's added by build(item, field): drawn in the
    // items' order as their pens, MoveTo and PolylineTo would draw them, pixel for pixel. A large
    // field of solid hairlines on an image is built and drawn on all the processor's cores, so
    // build must be safe to call from several threads at once.
    void DrawPolylineField(int itemCount, const std::function<void(int item, PolylineField& field)>& build);
    void FillSolidRect(const CRect& rect, COLORREF crColor);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF crColor);
    void FillRect(const CRect& rect, CBrush* pBrush);
    BOOL PatBlt(int x, int y, int nWidth, int nHeight, DWORD dwRop);
    // Copies the pixels of a memory context's bitmap.
    BOOL BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc);
    void DrawFocusRect(const CRect& rect);

    // Text
    BOOL TextOut(int x, int y, const std::string& text);
    int DrawText(const std::string& text, CRect* rect, UINT nFormat);
    CSize GetTextExtent(const std::string& text) const;
    CSize GetTextExtent(const char* text, int count) const;
    BOOL GetTextMetrics(TEXTMETRIC* metrics) const;

    // Clipping: the box of what needs painting, in logical coordinates.
    void GetClipBox(CRect* rect) const;
    // Limits later painting to rect (device coordinates); used by paint events and tests.
    void SetClipBoxDevice(const CRect& rect);

    // The painter, for the framework's own use (off-screen copies, printing).
    QPainter* GetPainter();

    // Ends the painter, so that the device can be read or painted by someone else.
    void EndPainting();
    QPaintDevice* GetDevice() const { return m_pDevice; }

private:
    struct State {
        int mapMode = MM_TEXT;
        CPoint windowOrg;
        CPoint viewportOrg;
        CSize windowExt{1, 1};
        CSize viewportExt{1, 1};
        CPen* pPen = nullptr;
        CPen pen;
        CFont* pFont = nullptr;
        QFont font;
        COLORREF textColour = RGB(0, 0, 0);
        COLORREF bkColour = RGB(255, 255, 255);
        int bkMode = OPAQUE;
        CPoint position;
    };

    // The painter with every waiting line drawn, for anything but another solid line.
    QPainter* Painter();
    // The painter for solid lines, which may wait and go out together.
    QPainter* LinePainter();
    void FlushLines();
    void ApplyPen();
    void ApplyFont();
    void SetDevice(QPaintDevice* device);
    const QFontMetrics& Metrics() const;

    // Mapping (DeviceMapping.cpp)
    QPoint ToDevice(int x, int y) const;
    // The same for many points, the mapping worked out once.
    void ToDevice(const CPoint* points, int count, QPoint* device) const;
    QRect ToDeviceRect(int x1, int y1, int x2, int y2) const;
    CPoint ToLogical(CPoint device) const;

    void FillDeviceRect(const QRect& rect, COLORREF crColor);
    void DrawDeviceLine(QPoint from, QPoint to);
    bool SolidHairlinesOnRaster();
    int PatternPhaseFor(QPoint from, QPoint to);
    void ApplyWidePenPhase();
    void DrawStyledLine(QPoint from, QPoint to);
    void DrawScaledStyledLine(QPoint from, QPoint to);
    void DrawOpaqueText(QPoint topLeft, const QString& text, const QRect* clip);

    // Raster fast path (RasterFastPath.cpp): pixels stored straight into the painted image where
    // that gives exactly the painter's pixels.
    void FindRasterImage();
    QImage* DirectPixels() const;
    bool PixelExactRects() const;
    // Solid hairlines from `from` through each point, as many LineTo calls draw them.
    void DrawHairlines(QPoint from, const QPoint* points, int count);
    struct FieldPart;
    bool DrawFieldInBands(std::vector<FieldPart>& parts, int itemCount,
                          const std::function<void(int, PolylineField&)>& build);
    void ReplayField(const std::vector<FieldPart>& parts);
    bool StoreStyledLine(QPoint from, QPoint to);
    bool CopyTextCell(QPoint topLeft, const QString& text);

    // Lines on devices that keep every segment (VectorClip.cpp): cut to what the device shows.
    QRectF VisibleDeviceBox(int penWidth) const;
    void DrawVectorLine(QPoint from, QPoint to);
    void DrawVectorDottedLine(QPoint from, QPoint to);

    QPaintDevice* m_pDevice = nullptr;
    std::unique_ptr<QPainter> m_painter;
    bool m_bPrinting = false;
    State m_state;
    std::vector<State> m_savedStates;
    CBitmap* m_pSelectedBitmap = nullptr;
    QImage m_defaultSurface; // a memory context's surface before a bitmap is selected
    CRect m_clipBoxDevice;
    bool m_bHasClip = false;
    bool m_bPenApplied = false;
    bool m_bFontApplied = false;
    bool m_bRasterEngine = false;
    QImage* m_pRasterImage = nullptr; // the painted image, when its pixels can be stored directly
    QRgb* m_pRasterBits = nullptr;
    qsizetype m_nRasterStride = 0;
    QRgb m_penPixel = 0;     // the pen's colour as the image stores it
    QPoint m_patternEnd;     // where the last styled line stopped, device coordinates
    int m_nPatternPhase = 0; // how far into its pattern it stopped
    int m_nLinePhase = 0;    // the styled line being drawn starts this far into its pattern
    QVector<QPoint> m_styledDots;
    QVector<QPoint> m_styledGaps;
    QVector<QLine> m_pendingLines;
    QVector<QLineF> m_pendingVectorLines;
    QVector<QPoint> m_polylinePoints;
    mutable std::unique_ptr<QFontMetrics> m_metrics;
};
