#pragma once

#include "framework/Afx.h"

#include <QString>
#include <memory>

class QMenu;
class QWidget;

constexpr UINT MF_STRING = 0x0000;
constexpr UINT MF_SEPARATOR = 0x0800;

// A pop-up menu. Tracking it shows it at a screen point with its commands' states as they are
// then; the chosen command goes to the owner's command route (the main window's, normally).
class CMenu {
public:
    CMenu();
    ~CMenu();

    BOOL CreatePopupMenu();
    BOOL AppendMenu(UINT nFlags, UINT nIDNewItem = 0, const QString& text = {});
    // Shows the menu and carries out the chosen command through owner; FALSE without a menu.
    BOOL TrackPopupMenu(int x, int y, QWidget* owner);

private:
    std::unique_ptr<QMenu> m_pMenu;
};

// Gives a menu the platform's highlighting: greyed items can be highlighted too, so that the
// status bar shows their prompts.
void AfxPrepareMenu(QMenu* menu);
