#include "framework/WindowDC.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace {
QWidget* g_paintingWindow = nullptr;
QRect g_paintRect;
constexpr double kInchesPerMetre = 1 / 0.0254;
} // namespace

CPaintDC::CPaintDC(QWidget* window) : CDC(window) {
    if (window == g_paintingWindow && !g_paintRect.isNull())
        SetClipBoxDevice(CRect(g_paintRect.left(), g_paintRect.top(), g_paintRect.right() + 1,
                               g_paintRect.bottom() + 1));
}

CPaintDC::PaintScope::PaintScope(QWidget* window, const QRect& rect)
    : m_window(window), m_previousRect(g_paintRect), m_previousWindow(g_paintingWindow) {
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
    m_surface.setDotsPerMeterX(static_cast<int>(dpiX * kInchesPerMetre + 0.5));
    m_surface.setDotsPerMeterY(static_cast<int>(dpiY * kInchesPerMetre + 0.5));
}

CClientDC::CClientDC(QWidget* window) : MeasuringSurface(window), CDC(&m_surface) {}
