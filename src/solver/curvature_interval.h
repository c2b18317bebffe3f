// The interval of a moment-curvature table that holds a curvature.
//
// The secant stiffness of a node interpolates the moment between the two table points that
// bracket its curvature: the first k (1 .. P - 2) with Phi[k] < phi <= Phi[k + 1], or the
// last interval P - 1 when none does. A scan from the first point finds it in P steps at
// every node and iteration. The tables of the section analysis ascend, and in a table that
// never decreases the first such k follows from a binary search for the first point at or
// above phi; repeated curvatures need no care, since the search keeps the scan's exact
// comparisons. A table that does not ascend (or holds a NaN) keeps the scan.
#pragma once

#include <algorithm>

namespace zarno {

// Tables are one-based: Phi[1] .. Phi[P].
inline bool Curvatures_Ascend(const double* Phi, int P) {
    for (int k = 1; k < P; ++k) {
        if (!(Phi[k] <= Phi[k + 1])) {
            return false;
        }
    }
    return true;
}

// The interval as the scan from the first point defines it.
inline int Curvature_Interval_By_Scan(const double* Phi, int P, double phi) {
    int k = 1;
    while (k < P - 1 && !(Phi[k] < phi && phi <= Phi[k + 1])) {
        ++k;
    }
    return k;
}

// The same interval; `ascending` is Curvatures_Ascend(Phi, P).
inline int Curvature_Interval(const double* Phi, int P, double phi, bool ascending) {
    if (!ascending) {
        return Curvature_Interval_By_Scan(Phi, P, phi);
    }
    const int last = std::max(1, P - 1); // where the scan stops without a match
    if (P < 2) {
        return last;
    }
    // At or below the first point (or NaN) no interval matches: every Phi[k] >= Phi[1].
    if (!(Phi[1] < phi)) {
        return last;
    }
    // First j in 2 .. P with phi <= Phi[j]; all points before it lie below phi, Phi[1]
    // included, so j - 1 is the first match.
    const double* j = std::lower_bound(Phi + 2, Phi + P + 1, phi,
                                       [](double point, double value) { return point < value; });
    const int k = static_cast<int>(j - Phi) - 1;
    return std::min(k, last);
}

// The same interval, tried first at `hint` (the interval of the station before, whose
// curvature is usually close) and at its two neighbours. In a table that ascends at most one
// k has Phi[k] < phi <= Phi[k + 1]: for an earlier k' both Phi[k' + 1] <= Phi[k] < phi and
// phi <= Phi[k' + 1] would have to hold. So any k in 1 .. P - 1 that brackets phi is the
// scan's answer (the scan stops at P - 1 anyway); otherwise the search decides.
inline int Curvature_Interval_From(const double* Phi, int P, double phi, bool ascending, int hint) {
    if (ascending && hint >= 1 && hint <= P - 1) {
        if (Phi[hint] < phi) {
            if (phi <= Phi[hint + 1]) {
                return hint;
            }
            // Above the hint's interval: the next one, when there is one.
            if (hint + 1 <= P - 1 && phi <= Phi[hint + 2]) {
                return hint + 1; // Phi[hint + 1] < phi holds
            }
        } else if (hint - 1 >= 1 && Phi[hint - 1] < phi) {
            return hint - 1; // phi <= Phi[hint] holds
        }
    }
    return Curvature_Interval(Phi, P, phi, ascending);
}

} // namespace zarno
