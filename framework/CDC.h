#pragma once

// The device context: drawing through QPainter with the semantics of the platform's device
// contexts that the views rely on (mapping modes, window/viewport origins and extents, a current
// position, LineTo excluding its end point, opaque text, saved and restored states).

#include "framework/Afx.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QVector>
#include <memory>
#include <string>
#include <vector>

class QWidget;
class QPaintDevice;

// Mapping modes
constexpr int MM_TEXT = 1;
constexpr int MM_ANISOTROPIC = 8;
// Background modes
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;
// Pen styles
constexpr int PS_SOLID = 0;
constexpr int PS_DOT = 2;
constexpr int PS_NULL = 5;
// Raster operations
constexpr DWORD SRCCOPY = 0x00CC0020;
constexpr DWORD BLACKNESS = 0x00000042;
constexpr DWORD WHITENESS = 0x00FF0062;
constexpr DWORD PATCOPY = 0x00F00021;
// Device capabilities
constexpr int HORZRES = 8;
constexpr int VERTRES = 10;
constexpr int BITSPIXEL = 12;
constexpr int LOGPIXELSX = 88;
constexpr int LOGPIXELSY = 90;
// Stock objects
constexpr int WHITE_BRUSH = 0;
constexpr int BLACK_BRUSH = 4;
constexpr int NULL_BRUSH = 5;
constexpr int WHITE_PEN = 6;
constexpr int BLACK_PEN = 7;
constexpr int NULL_PEN = 8;
constexpr int DEFAULT_GUI_FONT = 17;
// GetClipBox results
constexpr int NULLREGION = 1;
constexpr int SIMPLEREGION = 2;
// Object types for GetCurrentObject
constexpr UINT OBJ_PEN = 1;
constexpr UINT OBJ_BRUSH = 2;
constexpr UINT OBJ_FONT = 6;
constexpr UINT OBJ_BITMAP = 7;
// DrawText formats
constexpr UINT DT_LEFT = 0x0000;
constexpr UINT DT_CENTER = 0x0001;
constexpr UINT DT_RIGHT = 0x0002;
constexpr UINT DT_VCENTER = 0x0004;
constexpr UINT DT_BOTTOM = 0x0008;
constexpr UINT DT_SINGLELINE = 0x0020;
constexpr UINT DT_NOCLIP = 0x0100;
constexpr UINT DT_CALCRECT = 0x0400;
constexpr UINT DT_NOPREFIX = 0x0800;

struct TEXTMETRIC {
    LONG tmHeight = 0;
    LONG tmAscent = 0;
    LONG tmDescent = 0;
    LONG tmInternalLeading = 0;
    LONG tmExternalLeading = 0;
    LONG tmAveCharWidth = 0;
    LONG tmMaxCharWidth = 0;
};

constexpr int LF_FACESIZE = 32;
struct LOGFONT {
    LONG lfHeight = 0; // negative: character height in device units
    LONG lfWidth = 0;  // average character width, 0 = the face's own
    LONG lfWeight = 0;
    BYTE lfItalic = 0;
    char lfFaceName[LF_FACESIZE] = {};
};

class CDC;

// Pens, brushes, fonts and bitmaps: plain values selected into a device context.
class CGdiObject {
public:
    virtual ~CGdiObject() = default;
};

class CPen : public CGdiObject {
public:
    CPen() = default;
    CPen(int nPenStyle, int nWidth, COLORREF crColor) { CreatePen(nPenStyle, nWidth, crColor); }
    BOOL CreatePen(int nPenStyle, int nWidth, COLORREF crColor);
    int m_nStyle = PS_SOLID;
    int m_nWidth = 1;
    COLORREF m_crColor = 0;
    bool m_bCreated = false;
};

class CBrush : public CGdiObject {
public:
    CBrush() = default;
    explicit CBrush(COLORREF crColor) { CreateSolidBrush(crColor); }
    BOOL CreateSolidBrush(COLORREF crColor);
    COLORREF m_crColor = 0;
    bool m_bNull = false;
    bool m_bCreated = false;
};

class CFont : public CGdiObject {
public:
    BOOL CreateFontIndirect(const LOGFONT* pLogFont);
    // The Qt font: pixel size |lfHeight|, stretched to the average width lfWidth.
    QFont ToQFont() const { return m_font; }
    LOGFONT m_logFont;
    QFont m_font;
    bool m_bCreated = false;
};

class CBitmap : public CGdiObject {
public:
    // A black image of the size, with the resolution of pDC's device.
    BOOL CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight);
    // Whether the bitmap already is what CreateCompatibleBitmap would make, contents aside.
    bool IsCompatible(CDC* pDC, int nWidth, int nHeight) const;
    QImage m_image;
};

// The stock objects of GetStockObject (WHITE_BRUSH ... NULL_PEN); null for other indexes.
CGdiObject* GetStockObject(int nIndex);

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
    CDC* GetAttribDC() { return this; }
    BOOL IsPrinting() const { return m_bPrinting; }
    int GetDeviceCaps(int nIndex) const;

    int SaveDC();
    BOOL RestoreDC(int nSavedDC);

    // Mapping
    int SetMapMode(int nMapMode);
    int GetMapMode() const;
    CPoint SetWindowOrg(int x, int y);
    CPoint SetViewportOrg(int x, int y);
    CSize SetWindowExt(int cx, int cy);
    CSize SetViewportExt(int cx, int cy);
    void LPtoDP(CPoint* points, int count = 1) const;
    void DPtoLP(CPoint* points, int count = 1) const;
    void LPtoDP(CRect* rect) const;
    void DPtoLP(CRect* rect) const;

    // Objects
    CPen* SelectObject(CPen* pPen);
    CBrush* SelectObject(CBrush* pBrush);
    CFont* SelectObject(CFont* pFont);
    CBitmap* SelectObject(CBitmap* pBitmap);
    CGdiObject* SelectStockObject(int nIndex);
    CGdiObject* GetCurrentObject(UINT nObjectType) const;
    CGdiObject* SelectGdiObject(CGdiObject* pObject); // selects whatever kind pObject is

    // Colours and modes
    COLORREF SetTextColor(COLORREF crColor);
    COLORREF GetTextColor() const;
    COLORREF SetBkColor(COLORREF crColor);
    COLORREF GetBkColor() const;
    int SetBkMode(int nBkMode);
    int GetBkMode() const;

    // Lines and shapes (logical coordinates)
    CPoint MoveTo(int x, int y);
    CPoint MoveTo(CPoint point) { return MoveTo(point.x, point.y); }
    BOOL LineTo(int x, int y);
    BOOL LineTo(CPoint point) { return LineTo(point.x, point.y); }
    CPoint GetCurrentPosition() const;
    BOOL Rectangle(int x1, int y1, int x2, int y2);
    COLORREF SetPixelV(int x, int y, COLORREF crColor);
    void FillSolidRect(const CRect& rect, COLORREF crColor);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF crColor);
    void FillRect(const CRect& rect, CBrush* pBrush);
    BOOL PatBlt(int x, int y, int nWidth, int nHeight, DWORD dwRop);
    BOOL BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop);
    void DrawFocusRect(const CRect& rect);

    // Text
    BOOL TextOut(int x, int y, const std::string& text);
    BOOL TextOut(int x, int y, const char* text, int count);
    int DrawText(const std::string& text, CRect* rect, UINT nFormat);
    CSize GetTextExtent(const std::string& text) const;
    CSize GetTextExtent(const char* text, int count) const;
    BOOL GetTextMetrics(TEXTMETRIC* metrics) const;

    // Clipping: the box of what needs painting, in logical coordinates.
    int GetClipBox(CRect* rect) const;
    // Limits later painting to rect (device coordinates); used by paint events and tests.
    void SetClipBoxDevice(const CRect& rect);

    // The painter, for the framework's own use (off-screen copies, printing).
    QPainter* GetPainter();

    // Ends the painter, so that the device can be read or painted by someone else.
    void EndPainting();
    QPaintDevice* GetDevice() const { return m_pDevice; }

protected:
    struct State;
    // The painter with every waiting line drawn, for anything but another solid line.
    QPainter* Painter();
    // The painter for solid lines, which may wait and go out together.
    QPainter* LinePainter();
    void FlushLines();
    bool PixelExactRects() const;
    QImage* DirectPixels() const;
    void StoreAxisLine(QImage& image, QPoint from, QPoint last, COLORREF crColor);
    void StoreHairline(QPoint from, QPoint last, COLORREF crColor);
    void ApplyPen();
    void ApplyFont();
    QPoint ToDevice(int x, int y) const;
    QRect ToDeviceRect(int x1, int y1, int x2, int y2) const;
    void SetDevice(QPaintDevice* device);
    void FillDeviceRect(const QRect& rect, COLORREF crColor);
    void DrawDeviceLine(QPoint from, QPoint to);
    void DrawStyledLine(QPoint from, QPoint to);
    void DrawOpaqueText(QPoint topLeft, const QString& text, const QRect* clip);
    bool CopyTextCell(QPoint topLeft, const QString& text);
    const QFontMetrics& Metrics() const;

    QPaintDevice* m_pDevice = nullptr;
    std::unique_ptr<QPainter> m_painter;
    bool m_bPrinting = false;
    std::unique_ptr<State> m_state;
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
    QVector<QPoint> m_styledDots;
    QVector<QPoint> m_styledGaps;
    QVector<QLine> m_pendingLines;
    mutable std::unique_ptr<QFontMetrics> m_metrics;
};
