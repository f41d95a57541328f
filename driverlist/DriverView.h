#pragma once

#include "framework/CView.h"
#include "listctrl/TreeListCtrl.h"

#include <vector>

class RaceData;

// The left pane: one row per driver of the race, in the order of the race's driver array. A click
// on a heading sorts the race, Delete and Cut take the selected drivers out of it.
class CDriverView : public CView, public CListNotifyTarget, public CListCtrlMessageTarget {
    Q_OBJECT
public:
    static constexpr UINT kDriverListId = 1;

    explicit CDriverView(QWidget* parent = nullptr);
    ~CDriverView() override;

    void OnInitialUpdate() override;
    void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) override;
    void OnUpdate(CView* pSender, LPARAM lHint) override;
    void OnDraw(CDC* pDC) override;

    LRESULT OnListNotify(UINT idCtrl, NMHDR* pNMHDR) override;
    LRESULT OnListCtrlMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    CTreeListCtrl& GetDriverList() { return m_wndDriverList; }
    BOOL IsBlackBackground() const { return m_bBlackBackground; }

protected:
    int OnCreate() override;
    void OnSize() override;

    void OnListKeyDown(const NMLVKEYDOWN& keyDown);
    void OnListColumnClick(const NMLISTVIEW& columnClick);
    void OnEditCut();
    void OnUpdateEditCut(CCmdUI* pCmdUI);
    void OnBlackBackground();
    LRESULT OnListContextMenu(WPARAM wParam, LPARAM lParam);

private:
    RaceData* GetRaceData() const;
    COLORREF ListBackground() const;
    void FillDriverList();
    void ResizeColumns();
    void DeleteSelectedDrivers();
    // Tells the other views which drivers the selected rows are.
    void PublishSelection();
    // Selects the rows of the drivers another view chose (a click in the chart).
    void ShowSelection();
    // Selects the rows again after a reload.
    void SelectRows(const std::vector<int>& rows);

    CTreeListCtrl m_wndDriverList;
    BOOL m_bBlackBackground = TRUE;
    // While selected rows are deleted or selected again one by one, each step changes the
    // selection; it is published once, after the last.
    bool m_bQuietSelection = false;
    // The rows follow the document's selection; nothing to publish back.
    bool m_bShowingSelection = false;
};
