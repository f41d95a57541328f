#pragma once

#include "framework/CView.h"

// The left pane: one row per driver of the race, in the order of the race's driver array.
class CDriverView : public CView {
    Q_OBJECT
public:
    explicit CDriverView(QWidget* parent = nullptr);
    ~CDriverView() override;

    void OnDraw(CDC* pDC) override;
};
