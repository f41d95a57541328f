#pragma once

#include "framework/CFrameWnd.h"
#include "framework/Prompter.h"

#include <QPointer>

class CRaceSummaryDlg;
class CSplitterWnd;
class CTarmioView;

// The program's one window: menu, toolbar, status bar, and the driver list beside the lap graph.
class CMainFrame : public CFrameWnd {
    Q_OBJECT
public:
    CMainFrame();
    ~CMainFrame() override;

    CSplitterWnd* GetSplitter() const { return m_wndSplitter; }
    CTarmioView* GetGraphView() const;
    // The Race Summary dialog while it is open.
    CRaceSummaryDlg* GetRaceSummary() const;

    // Race analysis commands: they work whichever pane is active.
    void OnViewChart(UINT nID);
    void OnUpdateViewChart(CCmdUI* pCmdUI);
    void OnViewRaceSummary();
    void OnFileExport();

protected:
    int OnCreate() override;
    BOOL OnCreateClient(CDocument* pDoc) override;
    // Dropped files are added to the race, the way File Add adds them.
    void OnDropFiles(const QStringList& paths) override;

private:
    CView* ChartPane() const;
    // The chart's reading commands work from either pane (the list is where drivers are chosen):
    // with the list active they come here and go on to the chart.
    void ForwardToChart(UINT nID, CCmdUI* pCmdUI);
    // The window's place, maximised state and the list's width as the last run left them.
    void RestorePlace();
    void StorePlace();
    void StoreRaceSummaryPlace();

    CSplitterWnd* m_wndSplitter = nullptr;
    QPointer<CRaceSummaryDlg> m_pRaceSummary;
    QString m_strExportFolder;
    int m_nExportFilter = 1;
    PictureFrameChoices m_exportFrame;
    QString m_strExportRaceTitle; // the race's title when last offered: kept only if edited
};
