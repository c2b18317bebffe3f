// A pile section as read from the SECTIONS block.
#pragma once

#include "engine/capacities.h"

namespace zarno {

struct PileSection {
    int i_Section_Type = 0;
    double Length = 0.0;
};

} // namespace zarno
