// Rock, cemented silt, loess and Piedmont soil models: layer routines over the nodes KTOP..KBOT.
// Not wired to their curve cores yet: a layer of these models keeps the moduli it had.
#include "py/py_models.h"

#include "engine/analysis_model.h"

namespace zarno {

void py_Weak_Rock(AnalysisModel& /*m*/, int /*layer*/) {}
void py_Vuggy_Limestone(AnalysisModel& /*m*/, int /*layer*/) {}
void py_Massive_Rock(AnalysisModel& /*m*/, int /*layer*/) {}
void py_Cemented_Silt(AnalysisModel& /*m*/, int /*layer*/) {}
void py_Loess(AnalysisModel& /*m*/, int /*layer*/) {}
void py_Piedmont(AnalysisModel& /*m*/, int /*layer*/) {}

} // namespace zarno
