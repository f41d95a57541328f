#pragma once

// The program's commands, each declared once, and where the main menu and the toolbar show them.

#include "framework/CFrameWnd.h"

#include <span>

std::span<const CommandInfo> CommandTable();
std::span<const MenuPopup> MainMenu();
std::span<const UINT> ToolBarButtons();
std::span<const UINT> StatusIndicators();
