#pragma once

// Opaque text cells, drawn once and copied on later paints: the chart's labels repeat on every
// paint. Only cells whose ink stays inside them are kept, so a copy is the drawing pixel for pixel.

#include "framework/Afx.h"

#include <QFont>
#include <QHash>
#include <QImage>

class QFontMetrics;

class TextCellCache {
public:
    // The one cache the device contexts share; never destroyed, as fonts must not outlive the
    // application object's font database.
    static TextCellCache& Shared();

    // The cell of text in font at the resolution, or null when its ink leaves the cell and it
    // must be drawn every time.
    const QImage* Find(const QFont& font, int dpmX, int dpmY, const QString& text, COLORREF textColour,
                       COLORREF bkColour, const QFontMetrics& metrics);

private:
    struct Key {
        QString text;
        COLORREF textColour;
        COLORREF bkColour;
        bool operator==(const Key&) const = default;
    };
    friend size_t qHash(const Key& key, size_t seed) {
        return qHashMulti(seed, key.text, key.textColour, key.bkColour);
    }
    QImage Draw(const QString& text, COLORREF textColour, COLORREF bkColour,
                const QFontMetrics& metrics) const;

    QFont m_font;
    int m_dpmX = 0;
    int m_dpmY = 0;
    QHash<Key, QImage> m_cells;
};
