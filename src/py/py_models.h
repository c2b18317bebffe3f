// The soil model routines, one per model code. Each runs over the nodes KTOP..KBOT of the
// given layer and returns as soon as RunStatus is set.
#pragma once

namespace zarno {

struct AnalysisModel;

void py_Soft_Clay(AnalysisModel& m, int layer);
void py_Soft_Clay_J(AnalysisModel& m, int layer);
void py_Stiff_Clay_Free_Water(AnalysisModel& m, int layer);
void py_Stiff_Clay_No_Water(AnalysisModel& m, int layer);
void py_Stiff_Clay_No_Water_k(AnalysisModel& m, int layer);
void py_Sand_Reese(AnalysisModel& m, int layer);
void py_API_Sand(AnalysisModel& m, int layer);
void py_Liquefied_Sand(AnalysisModel& m, int layer);
void py_Weak_Rock(AnalysisModel& m, int layer);
void py_Vuggy_Limestone(AnalysisModel& m, int layer);
void py_Massive_Rock(AnalysisModel& m, int layer);
void py_Cemented_Silt(AnalysisModel& m, int layer);
void py_Loess(AnalysisModel& m, int layer);
void py_Piedmont(AnalysisModel& m, int layer);
void py_Elastic_Subgrade(AnalysisModel& m, int layer);
void py_User_Input(AnalysisModel& m, int layer);
// The three PISA monopile models (codes 18 to 20): p-y springs, and the distributed moment
// and base springs of the layer's nodes.
void py_Pisa(AnalysisModel& m, int layer);

} // namespace zarno
