// Elastic subgrade and user-input curves: layer routines over the nodes KTOP..KBOT.
// Not wired to their curve cores yet: a layer of these models keeps the moduli it had.
#include "py/py_models.h"

#include "engine/analysis_model.h"

namespace zarno {

void py_Elastic_Subgrade(AnalysisModel& /*m*/, int /*layer*/) {}
void py_User_Input(AnalysisModel& /*m*/, int /*layer*/) {}

} // namespace zarno
