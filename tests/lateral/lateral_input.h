// Input texts of whole lateral runs and a reader of the plot file's station records.
#pragma once

#include "test_support.h"

#include <cmath>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace zarno::test {

struct LateralCase {
    int increments = 100;
    int max_iterations = 100;
    double excess_deflection = 100.0;
    double length_ft = 150.0;
    // Elastic circular section: E (psi), I (in^4), width (in).
    double E = 29.0e6;
    double I = 16000.0;
    double b = 24.0;
    std::string section_lines;      // replaces the elastic section when not empty
    std::string layers;             // SOIL LAYERS body; default one elastic subgrade layer
    double Esub = 100.0;            // pci
    std::vector<std::string> loads; // "type c1 c2 Q flag"
    int print_increment = 10;
};

// A case whose iteration never settles: soil that gives out at a small deflection, loaded
// so that the secant springs keep changing while the deflection grows.
inline LateralCase Non_Converging_Case() {
    LateralCase c;
    c.loads = {"1 10000.0 0.0 0.0 1"};
    c.max_iterations = 30;
    c.layers = "1\n14 0.0 150.0\n60.0 3\n0.0 0.0\n0.01 10.0\n100.0 10.0\n60.0 3\n0.0 0.0\n"
               "0.01 10.0\n100.0 10.0\n";
    c.excess_deflection = 1.0e6;
    return c;
}

inline std::string Lateral_Input(const LateralCase& c) {
    std::ostringstream s;
    s << "ZARNOK6\nTITLE\nLateral test pile\n\n\n\n\n";
    s << "OPTIONS\nUnits USCS\nUseLRFD NO\nComputeKmatrix NO\nUseTipShear NO\n"
         "UseSoilMovement NO\nUsePYModifiers NO\nComputeEIOnly NO\nLoading STATIC     0\n";
    s << "MaxIterations " << c.max_iterations << "\n";
    s << "ExcessDeflection " << c.excess_deflection << "\n";
    s << "Tolerance 1.0E-05\n";
    s << "Increments " << c.increments << "\n";
    s << "PrintSummaryOnly NO\nPrintIncrement " << c.print_increment
      << "\nPrintPYCurves NO\nComputeInteraction NO\n";
    s << "SECTIONS\n1\n1\n";
    if (c.section_lines.empty()) {
        s << "11\n"
          << c.length_ft << "\n2\n"
          << c.E << "\n"
          << c.b << "\n"
          << c.b << "\n452.4\n452.4\n"
          << c.I << "\n"
          << c.I << "\n";
    } else {
        s << c.section_lines;
    }
    if (c.layers.empty()) {
        s << "SOIL LAYERS\n1\n13 0.0 " << c.length_ft << "\n60.0 " << c.Esub << "\n60.0 " << c.Esub
          << "\n";
    } else if (c.layers != "none") {
        s << "SOIL LAYERS\n" << c.layers;
    }
    s << "LOADING\n" << c.loads.size() << "\n";
    for (size_t i = 0; i < c.loads.size(); ++i) {
        s << i + 1 << " " << c.loads[i] << "\n";
    }
    s << "0\nEND\n";
    return s.str();
}

// One Line 10 record: a station of a converged load case.
struct Station {
    double X, y, M, V, p, EI;
};

// Station records per load case, in file order (a Line 11 closes each case).
inline std::vector<std::vector<Station>> Read_Stations(const std::string& plot) {
    std::vector<std::vector<Station>> cases(1);
    std::istringstream in(plot);
    std::string line;
    while (std::getline(in, line)) {
        if (line.find("Line 10(") == 91) {
            Station st{};
            double* f[] = {&st.X, &st.y, &st.M, &st.V, &st.p, &st.EI};
            for (int k = 0; k < 6; ++k) {
                *f[k] = std::strtod(line.substr(static_cast<size_t>(15 * k), 15).c_str(), nullptr);
            }
            cases.back().push_back(st);
        } else if (line.find("Line 11:") == 80) {
            cases.emplace_back();
        }
    }
    cases.pop_back();
    return cases;
}

// Line 13 records: head shear, head deflection, maximum moment, maximum shear, rotation.
inline std::vector<std::vector<double>> Read_Summary_Records(const std::string& plot) {
    std::vector<std::vector<double>> rows;
    std::istringstream in(plot);
    std::string line;
    while (std::getline(in, line)) {
        if (line.find("Line 13:") == 80) {
            std::vector<double> v;
            for (int k = 0; k < 5; ++k) {
                v.push_back(
                    std::strtod(line.substr(static_cast<size_t>(15 * k), 15).c_str(), nullptr));
            }
            rows.push_back(v);
        }
    }
    return rows;
}

inline int Count(const std::string& text, const std::string& part) {
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++n;
    }
    return n;
}

} // namespace zarno::test
