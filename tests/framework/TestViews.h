#pragma once

#include "framework/CCmdTarget.h"
#include "framework/CView.h"

#include <functional>
#include <vector>

// A view that only records what the framework tells it.
class RecordingView : public CView {
public:
    struct Update {
        CView* sender;
        LPARAM hint;
    };

    void OnUpdate(CView* pSender, LPARAM lHint) override {
        updates.push_back({pSender, lHint});
        if (duringUpdate)
            duringUpdate();
    }
    void OnDraw(CDC*) override {}

    // Handlers registered as a view's message map would list them.
    using CCmdTarget::OnCommand;
    using CCmdTarget::OnUpdateCommandUI;

    std::vector<Update> updates;
    std::function<void()> duringUpdate;
};
