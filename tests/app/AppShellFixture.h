#pragma once

#include "RaceFileWriter.h"
#include "ScriptedPrompter.h"
#include "app/MainFrame.h"
#include "app/TarmioApp.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

class CDriverView;
class CTarmioView;
class QAction;

// Starts the whole program in-process on the offscreen platform: application object, New, the
// main frame with both panes, answered by a scripted prompter, with empty settings.
class AppShell : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // InitInstance with these command-line arguments; the frame is shown and active.
    CMainFrame& Start(const QStringList& arguments = {});
    // The program's exit: frame and views destroyed, then ExitInstance.
    void Exit();

    CMainFrame& Frame() const { return *static_cast<CMainFrame*>(app->m_pMainWnd); }
    CDriverView& DriverList() const;
    CTarmioView& Graph() const;
    CTarmioDoc& Document() const { return *app->GetDocument(); }

    QAction* Action(UINT nID) const { return Frame().GetCommandAction(nID); }
    // The action's check mark after the frame's idle update.
    bool Checked(UINT nID) const;

    // A log file of a small three-car race at "Port Haddon", written to a private folder.
    QString WriteRaceFile(const QString& name = "race.zq3");

    ScriptedPrompter prompter;
    std::unique_ptr<CTarmioApp> app;
    QTemporaryDir folder;
};
