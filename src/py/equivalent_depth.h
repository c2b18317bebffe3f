// Equivalent depth of the top of a lower soil layer: the depth at which the layer's own
// material, extended up to the ground surface, would have mobilised the same total
// ultimate resistance as the layers that actually lie above it.
#pragma once

#include "py/sand.h"

#include <optional>
#include <span>

namespace zarno {

// Total resistance of layers 1 .. m-1 (tables indexed from 1). A layer whose F_Layer is
// below 0.01 takes its saved running value instead (written back into F_Layer); a running
// sum beyond 1e20 is reset to 100.
double X_Eq_Resistance_Above(std::span<double> F_Layer, std::span<const double> F_Layer_Saved,
                             int m);

// Each branch returns nullopt for degenerate input (no strength, no unit weight, a zero
// friction angle): the resistance above cannot be matched, and the caller then uses the
// true depth below the ground surface, as it does below rock layers.

// Soft clay ("SoftClay" with the default J, "SoftClyJ" with the node's J).
std::optional<double> X_Eq_Soft_Clay(double F_above, double b, double c, double gamma, double J,
                                     bool b_Cyclic);
// Stiff clay without free water ("StfClyAW", "StfClyAK"); ca is the average strength.
std::optional<double> X_Eq_Stiff_Clay_No_Water(double F_above, double b, double c, double ca,
                                               double gamma);
// Stiff clay with free water ("StfClyBW"), 50 rectangles.
std::optional<double> X_Eq_Stiff_Clay_Free_Water(double F_above, double b, double c, double ca,
                                                 double gamma, bool b_Cyclic);
// Reese and API sand, 500 trapezoids with the Reese A factors. Ka is the active coefficient
// the calling routine left (level ground); xt the node's true depth below the ground.
std::optional<double> X_Eq_Sand(double F_above, double b, double gamma, const SandAngles& a,
                                double Ka, double xt, bool b_Cyclic);
// Cemented silt ("Cem Silt"), 500 rectangles with cohesion added to the sand resistance.
std::optional<double> X_Eq_Cemented_Silt(double F_above, double b, double c, double gamma,
                                         const SandAngles& a, double Ka, double xt, bool b_Cyclic);

// Dispatch by model code. Not_Applicable: the model has no equivalent depth and X_Eq is
// left unchanged. Degenerate: see above.
struct XEqInput {
    int i_py_Type = 0;
    double F_above = 0.0;
    double b = 0.0;
    double c = 0.0;
    double ca = 0.0;
    double gamma = 0.0;
    double J = 0.5; // run-wide default for "SoftClay", the node's J for "SoftClyJ"
    SandAngles Angles;
    double Ka = 0.0;
    double xt = 0.0;
    bool b_Cyclic = false;
};

struct XEqResult {
    enum Status { Computed, Degenerate, Not_Applicable };
    Status status = Not_Applicable;
    double X_Eq = 0.0;
};

XEqResult X_Eq_For_Model(const XEqInput& in);

} // namespace zarno
