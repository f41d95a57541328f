#include "framework/TextCellCache.h"

#include "framework/DrawingObjects.h"

#include <QFontMetrics>
#include <QPainter>

namespace {
constexpr qsizetype kMaxCells = 1024;
constexpr int kMargin = 2;
} // namespace

TextCellCache& TextCellCache::Shared() {
    static TextCellCache* cells = new TextCellCache;
    return *cells;
}

const QImage* TextCellCache::Find(const QFont& font, int dpmX, int dpmY, const QString& text,
                                  COLORREF textColour, COLORREF bkColour, const QFontMetrics& metrics) {
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
    const QImage& cell = *m_cells.insert(key, Draw(text, textColour, bkColour, metrics));
    return cell.isNull() ? nullptr : &cell;
}

// The cell, or a null image when some ink falls outside it.
QImage TextCellCache::Draw(const QString& text, COLORREF textColour, COLORREF bkColour,
                           const QFontMetrics& metrics) const {
    const QSize cell(metrics.horizontalAdvance(text), metrics.ascent() + metrics.descent());
    if (cell.isEmpty())
        return {};
    // A margin in a colour the text cannot leave unchanged shows any ink outside the cell.
    const QColor ink = drawing::ToQColor(textColour);
    const QColor sentinel = ink.lightness() > 127 ? Qt::black : Qt::white;
    QImage canvas(cell.width() + 2 * kMargin, cell.height() + 2 * kMargin, QImage::Format_RGB32);
    canvas.setDotsPerMeterX(m_dpmX);
    canvas.setDotsPerMeterY(m_dpmY);
    canvas.fill(sentinel);
    {
        QPainter painter(&canvas);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.fillRect(QRect(QPoint(kMargin, kMargin), cell), drawing::ToQColor(bkColour));
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
