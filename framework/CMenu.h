#pragma once

#include "framework/Afx.h"

#include <QString>
#include <vector>

class QWidget;

constexpr UINT MF_STRING = 0x0000;
constexpr UINT MF_GRAYED = 0x0001;
constexpr UINT MF_CHECKED = 0x0008;
constexpr UINT MF_SEPARATOR = 0x0800;
constexpr UINT TPM_RIGHTBUTTON = 0x0002;

// A pop-up menu. Tracking it shows it at a screen point; the chosen command goes to the owner's
// command route (the main window's, normally), with command states updated while it shows.
class CMenu {
public:
    struct Item {
        UINT flags;
        UINT id;
        QString text; // "\t" separates the accelerator text
    };

    BOOL CreatePopupMenu();
    BOOL AppendMenu(UINT nFlags, UINT nIDNewItem = 0, const QString& text = {});
    BOOL DestroyMenu();
    // Shows the menu and carries out the chosen command through owner; FALSE without a menu.
    BOOL TrackPopupMenu(UINT nFlags, int x, int y, QWidget* owner);

private:
    bool m_bCreated = false;
    std::vector<Item> m_items;
};

class QMenu;
// Gives a menu the platform's highlighting: greyed items can be highlighted too, so that the
// status bar shows their prompts.
void AfxPrepareMenu(QMenu* menu);
