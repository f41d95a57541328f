#pragma once

#include "framework/CDC.h"

#include <QImage>
#include <QRect>

class QWidget;

// The device context of a window's paint event: paints on the window, clipped to what needs
// painting. Only valid while the window handles its paint event.
class CPaintDC : public CDC {
public:
    explicit CPaintDC(QWidget* window);

    // Marks the paint event of a window, so that paint contexts made inside know their clip box.
    class PaintScope {
    public:
        PaintScope(QWidget* window, const QRect& rect);
        ~PaintScope();
        PaintScope(const PaintScope&) = delete;
        PaintScope& operator=(const PaintScope&) = delete;

    private:
        QRect m_previousRect;
        QWidget* m_previousWindow;
    };
};

// The surface a CClientDC draws on, made before the device context itself.
struct MeasuringSurface {
    explicit MeasuringSurface(QWidget* window);
    QImage m_surface;
};

// A device context for measuring in a window's resolution outside painting (text metrics,
// device capabilities). What is drawn on it goes nowhere.
class CClientDC : private MeasuringSurface, public CDC {
public:
    explicit CClientDC(QWidget* window);
};
