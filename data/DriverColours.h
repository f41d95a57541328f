#pragma once

// View, Distinct Colours: a colour for every driver that reads on the chart's black, on paper and
// on either background of the list, and that no other driver's colour is close to. Beyond the
// palette's size the colours come round again, drawn dashed.

#include "common/Colour.h"

#include <array>

class RaceData;

// Mid-tone colours, each at least 3.3:1 against both black and white, in the order they are handed
// out: every prefix keeps its colours as far apart (CIEDE2000) as the candidates allowed.
constexpr int kDistinctColourCount = 20;
extern const std::array<COLORREF, kDistinctColourCount> kDistinctColours;

// The colour of a driver's slot, and whether it is a repeat drawn dashed.
COLORREF DistinctColourOfSlot(int slot);
bool IsRepeatedColourSlot(int slot);

// Gives every driver without a slot the lowest one no other driver holds, so that a driver keeps
// its colour through sorting, deleting and adding; then shows the distinct colours or the designed
// ones.
void ShowDriverColours(RaceData& race, bool distinct);

// A reloaded race's drivers take the slots their namesakes held in the old race.
void CarryColourSlots(const RaceData& from, RaceData& to);
