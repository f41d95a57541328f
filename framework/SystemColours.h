#pragma once

#include "framework/Afx.h"

// System colour indexes, as the platform numbers them.
constexpr int COLOR_WINDOW = 5;
constexpr int COLOR_WINDOWTEXT = 8;
constexpr int COLOR_HIGHLIGHT = 13;
constexpr int COLOR_HIGHLIGHTTEXT = 14;

// System metrics indexes.
constexpr int SM_CXVSCROLL = 2;

// The colour of a system colour index, from the application's palette; black for an unknown index.
COLORREF GetSysColor(int nIndex);
// Sizes of the desktop's parts, from the application's style; 0 for an unknown index.
int GetSystemMetrics(int nIndex);
