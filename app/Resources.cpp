#include "app/Resources.h"

#include "app/Resource.h"
#include "framework/CMenu.h"
#include "framework/VirtualKeys.h"

namespace {
// Before "\n" the status-bar prompt, after it the tooltip.
constexpr StringResource kStringTable[] = {
    {IDR_MAINFRAME, "TarmioView\n\nTarmioView\nLog Files\n.ZQN\nTarmio.Document\nTarmioView Document"},
    {AFX_IDS_APP_TITLE, "TarmioView"},
    {AFX_IDS_IDLEMESSAGE, "Ready"},
    {AFX_IDS_ALLFILTER, "All Files (*.*)"},
    {ID_INDICATOR_CAPS, "CAP"},
    {ID_INDICATOR_NUM, "NUM"},
    {ID_INDICATOR_SCRL, "SCRL"},
    {ID_FILE_ADD, "Add a race file\nAdd"},
    {ID_VIEW_ZOOMIN_Y, "Zoom in vertically\nZoom In Y"},
    {ID_VIEW_ZOOMOUT_Y, "Zoom out vertically\nZoom Out Y"},
    {ID_VIEW_BLACKBACKGROUND, "Toggle black or white background in driver list\nBlack Background"},
    {ID_VIEW_RELATIVE, "Toggle between viewing absolute and relative time differences"},
    {ID_VIEW_MIRRORED, "Toggle viewing upside down"},
    {ID_VIEW_HIGHLIGHT,
     "Draw the drivers selected in the list over the others, the others dimmed\nHighlight"},
    {ID_VIEW_GAPTODRIVER,
     "Show every gap to the first selected driver, or go back to the usual reference\nGap to Driver"},
    {ID_VIEW_CHART_GAP, "Show how far each driver is behind the leader or the pace line\nGap Chart"},
    {ID_VIEW_CHART_POSITIONS, "Show each driver's position at the end of every lap\nPosition Chart"},
    {ID_VIEW_CHART_LAPTIMES, "Show each driver's lap times lap by lap\nLap Time Chart"},
    {ID_VIEW_RACESUMMARY,
     "Show the finishing order, the leaders, the fastest lap and the events\nRace Summary"},
    {ID_FILE_EXPORT, "Export the laps as CSV or the chart as a PNG picture or a PDF\nExport"},
    {ID_FILE_NEW, "Create a new document\nNew"},
    {ID_FILE_OPEN, "Open an existing document\nOpen"},
    {ID_FILE_CLOSE, "Close the active document\nClose"},
    {ID_FILE_SAVE, "Save the active document\nSave"},
    {ID_FILE_SAVE_AS, "Save the active document with a new name\nSave As"},
    {ID_FILE_PAGE_SETUP, "Change the printing options\nPage Setup"},
    {ID_FILE_PRINT_SETUP, "Change the printer and printing options\nPrint Setup"},
    {ID_FILE_PRINT, "Print the active document\nPrint"},
    {ID_FILE_PRINT_PREVIEW, "Display full pages\nPrint Preview"},
    // The recent-file list never fills (nothing opens by path), so only its placeholder shows.
    {ID_FILE_MRU_FILE1, "Open this document"},
    {ID_EDIT_CUT, "Cut the selection\nCut"},
    {ID_APP_ABOUT, "Display program information, version number and copyright\nAbout"},
    {ID_APP_EXIT, "Quit the application; prompts to save documents\nExit"},
    {ID_NEXT_PANE, "Switch to the next window pane\nNext Pane"},
    {ID_PREV_PANE, "Switch back to the previous window pane\nPrevious Pane"},
    {ID_VIEW_TOOLBAR, "Show or hide the toolbar\nToggle ToolBar"},
    {ID_VIEW_STATUS_BAR, "Show or hide the status bar\nToggle StatusBar"},
};

using M = MenuResource;
constexpr MenuResource kMainMenu[] = {
    {M::Popup, 0, "&File"},
    {M::Item, ID_FILE_NEW, "&New\tCtrl+N"},
    {M::Item, ID_FILE_ADD, "Add..\tCtrl+A"},
    {M::Item, ID_FILE_EXPORT, "Export...\tCtrl+E"},
    {M::Item, ID_FILE_OPEN, "&Open...\tCtrl+O"},
    {M::Item, ID_FILE_SAVE, "&Save\tCtrl+S"},
    {M::Item, ID_FILE_SAVE_AS, "Save &As..."},
    {M::Separator},
    {M::Item, ID_FILE_PRINT, "&Print...\tCtrl+P"},
    {M::Item, ID_FILE_PRINT_PREVIEW, "Print Pre&view"},
    {M::Item, ID_FILE_PRINT_SETUP, "P&rint Setup..."},
    {M::Separator},
    {M::Item, ID_FILE_MRU_FILE1, "Recent File", MF_GRAYED},
    {M::Separator},
    {M::Item, ID_APP_EXIT, "E&xit"},
    {M::Popup, 0, "&Edit"},
    {M::Item, ID_EDIT_CUT, "Cu&t\tCtrl+X"},
    {M::Popup, 0, "&View"},
    {M::Item, ID_VIEW_TOOLBAR, "&Toolbar"},
    {M::Item, ID_VIEW_STATUS_BAR, "&Status Bar"},
    {M::Separator},
    {M::Item, ID_VIEW_HIGHLIGHT, "Highlight Selected Drivers"},
    {M::Item, ID_VIEW_GAPTODRIVER, "Gap to Selected Driver\tCtrl+G"},
    {M::Separator},
    {M::Item, ID_VIEW_CHART_GAP, "Gap Chart\tCtrl+1"},
    {M::Item, ID_VIEW_CHART_POSITIONS, "Position Chart\tCtrl+2"},
    {M::Item, ID_VIEW_CHART_LAPTIMES, "Lap Time Chart\tCtrl+3"},
    {M::Separator},
    {M::Item, ID_VIEW_RACESUMMARY, "Race Summary..."},
    {M::Popup, 0, "&Options"},
    {M::Item, ID_OPTIONS_FLICKERFREE, "Flicker-free drawing"},
    {M::Item, ID_OPTIONS_AUTOZOOM, "Auto-zoom"},
    {M::Popup, 0, "&Help"},
    {M::Item, ID_APP_ABOUT, "&About Tarmio..."},
};

constexpr BYTE kKey = FVIRTKEY | FNOINVERT;
constexpr AcceleratorResource kMainAccelerators[] = {
    {kKey | FCONTROL, 'A', ID_FILE_ADD},
    {kKey | FCONTROL, 'M', ID_VIEW_MIRRORED},
    {kKey | FCONTROL, 'N', ID_FILE_NEW},
    {kKey | FCONTROL, 'O', ID_FILE_OPEN},
    {kKey | FCONTROL, 'P', ID_FILE_PRINT},
    {kKey | FCONTROL, 'R', ID_VIEW_RELATIVE},
    {kKey | FCONTROL, 'S', ID_FILE_SAVE},
    {kKey, VK_ADD, ID_VIEW_ZOOMIN_Y},
    {kKey | FSHIFT, VK_DELETE, ID_EDIT_CUT},
    {kKey, VK_F5, ID_VIEW_REFRESH},
    {kKey, VK_F6, ID_NEXT_PANE},
    {kKey | FSHIFT, VK_F6, ID_PREV_PANE},
    {kKey, VK_SUBTRACT, ID_VIEW_ZOOMOUT_Y},
    {kKey | FCONTROL, 'X', ID_EDIT_CUT},
    {kKey | FCONTROL, 'G', ID_VIEW_GAPTODRIVER},
    {kKey | FCONTROL, '1', ID_VIEW_CHART_GAP},
    {kKey | FCONTROL, '2', ID_VIEW_CHART_POSITIONS},
    {kKey | FCONTROL, '3', ID_VIEW_CHART_LAPTIMES},
    {kKey | FCONTROL, 'E', ID_FILE_EXPORT},
};

constexpr UINT kToolBarButtons[] = {
    ID_FILE_NEW,
    ID_FILE_OPEN,
    ID_FILE_SAVE,
    ID_SEPARATOR,
    ID_FILE_ADD,
    ID_SEPARATOR,
    ID_EDIT_CUT,
    ID_SEPARATOR,
    ID_VIEW_ZOOMIN_Y,
    ID_VIEW_ZOOMOUT_Y,
    // Beyond the designed buttons: the chart kinds.
    ID_SEPARATOR,
    ID_VIEW_CHART_GAP,
    ID_VIEW_CHART_POSITIONS,
    ID_VIEW_CHART_LAPTIMES,
};

constexpr UINT kStatusIndicators[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};
} // namespace

std::span<const StringResource> StringTable() {
    return kStringTable;
}
std::span<const MenuResource> MainMenu() {
    return kMainMenu;
}
std::span<const AcceleratorResource> MainAccelerators() {
    return kMainAccelerators;
}
std::span<const UINT> ToolBarButtons() {
    return kToolBarButtons;
}
std::span<const UINT> StatusIndicators() {
    return kStatusIndicators;
}
