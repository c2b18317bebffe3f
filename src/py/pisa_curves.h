// Soil-reaction curves of the PISA design model for monopiles.
//
// Four reactions act on a monopile of diameter D and embedded length L: the distributed
// lateral load p against the displacement v (the p-y curve), the distributed moment m against
// the pile's rotation (from the vertical shear tractions on the pile wall), and the base shear
// and base moment against the tip's displacement and rotation. Every one is a single
// normalised conic with four parameters; the parameters vary with depth (z/D, z/L) or with the
// slenderness L/D, and for sand with the relative density Dr.
//
// Calibrations:
// - Cowden stiff glacial clay till: Byrne et al. (2020), Geotechnique 70(11):1030-1047;
// - General Dunkirk Sand Model (dense marine sand): Burd et al. (2020), Geotechnique
//   70(11):1048-1066;
// - Bothkennar soft clay: Burd et al. (2020), application to layered soils, Geotechnique 70(11).
//
// The functions here are pure: no model state, no units beyond those of the normalisation.
#pragma once

namespace zarno {

enum class PisaSoil { Cowden_Clay, Dunkirk_Sand, Bothkennar_Clay };

// The four parameters of the normalised conic.
struct ConicParameters {
    double x_u = 0.0; // normalised displacement (rotation) where the ultimate value is reached
    double k = 0.0;   // initial slope
    double n = 0.0;   // curvature, 0 <= n < 1 (0: bilinear)
    double y_u = 0.0; // ultimate normalised reaction
};

// Normalised reaction at the normalised displacement x (odd in x). The root of
//   -n (y/y_u - x/x_u)^2 + (1 - n)(y/y_u - x k/y_u)(y/y_u - 1) = 0
// written as y = y_u 2c / (-b + sqrt(b^2 - 4ac)), which stays finite at n = 0.5 where the
// quadratic's leading coefficient a = 1 - 2n vanishes; y = y_u beyond x_u.
double Conic_Reaction(const ConicParameters& c, double x);

// The same root from the textbook quadratic formula (used to cross-check the stable form;
// undefined at n = 0.5).
double Conic_Reaction_Quadratic(const ConicParameters& c, double x);

// Which of the four reactions.
enum class PisaReaction { Lateral, Moment, Base_Shear, Base_Moment };

// The calibration's raw parameters (as the published formulas give them, before clamping) of
// one reaction. z_D = z/D, z_L = z/L, L_D = L/D, Dr the relative density as a fraction
// (ignored by the clays). The distributed curves read z_D and z_L, the base curves L_D.
ConicParameters Pisa_Raw_Parameters(PisaSoil soil, PisaReaction reaction, double z_D, double z_L,
                                    double L_D, double Dr);

// Checked and clamped parameters: n clamped to [0, 0.999]; the m-theta curves have their corner
// at x_u = y_u / k; where k < y_u / x_u the slope k = y_u / x_u is used (the conic would
// otherwise bend the wrong way). `valid` is false, and `bad` names the parameter, when a raw
// x_u, k or y_u is not a positive finite number, or n is not finite.
struct PisaParameters {
    ConicParameters c;
    bool valid = true;
    const char* bad = ""; // "x_u", "k", "n" or "y_u"
    double bad_value = 0.0;
};
PisaParameters Pisa_Parameters(PisaSoil soil, PisaReaction reaction, double z_D, double z_L,
                               double L_D, double Dr);

// Whether the calibration covers a pile of this slenderness (2 <= L/D <= 6).
bool Pisa_Slenderness_Calibrated(double L_D);

} // namespace zarno
