#include "app/CommandTable.h"

#include "app/Artwork.h"
#include "common/CommandIds.h"
#include "graph/ChartKinds.h"

#include <initializer_list>
#include <vector>

namespace {
constexpr auto kCtrl = Qt::ControlModifier;
constexpr auto kShift = Qt::ShiftModifier;
// The keypad's + and - stay apart from the main keyboard's.
constexpr auto kKeypad = Qt::KeypadModifier;

// The commands that choose a chart kind, in the order of the kinds' table.
std::vector<UINT> ChartKindCommands() {
    std::vector<UINT> commands;
    for (const ChartKindInfo* kind : ChartKinds())
        commands.push_back(kind->command);
    return commands;
}

std::vector<UINT> Joined(std::initializer_list<std::vector<UINT>> parts) {
    std::vector<UINT> items;
    for (const std::vector<UINT>& part : parts)
        items.insert(items.end(), part.begin(), part.end());
    return items;
}

// Id, menu text, keys, toolbar image, status-bar prompt, tooltip; a two-state item of a context
// menu has its text while on as its menu text, then its text while off.
const CommandInfo kCommands[] = {
    {ID_FILE_NEW, "&New", {kCtrl | Qt::Key_N}, NewButtonImage, "Create a new document", "New"},
    {ID_FILE_ADD, "Add..", {kCtrl | Qt::Key_A}, AddButtonImage, "Add a race file", "Add"},
    {ID_FILE_EXPORT,
     "Export...",
     {kCtrl | Qt::Key_E},
     nullptr,
     "Export the laps as CSV or the chart as a PNG picture or a PDF",
     "Export"},
    {ID_FILE_RELOAD,
     "Reload Files",
     {kCtrl | Qt::Key_F5},
     ReloadButtonImage,
     "Read the race's files again, keeping the selection and the view",
     "Reload Files"},
    {ID_FILE_OPEN, "&Open...", {kCtrl | Qt::Key_O}, OpenButtonImage, "Open an existing document", "Open"},
    {ID_FILE_SAVE, "&Save", {kCtrl | Qt::Key_S}, SaveButtonImage, "Save the active document", "Save"},
    {ID_FILE_SAVE_AS, "Save &As...", {}, nullptr, "Save the active document with a new name", "Save As"},
    {ID_FILE_PRINT, "&Print...", {kCtrl | Qt::Key_P}, nullptr, "Print the active document", "Print"},
    {ID_FILE_PRINT_PREVIEW, "Print Pre&view", {}, nullptr, "Display full pages", "Print Preview"},
    {ID_FILE_PRINT_SETUP,
     "P&rint Setup...",
     {},
     nullptr,
     "Change the printer and printing options",
     "Print Setup"},
    // The recent-file list never fills (nothing opens by path), so only its placeholder shows.
    {ID_FILE_MRU_FILE1, "Recent File", {}, nullptr, "Open this document", ""},
    {ID_APP_EXIT, "E&xit", {}, nullptr, "Quit the application; prompts to save documents", "Exit"},
    {ID_EDIT_CUT,
     "Cu&t",
     {kCtrl | Qt::Key_X, kShift | Qt::Key_Delete},
     CutButtonImage,
     "Cut the selection",
     "Cut"},
    {ID_VIEW_TOOLBAR, "&Toolbar", {}, nullptr, "Show or hide the toolbar", "Toggle ToolBar"},
    {ID_VIEW_STATUS_BAR, "&Status Bar", {}, nullptr, "Show or hide the status bar", "Toggle StatusBar"},
    {ID_VIEW_HIGHLIGHT,
     "Highlight Selected Drivers",
     {},
     nullptr,
     "Draw the drivers selected in the list over the others, the others dimmed",
     "Highlight"},
    {ID_VIEW_GAPTODRIVER,
     "Gap to Selected Driver",
     {kCtrl | Qt::Key_G},
     nullptr,
     "Show every gap to the first selected driver, or go back to the usual reference",
     "Gap to Driver"},
    {ID_VIEW_CHART_GAP,
     "Gap Chart",
     {kCtrl | Qt::Key_1},
     GapChartButtonImage,
     "Show how far each driver is behind the leader or the pace line",
     "Gap Chart"},
    {ID_VIEW_CHART_POSITIONS,
     "Position Chart",
     {kCtrl | Qt::Key_2},
     PositionChartButtonImage,
     "Show each driver's position at the end of every lap",
     "Position Chart"},
    {ID_VIEW_CHART_LAPTIMES,
     "Lap Time Chart",
     {kCtrl | Qt::Key_3},
     LapTimeChartButtonImage,
     "Show each driver's lap times lap by lap",
     "Lap Time Chart"},
    {ID_VIEW_ZOOMTOFIT,
     "Zoom to Fit",
     {kCtrl | Qt::Key_0},
     ZoomToFitButtonImage,
     "Fit the chart's height to every curve",
     "Zoom to Fit"},
    {ID_VIEW_FOLLOWFILES,
     "Follow Files",
     {},
     FollowButtonImage,
     "Read the race's files again whenever they change",
     "Follow Files"},
    {ID_VIEW_DISTINCTCOLOURS,
     "Distinct Colours",
     {},
     nullptr,
     "Give every driver a colour of its own that reads on any background",
     "Distinct Colours"},
    {ID_VIEW_RACESUMMARY,
     "Race Summary...",
     {},
     nullptr,
     "Show the finishing order, the leaders, the fastest lap and the events",
     "Race Summary"},
    {ID_OPTIONS_FLICKERFREE, "Flicker-free drawing", {}, nullptr, "", ""},
    {ID_OPTIONS_AUTOZOOM, "Auto-zoom", {}, nullptr, "", ""},
    {ID_APP_ABOUT,
     "&About Tarmio...",
     {},
     nullptr,
     "Display program information, version number and copyright",
     "About"},
    // Commands of the views' own menus and keys.
    {ID_VIEW_ZOOMIN_Y, "", {kKeypad | Qt::Key_Plus}, ZoomInButtonImage, "Zoom in vertically", "Zoom In Y"},
    {ID_VIEW_ZOOMOUT_Y,
     "",
     {kKeypad | Qt::Key_Minus},
     ZoomOutButtonImage,
     "Zoom out vertically",
     "Zoom Out Y"},
    {ID_VIEW_RELATIVE,
     "Relative",
     {kCtrl | Qt::Key_R},
     nullptr,
     "Toggle between viewing absolute and relative time differences",
     "",
     "Absolute"},
    {ID_VIEW_MIRRORED,
     "Origin at bottom",
     {kCtrl | Qt::Key_M},
     nullptr,
     "Toggle viewing upside down",
     "",
     "Origin at top"},
    {ID_VIEW_BLACKBACKGROUND,
     "Default Background",
     {},
     nullptr,
     "Toggle black or white background in driver list",
     "Black Background",
     "Black Background"},
    {ID_VIEW_REFRESH, "", {Qt::Key_F5}, nullptr, "", ""},
    {ID_NEXT_PANE, "", {Qt::Key_F6}, nullptr, "Switch to the next window pane", "Next Pane"},
    {ID_PREV_PANE,
     "",
     {kShift | Qt::Key_F6},
     nullptr,
     "Switch back to the previous window pane",
     "Previous Pane"},
};

const MenuPopup kMainMenu[] = {
    {"&File",
     {ID_FILE_NEW, ID_FILE_ADD, ID_FILE_RELOAD, ID_FILE_EXPORT, ID_FILE_OPEN, ID_FILE_SAVE, ID_FILE_SAVE_AS,
      ID_SEPARATOR, ID_FILE_PRINT, ID_FILE_PRINT_PREVIEW, ID_FILE_PRINT_SETUP, ID_SEPARATOR,
      ID_FILE_MRU_FILE1, ID_SEPARATOR, ID_APP_EXIT}},
    {"&Edit", {ID_EDIT_CUT}},
    {"&View", Joined({{ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, ID_SEPARATOR, ID_VIEW_HIGHLIGHT,
                       ID_VIEW_GAPTODRIVER, ID_VIEW_ZOOMTOFIT, ID_SEPARATOR},
                      ChartKindCommands(),
                      {ID_SEPARATOR, ID_VIEW_RACESUMMARY, ID_VIEW_FOLLOWFILES, ID_VIEW_DISTINCTCOLOURS}})},
    {"&Options", {ID_OPTIONS_FLICKERFREE, ID_OPTIONS_AUTOZOOM}},
    {"&Help", {ID_APP_ABOUT}},
};

const std::vector<UINT> kToolBarButtons = Joined({
    {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, ID_SEPARATOR, ID_FILE_ADD, ID_SEPARATOR, ID_EDIT_CUT,
     ID_SEPARATOR, ID_VIEW_ZOOMIN_Y, ID_VIEW_ZOOMOUT_Y},
    // Beyond the designed buttons: Zoom to Fit beside the zooms, then the chart kinds.
    {ID_VIEW_ZOOMTOFIT, ID_SEPARATOR},
    ChartKindCommands(),
    {ID_SEPARATOR, ID_FILE_RELOAD, ID_VIEW_FOLLOWFILES},
});

constexpr UINT kStatusIndicators[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};
} // namespace

std::span<const CommandInfo> CommandTable() {
    return kCommands;
}
std::span<const MenuPopup> MainMenu() {
    return kMainMenu;
}
std::span<const UINT> ToolBarButtons() {
    return kToolBarButtons;
}
std::span<const UINT> StatusIndicators() {
    return kStatusIndicators;
}
