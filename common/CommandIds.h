#pragma once

// Every command identifier: the framework's standard ones, with their usual values, and the
// program's own. The document, the views and the shell all name commands by these.

// The framework's standard commands and panes.
constexpr unsigned ID_SEPARATOR = 0;
constexpr unsigned ID_FILE_NEW = 57600;
constexpr unsigned ID_FILE_OPEN = 57601;
constexpr unsigned ID_FILE_SAVE = 57603;
constexpr unsigned ID_FILE_SAVE_AS = 57604;
constexpr unsigned ID_FILE_PRINT_SETUP = 57606;
constexpr unsigned ID_FILE_PRINT = 57607;
constexpr unsigned ID_FILE_PRINT_DIRECT = 57608;
constexpr unsigned ID_FILE_PRINT_PREVIEW = 57609;
constexpr unsigned ID_FILE_MRU_FILE1 = 57616;
constexpr unsigned ID_EDIT_CUT = 57635;
constexpr unsigned ID_APP_ABOUT = 57664;
constexpr unsigned ID_APP_EXIT = 57665;
constexpr unsigned ID_NEXT_PANE = 57680;
constexpr unsigned ID_PREV_PANE = 57681;
constexpr unsigned ID_VIEW_TOOLBAR = 59392;
constexpr unsigned ID_VIEW_STATUS_BAR = 59393;
constexpr unsigned ID_INDICATOR_CAPS = 59137;
constexpr unsigned ID_INDICATOR_NUM = 59138;
constexpr unsigned ID_INDICATOR_SCRL = 59139;

// The program's own commands.
constexpr unsigned ID_FILE_ADD = 32771;
constexpr unsigned ID_VIEW_ZOOMIN_Y = 32773;
constexpr unsigned ID_VIEW_ZOOMOUT_Y = 32774;
constexpr unsigned ID_OPTIONS_FLICKERFREE = 32775;
constexpr unsigned ID_VIEW_REFRESH = 32776;
constexpr unsigned ID_OPTIONS_AUTOZOOM = 32777;
constexpr unsigned ID_VIEW_BLACKBACKGROUND = 32781;
constexpr unsigned ID_VIEW_RELATIVE = 32790;
constexpr unsigned ID_VIEW_MIRRORED = 32791;
// Reading the chart: selected drivers stand out; the field measured against one driver.
constexpr unsigned ID_VIEW_HIGHLIGHT = 32800;
constexpr unsigned ID_VIEW_GAPTODRIVER = 32801;
// Race analysis: the chart kinds of the right pane, the summary and the export.
constexpr unsigned ID_VIEW_CHART_GAP = 32802;
constexpr unsigned ID_VIEW_CHART_POSITIONS = 32803;
constexpr unsigned ID_VIEW_CHART_LAPTIMES = 32804;
constexpr unsigned ID_VIEW_RACESUMMARY = 32805;
constexpr unsigned ID_FILE_EXPORT = 32806;
// Beyond the design: the chart's height fitted to its curves.
constexpr unsigned ID_VIEW_ZOOMTOFIT = 32820;
// Following a race while it is logged.
constexpr unsigned ID_FILE_RELOAD = 32830;
constexpr unsigned ID_VIEW_FOLLOWFILES = 32831;
// Colours every driver can be told apart by.
constexpr unsigned ID_VIEW_DISTINCTCOLOURS = 32850;
