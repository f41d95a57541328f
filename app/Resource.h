#pragma once

#include "framework/CommandIds.h"

// The program's own command identifiers.
constexpr UINT ID_FILE_ADD = 32771;
constexpr UINT ID_VIEW_ZOOMIN_Y = 32773;
constexpr UINT ID_VIEW_ZOOMOUT_Y = 32774;
constexpr UINT ID_OPTIONS_FLICKERFREE = 32775;
constexpr UINT ID_VIEW_REFRESH = 32776;
constexpr UINT ID_OPTIONS_AUTOZOOM = 32777;
constexpr UINT ID_VIEW_BLACKBACKGROUND = 32781;
constexpr UINT ID_VIEW_RELATIVE = 32790;
constexpr UINT ID_VIEW_MIRRORED = 32791;
// Reading the chart: selected drivers stand out; the field measured against one driver.
constexpr UINT ID_VIEW_HIGHLIGHT = 32800;
constexpr UINT ID_VIEW_GAPTODRIVER = 32801;
// Race analysis: the chart kinds of the right pane, the summary and the export.
constexpr UINT ID_VIEW_CHART_GAP = 32802;
constexpr UINT ID_VIEW_CHART_POSITIONS = 32803;
constexpr UINT ID_VIEW_CHART_LAPTIMES = 32804;
constexpr UINT ID_VIEW_RACESUMMARY = 32805;
constexpr UINT ID_FILE_EXPORT = 32806;

// Option bits of the application's m_nOptions.
constexpr int kOptionFlickerFree = 1;
constexpr int kOptionAutoZoom = 2;
constexpr int kDefaultOptions = kOptionFlickerFree | kOptionAutoZoom;

// Resources shared by the main frame: menu, accelerators, toolbar, icon and document string.
constexpr UINT IDR_MAINFRAME = 128;
constexpr UINT IDR_TARMIOTYPE = 129;

// The About box and its controls.
constexpr UINT IDD_ABOUTBOX = 100;
constexpr int IDC_ABOUT_VERSION = 1000;
constexpr int IDC_ABOUT_COPYRIGHT = 1001;
constexpr int IDC_ABOUT_DESCRIPTION = 1002;
