#pragma once

#include "framework/Afx.h"

#include <QString>
#include <QWidget>
#include <vector>

// A small panel of text lines that floats over a view next to a point, like a tooltip that
// follows the pointer. It takes no input: the view underneath keeps the pointer's moves.
class CInfoPanel : public QWidget {
    Q_OBJECT
public:
    struct Line {
        QString text;
        COLORREF colour = kDefaultColour; // the panel's text colour
        bool swatch = false;              // a square of the colour before the text
    };

    explicit CInfoPanel(QWidget* parent);

    void SetLines(std::vector<Line> lines);
    const std::vector<Line>& GetLines() const { return m_lines; }
    // Shows the panel beside the point (in the parent's coordinates), inside the parent.
    void ShowNear(CPoint point);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<Line> m_lines;
};
