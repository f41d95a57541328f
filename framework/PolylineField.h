#pragma once

// The polylines of a field, such as a chart's curves, as the calls that draw them one by one: a
// pen and background mode, then MoveTo and LineTo. A pen applies from the next MoveTo; runs with
// no pen draw with the pen and background mode the context has.

#include "framework/DrawingObjects.h"

#include <vector>

class PolylineField {
public:
    struct Run {
        CPen* pen;
        int bkMode;
        int first; // the point moved to; the points after it up to the next run's are drawn to
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
        // Moving to where the line already is, in the same pen, changes nothing.
        if (!m_runs.empty() && m_runs.back().pen == m_pen && m_runs.back().bkMode == m_bkMode &&
            m_points.back() == CPoint(x, y))
            return;
        m_runs.push_back({m_pen, m_bkMode, static_cast<int>(m_points.size())});
        m_points.emplace_back(x, y);
    }
    // Lines before the first MoveTo have nowhere to start from and are not drawn.
    void LineTo(int x, int y) { m_points.emplace_back(x, y); }
    const std::vector<CPoint>& Points() const { return m_points; }
    const std::vector<Run>& Runs() const { return m_runs; }
    // One past the last point of the run.
    std::size_t RunEnd(std::size_t run) const {
        return run + 1 < m_runs.size() ? static_cast<std::size_t>(m_runs[run + 1].first) : m_points.size();
    }

private:
    std::vector<CPoint> m_points;
    std::vector<Run> m_runs;
    CPen* m_pen = nullptr;
    int m_bkMode = OPAQUE;
};
