// Clay and sand soil models: layer routines over the nodes KTOP..KBOT.
// Not wired to their curve cores yet: a layer of these models keeps the moduli it had.
#include "py/py_models.h"

#include "engine/analysis_model.h"

namespace zarno {

void py_Soft_Clay(AnalysisModel& /*m*/, int /*layer*/) {}
void py_Soft_Clay_J(AnalysisModel& /*m*/, int /*layer*/) {}
void py_Stiff_Clay_Free_Water(AnalysisModel& /*m*/, int /*layer*/) {}
void py_Stiff_Clay_No_Water(AnalysisModel& /*m*/, int /*layer*/) {}
void py_Stiff_Clay_No_Water_k(AnalysisModel& /*m*/, int /*layer*/) {}
void py_Sand_Reese(AnalysisModel& /*m*/, int /*layer*/) {}
void py_API_Sand(AnalysisModel& /*m*/, int /*layer*/) {}
void py_Liquefied_Sand(AnalysisModel& /*m*/, int /*layer*/) {}

} // namespace zarno
