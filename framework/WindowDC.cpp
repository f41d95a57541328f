#include "framework/WindowDC.h"

#include <QWidget>

namespace {
QWidget* g_paintingWindow = nullptr;
QRect g_paintRect;
} // namespace

CPaintDC::CPaintDC(QWidget* window) : CDC(window) {
    if (window == g_paintingWindow && !g_paintRect.isNull())
        SetClipBoxDevice(
            CRect(g_paintRect.left(), g_paintRect.top(), g_paintRect.right() + 1, g_paintRect.bottom() + 1));
}

CPaintDC::PaintScope::PaintScope(QWidget* window, const QRect& rect)
    : m_previousRect(g_paintRect), m_previousWindow(g_paintingWindow) {
    g_paintingWindow = window;
    g_paintRect = rect;
}

CPaintDC::PaintScope::~PaintScope() {
    g_paintingWindow = m_previousWindow;
    g_paintRect = m_previousRect;
}

MeasuringSurface::MeasuringSurface(QWidget* window) : m_surface(1, 1, QImage::Format_RGB32) {
    const int dpiX = window != nullptr ? window->logicalDpiX() : 96;
    const int dpiY = window != nullptr ? window->logicalDpiY() : 96;
    m_surface.setDotsPerMeterX(drawing::DotsPerMetre(dpiX));
    m_surface.setDotsPerMeterY(drawing::DotsPerMetre(dpiY));
}

CClientDC::CClientDC(QWidget* window) : MeasuringSurface(window), CDC(&m_surface) {}
