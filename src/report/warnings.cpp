#include "report/warnings.h"

#include "engine/analysis_model.h"

#include <algorithm>
#include <fmt/format.h>
#include <initializer_list>
#include <string_view>

namespace zarno {

namespace {

struct WarningText {
    int code;
    std::initializer_list<std::string_view> lines;
};

// Texts of the warnings, one entry per code, each string one report line.
const WarningText kWarningTexts[] = {
    {-302,
     {"", "**** Warning ****", "",
      "An unreasonable value was input for friction angle has been specified",
      "for a soil layer defined uisng the sand criteria.  The input value is",
      "either smaller than 20 degrees or higher than 48 degrees.  The input",
      "data should be checked for correctness.", ""}},
    {-303,
     {"**** Warning ****", "",
      "An unreasonable value was input for friction angle has been specified for a",
      "soil layer defined uisng the API sand criteria.  The input value is either",
      "smaller than 20 degrees or higher than 48 degrees.  The input data should",
      "be checked for correctness.", ""}},
    {-305,
     {"***** Warning *****", "", "Too many values were calculated for moment-curvature.",
      "This may indicate that the pile is too weak or is under-reinforced, ",
      "where all reinforcing steel has yielded.  You should examine your input ",
      "data and increase the amount of steel reinforcement if necessary."}},
    {-306,
     {"", "Warning - Negative values of bending moment were computed in nonlinear EI computations.",
      "This may indicate that the pile is too weak or is under-reinforced and that all reinforcing "
      "steel ",
      "has yielded.",
      "You should examine your input data and increase the amount of steel reinforcement if "
      "necessary.",
      ""}},
    {-308,
     {"", "**** Warning ****", "",
      "An unreasonable input value for uniaxial compressive strength has been ",
      "specified for a soil defined using the vuggy limestone criteria.",
      "The input value is outside of the range of 1,000 to 2,500 psi (6,895 to 17,237 kPa).",
      "You should check your input data for correctness.", ""}},
    {-316,
     {"***** Warning *****", "",
      "The input value for k_rm used by the weak rock criteria is smaller than ",
      "0.00005.  This value is outside the recommended range of 0.00005 to 0.0005.",
      "You should check your input data for accuracy.", ""}},
    {-317,
     {"**** Warning - Possible Input Data Error ****", "",
      "The input value for k_rm used by the weak rock criteria is ",
      "greater than 0.0005.  This value is outside the recommended ",
      "range of 0.00005 to 0.005.  You should check your input data", "for accuracy.", ""}},
    {-354,
     {"", "**** Warning - Possible Modelling Error ****", "",
      "The depth of this liquefied sand layer is deeper than the recommended depth ",
      "limit of 6 meters for using the p-y criteria for liquefied sand.",
      "Please consult the Zarno Technical Manual for additional background ",
      "information regarding limitations on the use of the liquefied sand criteria.", ""}},
    {-355,
     {"", "**** Warning - Possible Design Error ****", "",
      "Maximum moment capacity was reached at maximum compressive strains that are",
      "smaller than 0.003.  This usually indicates that the pile section is under-",
      "reinforced.  The user should carefully examine the moment-curve results to",
      "determine if additional reinforcement or higher prestressing force is needed",
      "to achieve the necessary moment capacity.", ""}},
    {-356,
     {"", "**** Warning - Plastic Hinge ****", "",
      "In one or more load cases the bending moment reached the moment capacity of the",
      "pile at a depth named in the results of that case: a plastic hinge formed there.",
      "The pile still carries the load, with the moment held at the capacity, but the",
      "section has no reserve left at that depth.", ""}},
    {-400,
     {"", "**** Warning - Failure for One or More LRFD Load Cases ****", "",
      "This warning message is provided to alert the user that one or more of ",
      "LRFD load cases has overloaded the structural capacity of the pile."}},
    {-3041,
     {"", "**** Warning ****", "",
      "An unreasonable input value for shear strength has been specified for a soil",
      "defined using the soft clay criteria.  The input value is greater than 8.68",
      "psi (1,250 psf).  You should check your input data for correctness.", ""}},
    {-3042,
     {"", "**** Warning ****", "",
      "An unreasonable input value for shear strength has been specified for a soil",
      "defined using the soft clay criteria.",
      "The input value is greater than 59.85 kPa. You should check your input data for "
      "correctness.",
      ""}},
    {-3051,
     {"", "**** Warning ****", "",
      "An unreasonable input value for shear strength has been specified for a layer.",
      "defined using the stiff clay with free water criteria.  The input value is ",
      "less than 3.47 psi (500 psf). You should check your input data for correctness.", ""}},
    {-3052,
     {"", "**** Warning ****", "",
      "An unreasonable input value for shear strength has been specified for a layer.",
      "defined using the stiff clay with free water criteria.  The input value is ",
      "greater than 55.55 psi (8,000 psf).  You should check your input data for", "correctness.",
      ""}},
    {-3053,
     {"", "**** Warning ****", "",
      "An unreasonable input value for shear strength has been specified for a layer.",
      "defined using the stiff clay with free water criteria.  The input value is ",
      "less than 23.94kPa.  You should check your input data for correctness.", ""}},
    {-3054,
     {"", "**** Warning ****", "",
      "An unreasonable input value for shear strength has been specified for a layer. ",
      "defined using the stiff clay with free water criteria.  The input value is ",
      "greater than 383.04 kPa.  You should check your input data for correctness.", ""}},
    {-3061,
     {"", "**** Warning ****", "",
      "An unreasonable input value for shear strength has been specified for a layer. ",
      "defined using the stiff clay without free water criteria.  The input value is ",
      "less than 3.47 psi (500 psf).  You should check your input data for correctness.", ""}},
    {-3062,
     {"", "**** Warning ****", "",
      "An unreasonable input value for shear strength has been specified for a layer.",
      "defined using the stiff clay without free water criteria.  The input value is ",
      "greater than 8,000 psf (55.55 psi).  You should check your input data for correctness.",
      ""}},
    {-3063,
     {"", "**** Warning ****", "",
      "An unreasonable input value for shear strength has been specified for a layer.",
      "defined using the stiff clay without free water criteria.  The input value is ",
      "less than 23.94 kPa.  You should check your input data for correctness.", ""}},
    {-3064,
     {"", "**** Warning ****", "",
      "An unreasonable input value for shear strength has been specified for a layer.",
      "defined using the stiff clay without free water criteria.  The input value is ",
      "greater than 383.04 kPa.  You should check your input data for correctness.", ""}},
    {-3071,
     {"", "**** Warning ****", "",
      "An unreasonable input value for the compressive strength has been specified",
      "for a soil defined using the weak rock criteria.  The input value is less ",
      "than 100 psi.  You should check your input data for correctness.", ""}},
    {-3072,
     {"", "**** Warning ****", "",
      "An unreasonable input value for unconfined compressive strength has been ",
      "specified for a soil defined using the weak rock criteria.  The input value",
      "is greater than 1000 psi.  You should check your input data for correctness.", ""}},
    {-3073,
     {"", "**** Warning ****", "",
      "An unreasonable input value for unconfined compressive strength has been ",
      "specified for a soil defined using the weak rock criteria.  The input value",
      "is less than  689.5 kPa.  You should check your input data for correctness.", ""}},
    {-3074,
     {"", "**** Warning ****", "",
      "An unreasonable input value for unconfined compressive strength has been",
      "specified for a soil defined using the weak rock criteria.  The input value",
      "is greater than 6895 kPa.  You should check your input data for correctness.", ""}},
    {-3261,
     {"", "**** Warning ****", "",
      "An unreasonable input value for shear strength has been specified for a layer.",
      "defined using the stiff clay without free water criteria using k.",
      "The input value is less than 500 psf (3.47 psi).",
      "   You should check your input data for correctness.", ""}},
    {-3262,
     {"", "**** Warning ****", "",
      "An unreasonable input value for shear strength has been specified for a layer.",
      "defined using the stiff clay without free water criteria using k.",
      "The input value is greater than 8,000 psf (55.55 psi).",
      "You should check your input data for correctness.", ""}},
    {-3263,
     {"", "**** Warning ****", "",
      "An unreasonable input value for shear strength has been specified for a layer.",
      "defined using the stiff clay without free water criteria using k.",
      "The input value is less than 23.94 kPa.",
      "You should check your input data for correctness.", ""}},
    {-3264,
     {"", "**** Warning ****", "",
      "An unreasonable input value for shear strength has been specified for a layer.",
      "defined using the stiff clay without free water criteria using k.",
      "The input value is greater than 383.04 kPa.",
      "You should check your input data for correctness.", ""}},
};

const WarningText kInputNoteTexts[] = {
    {-712,
     {"", "**** Warning - Possible Input Data Error ****", "",
      "An effective unit weight of a soil layer is outside the usual range of soils",
      "and may have been entered in another unit; see the warnings after the input echo.", ""}},
    {-713,
     {"", "**** Warning ****", "",
      "Values of effective unit weight cannot be checked because general units have",
      "been selected.", ""}},
    {-714,
     {"", "**** Warning ****", "",
      "A printed soft clay p-y curve has deflections below 0.00001*Y50, where the",
      "limiting value of soil modulus was used.", ""}},
    {-715,
     {"", "**** Warning ****", "",
      "The last station of a soil layer could not be found from the layers below it;",
      "the layer's stations were taken down to the pile tip (ERROR 2 in computing",
      "i_BottomNodeInLayer above).", ""}},
    {-716,
     {"", "**** Warning ****", "",
      "A load case of the pile-head stiffness matrix failed, and the matrix was not",
      "computed (Error in computing pile-head stiffness matrix above).", ""}},
    {-717,
     {"", "**** Warning ****", "",
      "Soil layers were given with a gap or an overlap between them and were made",
      "contiguous; see the warnings after the input echo for the depths used.", ""}},
    {-718,
     {"", "**** Warning ****", "",
      "Values were left over on an input line after the values it holds were read;",
      "they were not used. See the warnings after the input echo for the lines.", ""}},
    {-5501,
     {"", "**** Warning - Possible Solution Error 5501 ****", "",
      "Force and moment imbalances may be too large for a good solution.",
      "See the output verification of the load case above for the imbalances; if the",
      "shear force shows large changes, increase the number of pile increments.", ""}},
    {-710,
     {"", "**** Warning ****", "",
      "An option line of the OPTIONS block does not start with its expected keyword.",
      "The value was read by its position; see the warnings after the input echo.", ""}},
    {-711,
     {"", "**** Warning ****", "",
      "An input value is far outside what its unit makes plausible and was probably",
      "entered in another unit; see the warnings after the input echo.", ""}},
    {-719,
     {"", "**** Warning ****", "",
      "A pile in PISA monopile soil layers is embedded less than 2 or more than 6 diameters,",
      "outside the calibration of the PISA curves; see the warnings after the input echo.", ""}},
    {-720,
     {"", "**** Warning ****", "",
      "Text in the input file is not UTF-8; bytes of another encoding were replaced",
      "by U+FFFD. See the warnings after the input echo for the lines.", ""}},
    {-721,
     {"", "**** Warning ****", "",
      "The secant soil modulus of a layer exceeded the largest modulus any ground can give",
      "and was held at that ceiling; the runtime message file names the layer and depth.",
      "Check the strength, modulus and p-y values of that layer.", ""}},
};

const WarningText* Find_Warning_Text(int code) {
    for (const WarningText& w : kInputNoteTexts) {
        if (w.code == code) {
            return &w;
        }
    }
    for (const WarningText& w : kWarningTexts) {
        if (w.code == code) {
            return &w;
        }
    }
    return nullptr;
}

} // namespace

int Count_Distinct_Warnings(const WarningStore& w) {
    int distinct = 0;
    for (int k = 1; k <= w.Last_Tallied_Code(); ++k) {
        if (w.i_Warning_Tally[k] != 0) {
            ++distinct;
        }
    }
    return distinct;
}

WarningTallies Set_Aside_Warning_Tallies(WarningStore& w) {
    WarningTallies kept;
    for (int k = 1; k <= w.Last_Tallied_Code(); ++k) {
        if (w.i_Warning_Tally[k] != 0) {
            kept.emplace_back(k, w.i_Warning_Tally[k]);
        }
    }
    w.Clear_Tallies();
    return kept;
}

void Keep_Warnings_Recorded_Before(WarningStore& w, const WarningTallies& before) {
    for (const auto& [k, count] : before) {
        w.i_Warning_Tally[k] = std::min(w.i_Warning_Tally[k] + count, MAX_WARNING_CODES);
        w.Highest_Tallied_Code = std::max(w.Highest_Tallied_Code, k);
    }
}

void Write_Warning_Summary(WarningStore& w, TextFile& report) {
    const int distinct = Count_Distinct_Warnings(w);
    w.i_Warning_Count = distinct;
    TextFile& r = report;
    if (distinct == 0) {
        r.Blank_Lines(2);
        r.Write_Line("No error or warning messages were generated by this analysis.");
        r.Blank_Lines(1);
        return;
    }
    r.Blank_Lines(2);
    r.Write_Line(std::string(80, '-'));
    r.Write_Line(std::string(26, ' ') + "Summary of Warning Messages");
    r.Write_Line(std::string(80, '-'));
    r.Blank_Lines(1);
    for (int k = 1; k <= w.Last_Tallied_Code(); ++k) {
        if (w.i_Warning_Tally[k] == 0) {
            continue;
        }
        r.Write_Line(
            fmt::format("The following warning was reported {} times", w.i_Warning_Tally[k]));
        r.Blank_Lines(1);
        if (const WarningText* text = Find_Warning_Text(-k)) {
            for (std::string_view line : text->lines) {
                r.Write_Line(line);
            }
        } else {
            r.Write_Line(fmt::format("Warning code {}", -k));
        }
    }
}

std::vector<std::string> Warning_Text_Lines(int code) {
    std::vector<std::string> lines;
    if (const WarningText* text = Find_Warning_Text(code)) {
        for (std::string_view line : text->lines) {
            lines.emplace_back(line);
        }
    }
    return lines;
}

int Warning_Return_Code(const WarningStore& w) {
    int distinct = 0;
    int code = 0;
    for (int k = 1; k <= w.Last_Tallied_Code(); ++k) {
        if (w.i_Warning_Tally[k] != 0) {
            ++distinct;
            code = -k;
        }
    }
    if (distinct == 1) {
        return code;
    }
    return distinct > 1 ? -300 : 0;
}

} // namespace zarno
