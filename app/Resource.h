#pragma once

#include "common/CommandIds.h"
#include "common/Options.h"

// The About box and its controls.
constexpr int IDC_ABOUT_VERSION = 1000;
constexpr int IDC_ABOUT_COPYRIGHT = 1001;
constexpr int IDC_ABOUT_DESCRIPTION = 1002;
