#pragma once

#include "tools/racefile/RaceDescription.h"

// Three cars over five laps with a pit stop (type A event), an incident (type B event), a marked
// lap and a car byte with a marker bit: the small race of the tests and the fuzz seeds.
RaceDescription ThreeCarRace();
