#pragma once

// The polylines of a field, such as a chart's curves, as the calls that draw them one by one: a
// pen and background mode, then MoveTo and LineTo. A pen applies from the next MoveTo.

#include "framework/DrawingObjects.h"

#include <vector>

class PolylineField {
public:
    struct Run {
        CPen* pen;
        int bkMode;
        int first; // the point moved to; the points after it up to `end` are drawn to
        int end;
    };

    void Clear() {
        m_points.clear();
        m_runs.clear();
    }
    void SelectPen(CPen* pen, int bkMode) {
        m_pen = pen;
        m_bkMode = bkMode;
    }
    void MoveTo(int x, int y) {
        m_runs.push_back({m_pen, m_bkMode, static_cast<int>(m_points.size()), 0});
        AddPoint(x, y);
    }
    // Before any MoveTo, the line starts where it is drawn to.
    void LineTo(int x, int y) {
        if (m_runs.empty())
            MoveTo(x, y);
        else
            AddPoint(x, y);
    }
    const std::vector<CPoint>& Points() const { return m_points; }
    const std::vector<Run>& Runs() const { return m_runs; }

private:
    void AddPoint(int x, int y) {
        m_points.emplace_back(x, y);
        m_runs.back().end = static_cast<int>(m_points.size());
    }

    std::vector<CPoint> m_points;
    std::vector<Run> m_runs;
    CPen* m_pen = nullptr;
    int m_bkMode = OPAQUE;
};
