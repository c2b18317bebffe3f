// Equivalent depth of the top of a lower layer, from the resistance the layers above
// have built in this pass and the node values the calling soil model left in m.Py.
#pragma once

namespace zarno {

struct AnalysisModel;

// Writes m.Py.X_Eq[layer] (and may rewrite small F_Layer values of the layers above).
// Callers set m.Py.b, c, ca, Gamma, J, xt and, for sands and silt, the friction-angle
// quantities first. A model without an equivalent depth leaves X_Eq unchanged; inputs that
// cannot be matched (no strength, no unit weight, no friction) give the true depth of the
// layer top below the ground surface, as below rock.
void Compute_X_Eq(AnalysisModel& m, int layer);

} // namespace zarno
