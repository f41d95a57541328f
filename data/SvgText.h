#pragma once

// Makes Qt's SVG output small enough to inline in a page without changing what it draws: Qt
// writes one group with every attribute for each drawing call and one polyline per line.

#include <string>
#include <string_view>

// Drops the prologue, the identity transforms and the group's font attributes (every text
// element carries its own); joins neighbouring groups with the same attributes, and a run of
// polylines in one group into one path.
std::string CompactSvg(std::string_view svg);
