// Fatal-error blocks of the weak rock, cemented silt and loess p-y routines. Each writes
// its block (to the runtime message file and the report, or to the report alone where
// noted), ends the run and returns its status, which the caller propagates.
#pragma once

namespace zarno {

struct AnalysisModel;

// Weak rock: compressive strength zero or negative (INP00062, status 162).
[[nodiscard]] int Raise_Weak_Rock_Strength_Error(AnalysisModel& m, int layer);
// Weak rock: zero strength below the top of the layer (INP00016, status 116).
[[nodiscard]] int Raise_Weak_Rock_Zero_Strength_Error(AnalysisModel& m);
// Weak rock: k_rm zero or negative (code INP00163, status 163).
[[nodiscard]] int Raise_Weak_Rock_krm_Error(AnalysisModel& m, int layer);
// Weak rock: yrm = k_rm·b zero or negative (RUN00022, status 222).
[[nodiscard]] int Raise_Weak_Rock_yrm_Error(AnalysisModel& m, int layer);
// Weak rock: Eir and the strength give no initial slope, so yA cannot be formed
// (INP00064, status 164). Also writes "ERROR 2 BEFORE EQN 11" to the message file.
[[nodiscard]] int Raise_Weak_Rock_Initial_Slope_Error(AnalysisModel& m, int layer);

// Cemented silt: zero or negative cohesion below the layer top (INP00048, status 148).
[[nodiscard]] int Raise_Silt_Cohesion_Error(AnalysisModel& m, int layer, double X, double c);
// Cemented silt: zero or negative friction angle (INP00010, status 110).
[[nodiscard]] int Raise_Silt_Friction_Error(AnalysisModel& m);
// Cemented silt: slope as steep as phi in a silt without cohesion (INP00011, status 111).
[[nodiscard]] int Raise_Silt_Slope_Input_Error(AnalysisModel& m, int layer);
// Cemented silt: ground slope steeper than phi (RUN00023, status 223).
[[nodiscard]] int Raise_Silt_Slope_Runtime_Error(AnalysisModel& m, int layer);

// Loess: number of cycles above 10 in magnitude (code INP00170, status 170; report only).
[[nodiscard]] int Raise_Loess_Cycles_Error(AnalysisModel& m, int layer, double N);

} // namespace zarno
