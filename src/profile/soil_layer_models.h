// Checks of the soil layers that must pass before any station is given a p-y curve: every
// layer needs a model that can produce a curve, and every default property a model would
// have to compute must be computable in the run's units.
#pragma once

namespace zarno {

struct AnalysisModel;

// Input error 57 for a layer of frozen soil (no p-y criterion exists for it); input error 58
// for a layer that leaves a property to its default in general units, where no default can
// be computed. Both messages name the layer. Returns false when an error was raised.
bool Check_Soil_Layer_Models(AnalysisModel& m);

} // namespace zarno
