#pragma once

// The program's resources: the string table, the main menu, the accelerator table, the toolbar
// buttons and the status-bar panes. The document template's string is string IDR_MAINFRAME.

#include "framework/CFrameWnd.h"
#include "framework/StringTable.h"

#include <span>

std::span<const StringResource> StringTable();
std::span<const MenuResource> MainMenu();
std::span<const AcceleratorResource> MainAccelerators();
std::span<const UINT> ToolBarButtons();
std::span<const UINT> StatusIndicators();
