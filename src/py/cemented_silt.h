// Cemented silt p-y curve: a soil with both cohesion and friction.
//
// The ultimate resistance adds a frictional part (the Reese sand wedge and flow-around
// resistances, scaled by the sand factor A) to a cohesive part (Matlock's 3 + gamma'x/c
// + Jx/b, capped at 9). The peak Pm = 1.5·(ps + pc) is reached at Ym = b/60, the residual
// Pu at Yu = 3b/80; below the peak a power curve C·y^(1/n) joins the initial line k·x·y.
#pragma once

#include "py/py_print_points.h"

namespace zarno {

struct CementedSiltInput {
    double b = 0.0;
    double c = 0.0;      // cohesion
    double gamma = 0.0;  // average effective unit weight
    double phi = 0.0;    // friction angle, radians
    double k = 0.0;      // initial modulus of subgrade reaction
    double x = 0.0;      // depth used in the model (equivalent depth in lower layers)
    double xt = 0.0;     // true depth below the ground surface
    double theta = 0.0;  // effective slope angle (ground slope minus batter), radians
    double y_Node = 0.0; // current deflection of the node, for the sloping-ground sign tests
    bool b_Cyclic = false;
    double J = 0.5;
};

enum class CementedSiltStatus {
    OK,
    Slope_Exceeds_Phi,      // |theta| > phi
    Slope_Without_Cohesion, // cos²theta − cos²phi < 1e-10 with c <= 0
};

struct CementedSiltCurve {
    CementedSiltStatus Status = CementedSiltStatus::OK;
    double alpha = 0.0, beta = 0.0, K0 = 0.0;
    double Ka = 0.0;       // active coefficient for the effective slope
    double Ka_Level = 0.0; // active coefficient of level ground
    double Kp = 0.0;
    double pst = 0.0, psd = 0.0, ps = 0.0; // frictional resistances
    double Np = 0.0, pc = 0.0;             // cohesive resistance
    double A = 0.0, B = 0.0;               // sand factors at x/b
    double Pu = 0.0, Pm = 0.0, Ym = 0.0, Yu = 0.0;
    double m_s = 0.0; // slope between (Ym, Pm) and (Yu, Pu)
    double n = 0.0;   // exponent of the power curve; infinite when Pu = Pm
    double C = 0.0;   // coefficient of the power curve
    double yk = 0.0;  // end of the initial line
    double kx = 0.0;
    double x = 0.0;
    double b = 0.0;
    bool b_Flat = false; // Pu = Pm: the power curve is the constant Pm
};

// Curve parameters at one node. When Status is not OK the curve must not be used.
CementedSiltCurve Cemented_Silt_Curve(const CementedSiltInput& in);
// The shape of the curve (m_s, n, C, yk, b_Flat) from Pu, Pm, Ym, Yu, kx, x and b,
// including the degenerate slopes Pu = Pm and n = 1.
void Cemented_Silt_Shape(CementedSiltCurve& cs);
// Resistance at the scaled deflection y (|y − ysm|/ym).
double Cemented_Silt_p(const CementedSiltCurve& cs, double y);
// Secant modulus pm·p/(y·ym); k·x at a vanishing deflection.
double Cemented_Silt_Es(const CementedSiltCurve& cs, double y, double pm, double ym);
// Deflections of the printed curve: 0, twelve steps to Ym, Yu, 1.05, 1.10, 1.15·Yu.
PyPrintDeflections Cemented_Silt_Print_y(const CementedSiltCurve& cs);

// Default subgrade modulus kc + kphi (0 in general units); phi in degrees.
double Cemented_Silt_Default_k(double c, double gamma, double phi_deg, bool cyclic, int units);
// Default eps50 for the report (0 in general units, where none applies).
double Cemented_Silt_Default_Eps50(double c, int units);
// Subgrade modulus at depth X, linear between the layer's top and bottom values.
double Cemented_Silt_k_In_Layer(double k_Top, double k_Bottom, double XLayerTop,
                                double XLayerBottom, double X);

} // namespace zarno
