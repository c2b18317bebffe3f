#include "py/rock_silt_messages.h"

#include "engine/analysis_model.h"
#include "engine/messages.h"
#include "report/fortran_format.h"

#include <string>

namespace zarno {

namespace {

std::string Layer_Text(int layer) {
    return Format_I(layer, 0);
}

} // namespace

int Raise_Weak_Rock_Strength_Error(AnalysisModel& m, int layer) {
    return Fail_Run(m, MessageId::WeakRockStrength, Layer_Text(layer));
}

int Raise_Weak_Rock_Zero_Strength_Error(AnalysisModel& m) {
    return Fail_Run(m, MessageId::WeakRockZeroStrength);
}

int Raise_Weak_Rock_krm_Error(AnalysisModel& m, int layer) {
    return Fail_Run(m, MessageId::WeakRockKrm, Layer_Text(layer));
}

int Raise_Weak_Rock_yrm_Error(AnalysisModel& m, int layer) {
    return Fail_Run(m, MessageId::WeakRockYrm, Layer_Text(layer));
}

int Raise_Weak_Rock_Initial_Slope_Error(AnalysisModel& m, int layer) {
    return Fail_Run(m, MessageId::WeakRockInitialSlope, Layer_Text(layer));
}

int Raise_Silt_Cohesion_Error(AnalysisModel& m, int layer, double X, double c) {
    return Fail_Run(m, MessageId::SiltCohesion, Layer_Text(layer), Format_F(X, 13, 8),
                    Format_ES(c, 10, 3));
}

int Raise_Silt_Friction_Error(AnalysisModel& m) {
    return Fail_Run(m, MessageId::SiltFriction);
}

int Raise_Silt_Slope_Input_Error(AnalysisModel& m, int layer) {
    return Fail_Run(m, MessageId::SiltSlopeInput, Layer_Text(layer));
}

int Raise_Silt_Slope_Runtime_Error(AnalysisModel& m, int layer) {
    return Fail_Run(m, MessageId::SiltSlopeRuntime, Layer_Text(layer));
}

int Raise_Loess_Cycles_Error(AnalysisModel& m, int layer, double N) {
    return Fail_Run(m, MessageId::LoessCycles, Layer_Text(layer), Format_F(N, 12, 1));
}

} // namespace zarno
