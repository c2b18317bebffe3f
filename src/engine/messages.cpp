#include "engine/messages.h"

#include "engine/analysis_model.h"
#include "engine/run_status.h"
#include "engine/text_trim.h"

#include <algorithm>
#include <array>

namespace zarno {

namespace {

constexpr MessageTarget B = MessageTarget::Both;
constexpr MessageTarget R = MessageTarget::Report;
constexpr MessageTarget M = MessageTarget::Messages;

// ---- the blocks ----------------------------------------------------------------------------

// {0} iteration
constexpr MessageLine kTopDeflectionNotANumber[] = {
    {R, "**** Runtime Error No. 28 ****"},
    {R, ""},
    {R, "Top deflection is Not-A-Number after iteration {0}"},
};

// {0} iteration
constexpr MessageLine kDeflectionChangeNotANumber[] = {
    {R, "**** Runtime Error No. 28 ****"},
    {R, ""},
    {R, "Maximum change in deflection is Not-A-Number after iteration {0}"},
};

// {0} iteration
constexpr MessageLine kStiffnessCaseNotANumber[] = {
    {R, "**** Runtime Error No. 28 ****"},
    {R, "Either top deflection or maximum change in deflection is not a number after "
        "iteration {0}"},
};

// {0} layer, {1} its thickness (F9.3), {2} length unit, {3} pile increment (F9.3),
// {4} number of increments, {5} increments needed
constexpr MessageLine kThinLayer[] = {
    {B, ""},
    {B, ""},
    {B, "**** Runtime Error No. 29 ****"},
    {B, ""},
    {B, "PROBLEM:  The thickness of layer {0} was too thin to contain a nodal point."},
    {R, "          This layer lacks a nodal point and this prevents the correct computation "
        "of p-y curves for the layer . "},
    {M, "          This layer lacks a nodal point and this prevents the correct computation "
        "of the layer's p-y curves. "},
    {B, "          The thickness of layer {0} is {1} {2} and the pile increment length is {3} "
        "{2}"},
    {B, "          The current number of pile increments is {4}."},
    {B, "          The estimated minimum number of increments needed to get at least one "
        "nodal point in the layer is {5}."},
    {B, ""},
    {B, "SOLUTION: Increase the number of pile increments. Up to 500 pile increments are "
        "allowed in Zarno."},
    {B, "          If this error occurs with the maximum number of pile increments, you will "
        "need to combine the thinnest"},
    {B, "          soil layer with an adjacent layer."},
    {B, ""},
    {B, ""},
};

// {0} layer
constexpr MessageLine kMassiveRock[] = {
    {B, ""},
    {B, ""},
    {B, "**** Analysis Stopped: Massive Rock Layer ****"},
    {B, ""},
    {B, "Problem:  Soil layer {0} is massive rock (p-y type 16). No p-y criterion for massive"},
    {B, "          rock is available in this version of Zarno, so the lateral analysis cannot "
        "be made."},
    {B, ""},
    {B, "Solution: Describe this layer with the weak rock criteria (p-y type 8) or the vuggy"},
    {B, "          limestone criteria (p-y type 9), or with user-input p-y curves (p-y type "
        "14)."},
    {B, ""},
};

// {0} requested depth (F9.3), {1} length unit, {2} ground surface depth (F9.3), {3} length
// label as the report heads its columns with it
constexpr MessageLine kPrintDepthAboveGround[] = {
    {B, "**** Input Data Error No. 23 (NON-FATAL) ****"},
    {B, ""},
    {B, "p-y curves cannot be generated at depth number 1"},
    {B, "This location is {0} {1} below the pile head and "},
    {B, "is above the ground surface for this problem."},
    {B, ""},
    {B, "The ground surface is {2} {3} below the top of the pile."},
    {B, ""},
};

// {0} computed head deflection, {1} length unit, {2} the limit (both as the report's
// free-format numbers)
constexpr MessageLine kExcessDeflection[] = {
    {B, ""},
    {B, ""},
    {B, "**** Runtime Error No. 9 ****"},
    {B, ""},
    {B, "An error in the analysis was detected by the program.  "},
    {B, "Problem:  The computed deflection is larger than the specified excess deflection "
        "limit."},
    {B, "The computed deflection of the pile head is {0} {1}"},
    {B, "The specified excess deflection limit is    {2} {1}"},
    {B, "This error may be due to overloading the pile or bad input data."},
    {B, ""},
    {B, "Solution:"},
    {B, "Please check input values for pile loading and soil properties for accuracy and/or "},
    {B, "increase the size of the pile if necessary."},
};

// {0} node, {1} pivot (ES12.5)
constexpr MessageLine kSmallPivot[] = {
    {B, ""},
    {B, ""},
    {B, "**** Runtime Error No. 11 ****"},
    {B, ""},
    {B, "Problem:  Solution failed due to small pivot value."},
    {B, "          Node number = {0}"},
    {B, "          Pivot value = {1}"},
    {B, ""},
    {B, "Solution: This error usually occurs when a lateral bearing capacity failure occurs.  "},
    {B, "          Reduce the load on the pile and repeat the analysis."},
    {B, "          You may also consider increasing pile diameter or pile length."},
};

constexpr MessageLine kSandDefaultK[] = {
    {B, ""},
    {B, ""},
    {B, "**** Runtime Error No. 13 ****"},
    {B, ""},
    {B, "Problem:  General units have been selected for use in computations in      "},
    {B, "combination with default values of k for a layer classified as API sand    "},
    {B, "criteria. This combination of data cannot be used because Zarno cannot     "},
    {B, "compute default values of subgrade modulus in general units.               "},
    {B, ""},
    {B, "Solution:  You must select either US customary for SI units for the        "},
    {B, "units of computation to use a default value for subgrade subgrade modulus  "},
    {B, "for the API sand criteria or enter an appropriate proper value by entering "},
    {B, "a non-zero for k."},
};

// {0} load case
constexpr MessageLine kNoSoilSupport[] = {
    {B, ""},
    {B, ""},
    {B, "**** Runtime Error No. {n} ****"},
    {B, ""},
    {B, "Problem:  The pile has no soil support for load case {0}."},
    {B, "No pile node lies in a soil layer that resists lateral movement, so the pile-head"},
    {B, "conditions of this load case leave the pile free to move as a rigid body."},
    {B, ""},
    {B, "Solution:"},
    {B, "Please check the soil layers: they must extend over the embedded length of the pile."},
};

// {0} load case, {1} moment imbalance, {2} moment unit, {3} force imbalance, {4} force unit
constexpr MessageLine kGrossImbalance[] = {
    {B, ""},
    {B, ""},
    {B, "**** Runtime Error No. {n} ****"},
    {B, ""},
    {B, "Problem:  The solution of load case {0} is not in equilibrium."},
    {B, "Largest internal moment imbalance = {1} {2}"},
    {B, "Largest internal lateral force imbalance = {3} {4}"},
    {B, "The results of this load case are not valid."},
    {B, ""},
    {B, "Solution: Check the bending stiffness, dimensions and soil moduli for values far "
        "outside"},
    {B, "the physical range, and increase the number of pile increments."},
};

// {0} load case, {1} section, {2} depth, {3} length unit, {4} moment at the depth, {5} moment
// unit, {6} nominal moment capacity, {7} moment of the last point of the section's
// moment-curvature table, {8} what was seen ("no state of equilibrium was found" and the like)
constexpr MessageLine kCapacityReached[] = {
    {B, ""},
    {B, ""},
    {B, "**** Runtime Error No. {n} ****"},
    {B, ""},
    {B, "Problem:  Load case {0} exceeds the bending capacity of the pile: {8}."},
    {B, "          The bending moment reached the capacity of section {1} at {2} {3} below the "
        "pile head:"},
    {B, "          moment at that depth                      = {4} {5}"},
    {B, "          nominal moment capacity Mn                = {6} {5}"},
    {B, "          last point of the moment-curvature table  = {7} {5}"},
    {B, "          Plastic hinges form there and the pile cannot carry this load; more iterations"},
    {B, "          or a larger convergence tolerance will not change that."},
    {B, ""},
    {B, "Solution: Reduce the pile-head load, or increase the moment capacity of the section"},
    {B, "          (larger diameter or wall, more reinforcement)."},
};

// {0} axial thrust, {1} force unit, {2} node, {3} iteration, {4} a fix to make first (an
// implausible modulus), empty or ending in a blank
constexpr MessageLine kBuckling[] = {
    {B, ""},
    {B, ""},
    {B, "**** Runtime Error No. {n} ****"},
    {B, ""},
    {B, "Problem:  The axial thrust exceeds the buckling load of the pile in this soil."},
    {B, "          Axial thrust load = {0} {1}"},
    {B, "          The pile lost its lateral stability at node {2} in iteration {3}."},
    {B, ""},
    {B, "Solution: {4}Reduce the axial thrust or increase the bending stiffness of the pile."},
    {B, "          The stiffness of the soil near the pile head also governs the buckling "
        "load."},
};

// {0} input file name, {1} what its first item is
constexpr MessageLine kNotAnInputFile[] = {
    {B, ""},
    {B, ""},
    {B, "**** Input Data Error No. {n} ****"},
    {B, ""},
    {B, "Problem:  The file {0} is not a Zarno input file: {1}."},
    {B, "Solution: A Zarno input file begins with the item ZARNOK6. Check the name of the "
        "input data file."},
    {B, ""},
};

// {0} problem, {1} solution
constexpr MessageLine kIncompleteInput[] = {
    {B, ""},
    {B, ""},
    {B, "**** Input Data Error No. {n} ****"},
    {B, ""},
    {B, "Problem:  {0}"},
    {B, "Solution: {1}"},
    {B, ""},
};

// {0} the missing block
constexpr MessageLine kLrfdDataMissing[] = {
    {B, ""},
    {B, ""},
    {B, "**** Input Data Error No. {n} ****"},
    {B, ""},
    {B, "LRFD analysis was specified (UseLRFD YES), but the input has no {0} data."},
    {B, ""},
    {B, "Solution:"},
    {B, "Enter the unfactored loads and the load combinations, or specify UseLRFD NO."},
    {B, ""},
};

// {0} layer
constexpr MessageLine kFrozenSoil[] = {
    {B, ""},
    {B, ""},
    {B, "**** Input Data Error No. {n} ****"},
    {B, ""},
    {B, "Problem:  Soil layer {0} is frozen soil (p-y type 17). No p-y criterion is available"},
    {B, "          for frozen soil in this version of Zarno, so the layer would give the pile "
        "no"},
    {B, "          soil resistance that could be trusted."},
    {B, ""},
    {B, "Solution: Describe this layer with user-input p-y curves (p-y type 14) obtained for "
        "the"},
    {B, "          frozen soil at the site."},
    {B, ""},
};

// {0} layer, {1} its model, {2} the property, {3} "top" or "bottom"
constexpr MessageLine kGeneralUnitsNoValue[] = {
    {B, ""},
    {B, ""},
    {B, "**** Input Data Error No. {n} ****"},
    {B, ""},
    {B, "Problem:  Soil layer {0} ({1}) has no value of {2} at its {3}."},
    {B, "          General units are selected, and Zarno can compute a default value of"},
    {B, "          {2} only in US customary or SI units."},
    {B, ""},
    {B, "Solution: Enter a value of {2} greater than zero for this layer,"},
    {B, "          or select US customary or SI units."},
    {B, ""},
};

// {0} number of lines given
constexpr MessageLine kSoilMovementLines[] = {
    {B, "**** Input Data Error No. {n} ****"},
    {B, ""},
    {B, "Number of lines specified for soil movement data = {0}"},
    {B, "The number of lines of soil movement data cannot be less than 2 or exceed 100."},
    {B, ""},
};

// {0} problem, {1} solution
constexpr MessageLine kIncrementRange[] = {
    {B, "**** Input Data Error No. {n} ****"}, {B, ""}, {B, "{0}"}, {B, ""}, {B, "{1}"},
};

// {0} problem, {1} advice
constexpr MessageLine kToleranceRange[] = {
    {B, ""}, {B, "**** Input Data Error No. {n} ****"}, {B, ""}, {B, "{0}"}, {B, "{1}"}, {B, ""},
};

// {0} " with J" or nothing, {1} where it happened, {2} the pile's length and node range
constexpr MessageLine kSoftClayZeroStrength[] = {
    {B, "**** Input Data Error No. {n} ****"},
    {B, ""},
    {B, "An error was detected that is related to an incompatibility between the input "},
    {B, "data defining soil layering and soil shear strength values when computing a "},
    {B, "p-y curve using the Matlock soft clay criteria."},
    {B, ""},
    {B, "Problem:  A negative or zero value of cohesion was input for a soft clay soil{0}."},
    {B, ""},
    {B, "Solution:  Please compare the depth values for soil layering and soil shear "},
    {B, "strength values and revise the input data."},
    {B, ""},
    {R, "{1}{2}"},
    {M, "{1}"},
};

// {0} layer, {1} input line, {2} the code given
constexpr MessageLine kPyTypeCode[] = {
    {B, ""},
    {B, ""},
    {B, "**** Input Data Error No. {n} ****"},
    {B, ""},
    {B, "Problem:  Soil layer {0} in the SOIL LAYERS block at line {1} of the input file has "
        "the p-y type code {2}."},
    {B, "Solution: Use a p-y type code from 1 to 20 for every soil layer."},
    {B, ""},
};

// {0} problem, {1} detail
constexpr MessageLine kListReadValue[] = {
    {B, ""},    {B, ""}, {B, "**** Input Data Error No. {n} ****"}, {B, ""}, {B, "{0}"},
    {B, "{1}"}, {B, ""},
};

// {0} the line as read
constexpr MessageLine kUnrecognizedLine[] = {
    {B, ""},
    {B, ""},
    {B, "***** INPUT ERROR *****"},
    {B, ""},
    {B, "The following line is unrecognized or is out-of-order"},
    {B, ""},
    {B, "{0}"},
    {B, "{1}"},
    {B, ""},
    {B, ""},
};

constexpr MessageLine kUnitWeightOutsideSI[] = {
    {B, ""},
    {B, "**** Warning - Possible Input Data Error ****"},
    {B, ""},
    {B, "Values entered for effective unit weights of soil were outside"},
    {B, "the limits of 3.15 kN/m3 or 22 kN/m3."},
    {M, "The input data may be erroneous. Please check your data."},
    {R, "The input data for effective unit weight may be erroneous. Please check your data."},
    {B, ""},
};

constexpr MessageLine kUnitWeightOutsideUSCS[] = {
    {B, ""},
    {B, "**** Warning - Possible Input Data Error ****"},
    {B, ""},
    {B, "Values entered for effective unit weights of soil were outside"},
    {B, "the limits of 0.011574 pci (20 pcf) or 0.0810019 pci (140 pcf)"},
    {B, "This data may be erroneous.  Please check your data."},
    {B, ""},
};

// {0} layer
constexpr MessageLine kWeakRockStrength[] = {
    {B, "**** Input Data Error No. 62 ****"},
    {B, ""},
    {B, "Problem:   The input value for compressive strength is less than or equal to zero."},
    {B, ""},
    {B, "Solution:  Check the input values for layer {0}"},
};

constexpr MessageLine kWeakRockZeroStrength[] = {
    {B, "**** Input Data Error No. 16 ****"},
    {B, ""},
    {B, "An error was detected when computing the p-y curve for weak rock."},
    {B, "Problem:   The input value for the compressive strength of a weak rock was "},
    {B, "           input as negative or zero (0)."},
    {B, ""},
    {B, "Solution:  Check the depth values for soil layering and soil shear strength "},
    {B, "           values and correct the input data."},
    {B, ""},
};

// {0} layer
constexpr MessageLine kWeakRockKrm[] = {
    {B, "**** Input Data Error No. 63 ****"},
    {B, ""},
    {B, "Problem:  The input value for k_rm for weak rock is less than or equal to zero."},
    {B, ""},
    {B, "Solution: Check the input values for layer {0}"},
    {B, ""},
};

// {0} layer
constexpr MessageLine kWeakRockYrm[] = {
    {B, "**** Runtime Error No. 22 ****"},
    {B, ""},
    {B, "An error was detected when computing the p-y curve for weak rock.     "},
    {B, "Problem:  The input value for k_rm is less than or equal to 0. "},
    {B, ""},
    {B, "Solution:  Check the input values for the week rock properties in the soil layer {0}"},
    {B, ""},
};

// {0} layer
constexpr MessageLine kWeakRockInitialSlope[] = {
    {M, "ERROR 2 BEFORE EQN 11"},
    {B, "**** Input Data Error No. 64 ****"},
    {B, ""},
    {B, "An error was detected when computing the p-y curve for weak rock."},
    {B, "Problem:   The initial modulus of rock, Eir, and the compressive strength of layer {0}"},
    {B, "           give no initial slope for the p-y curve."},
    {B, ""},
    {B, "Solution:  Check the input values of Eir and of the compressive strength for layer {0}"},
    {B, ""},
};

// {0} layer, {1} depth (F13.8), {2} cohesion (ES10.3)
constexpr MessageLine kSiltCohesion[] = {
    {B, "**** Input Data Error No. 48 ****"},
    {B, ""},
    {B, "Problem: A negative or zero value of cohesion was input for "},
    {B, "a soil defined as a silt."},
    {B, ""},
    {B, "Layer = {0}, Depth = {1}, c = {2}"},
    {B, ""},
    {B, "Solution:  Please revise and correct the input data.  "},
    {B, "Both cohesion and friction angle should be non-zero for silt soils."},
};

constexpr MessageLine kSiltFriction[] = {
    {B, "**** Input Data Error No. 10 ****"},
    {B, ""},
    {B, "Problem:  A negative or zero value was input for the friction angle for a silt."},
    {B, ""},
    {B, "Solution:  Please revise and correct the input data.  "},
    {B, "Both cohesion and friction angle must be non-zero for the cemented silt soil."},
};

// {0} layer
constexpr MessageLine kSiltSlopeInput[] = {
    {B, "**** Input Data Error No. 11 ****"},
    {B, ""},
    {B, "An error was detected in the input data when computing a p-y."},
    {B, "curve using the criteria for silt for layer {0}."},
    {B, ""},
    {B, "Problem:  The angle of the ground slope can not be greater "},
    {B, "than the internal friction angle of cohesionless silt."},
    {B, ""},
    {B, "Solution:  Set the value for slope angle to be less than "},
    {B, "the angle of friction."},
    {B, ""},
};

// {0} layer
constexpr MessageLine kSiltSlopeRuntime[] = {
    {B, "**** Runtime Error No. 23 ****"},
    {B, ""},
    {B, "A runtime error occurred due to the ground slope angle being"},
    {B, "greater than the friction angle for silt for layer {0}."},
    {B, ""},
    {B, "Problem:  The angle of the ground slope can not be greater "},
    {B, "than the internal friction angle of silt."},
    {B, ""},
    {B, "Solution:  Set the value for slope angle to be less than "},
    {B, "the angle of friction or convert the layer into an equivalent"},
    {B, "strength clay layer."},
    {B, ""},
};

// {0} layer, {1} number of cycles (F12.1)
constexpr MessageLine kLoessCycles[] = {
    {R, ""},
    {R, ""},
    {R, "**** Input Data Error No. 70 ****"},
    {R, ""},
    {R, "PROBLEM: Soil layer {0} is a loess and the input value for the number of cycles of "
        "loading = {1}"},
    {R, "This value is greater than 10. The soil model for loess is valid only for 1 to 10 "
        "cycles of loading. "},
    {R, "SOLUTION: Revise the input data so that the number of cycles of loading is in the "
        "range of 1 to 10."},
    {R, ""},
};

// {0} the message, naming the option; {1} the line as read and what it must hold
constexpr MessageLine kOptionUnrecognized[] = {
    {R, ""},
    {R, "{0}"},
    {R, "{1}"},
};

// {0} the limit given, {1} how it is out of range
constexpr MessageLine kIterationLimit[] = {
    {R, ""},
    {R, ""},
    {R, "***** Input Data Error No. 95 *****"},
    {R, ""},
    {R, "Problem: Input value for iterations limit = {0}{1}"},
    {R, "Solution:  Correct input value to be between 30 and 1000 iterations."},
    {R, ""},
    {R, ""},
};

// {0} problem, {1} detail
constexpr MessageLine kLrfdInput[] = {
    {R, ""}, {R, ""}, {R, "***** Input Data Error No. {n} *****"}, {R, ""}, {R, "{0}"}, {R, "{1}"},
    {R, ""}, {R, ""},
};

// {0} problem, {1} detail after a blank line
constexpr MessageLine kLrfdInputWithDetail[] = {
    {R, ""},    {R, ""},    {R, "***** Input Data Error No. {n} *****"},
    {R, ""},    {R, "{0}"}, {R, ""},
    {R, "{1}"}, {R, ""},    {R, ""},
};

// {0} iteration limit, {1} last change in deflection, {2} change from the iteration
// before, {3} tolerance (the three as the report's free-format numbers), {4} length unit,
// {5} the recommendations, one or more lines, {6} the load case
constexpr MessageLine kNonconvergence[] = {
    {R, ""},
    {R, ""},
    {R, "------------------------------------"},
    {R, "  ****  Runtime Error No. 10  ****  "},
    {R, "------------------------------------"},
    {R, ""},
    {R, "The analysis of load case {6} failed to converge within the limit of {0} iterations."},
    {R, "Maximum change in nodal deflections                      = {1} {4}"},
    {R, "Maximum change in nodal deflections from prior iteration = {2} {4}"},
    {R, "Specified convergence tolerance on nodal deflections     = {3} {4}"},
    {R, ""},
    {R, ""},
    {R, "-----------------------------------------------------------------------------"},
    {R, "         Analysis of Convergence Performance and Recommendations for         "},
    {R, "         Modification of Iterations Limit and Convergence Tolerance          "},
    {R, "-----------------------------------------------------------------------------"},
    {R, ""},
    {R, "The following recommendations are made on the basis of an analysis of "},
    {R, "convergence performancefor the last analysis. "},
    {R, "{5}"},
};

constexpr MessageLine kNeutralAxisNotFound[] = {
    {R, "**** Runtime Error No. 16 ****"},
    {R, ""},
    {R, "Location of neutral axis was not found within 1,000 iterations."},
};

// {0} "LRFD " or nothing, {1} load case, {2} "compression" or "tension", {3} the thrust's
// label padded to its column, {4} the thrust (F15.3), {5} the capacity's label, {6} the
// capacity (F15.3), {7} force unit with its leading blank
constexpr MessageLine kSectionAxialCapacity[] = {
    {R, ""},
    {R, ""},
    {R, "**** Runtime Error No. {n} ****"},
    {R, ""},
    {R, "PROBLEM:  The axial thrust load for {0}load case no. {1} exceeds the axial structural "
        "capacity in {2}."},
    {R, "          {3}= {4}{7}"},
    {R, "          {5}= {6}{7}"},
    {R, ""},
    {R, "SOLUTION: Change the properties of the section to increase the axial structural "
        "capacity."},
    {R, ""},
};

// {0} "concrete" or "steel", {1} the computed area (free format, width 15)
constexpr MessageLine kPrestressArea[] = {
    {R, "**** Runtime Error No. {n} ****"},
    {R, ""},
    {R, "An error occurred in prestressing computations"},
    {R, "The computed area of {0} in the section is less than 0.0 = {1}"},
};

// {0} section
constexpr MessageLine kSectionMicropile[] = {
    {R, ""},
    {R, "INPUT ERROR - Section {0} is a micropile section, for which no bending stiffness can "
        "be"},
    {R, "computed. Describe the micropile by one of the other section types."},
};

// {0} "reinforcing bars" or "prestressing strands", {1} section
constexpr MessageLine kSectionBarPlacement[] = {
    {R, ""},
    {R, "INPUT ERROR - The {0} of section {1} cannot be placed:"},
    {R, "the cover, bar size and number of positions leave no room for them, or"},
    {R, "more than three bars are bundled at one position."},
};

// ---- the run's files: message file only (before the files exist, standard output) -----

// {0} what is wrong with the name
constexpr MessageLine kRunFileName[] = {
    {M, ""}, {M, ""}, {M, "**** Runtime Error No. {n} ****"}, {M, ""}, {M, "{0}"},
};

// {0} what is wrong with the name; written to standard error, without blank lines above
constexpr MessageLine kBlankFileName[] = {
    {M, "**** Runtime Error No. 17 ****"},
    {M, ""},
    {M, "{0}"},
};

// {0} the file's role, {1} the field length, {2} the name's length, {3} the name
constexpr MessageLine kFileNameTooLong[] = {
    {M, ""},
    {M, ""},
    {M, "**** Runtime Error No. 53 ****"},
    {M, ""},
    {M, "The name of the {0} is longer than {1} characters ({2})."},
    {M, "{3}"},
    {M, "No analysis was performed and no file was written."},
};

// {0} the kind of file system object, {1} the input file name
constexpr MessageLine kInputNotRegularFile[] = {
    {M, ""},
    {M, ""},
    {M, "**** Runtime Error No. 51 ****"},
    {M, ""},
    {M, "The input data file is {0}, not a regular file: {1}"},
    {M, "No analysis was performed and no file was written."},
};

// {0} role and {1} name of the output, {2} role and {3} name of the file it would replace,
// {4} what that would do
constexpr MessageLine kOutputOverwritesFile[] = {
    {M, ""},
    {M, ""},
    {M, "**** Runtime Error No. 50 ****"},
    {M, ""},
    {M, "The {0} {1} names the same file as the {2} {3}."},
    {M, "{4}"},
    {M, "No analysis was performed and no file was written."},
};

// {0} the file's role, {1} "opened" or "created", {2} its name
constexpr MessageLine kFileCannotOpen[] = {
    {M, ""},
    {M, ""},
    {M, "**** Runtime Error No. {n} ****"},
    {M, ""},
    {M, "The {0} cannot be {1}: {2}"},
};

// The report gets its own lines of this error after the premature-end line.
constexpr MessageLine kEmptyInputFile[] = {
    {M, ""}, {M, ""}, {M, "**** Input Data Error No. 25 ****"},
    {M, ""}, {M, ""}, {M, "Size of input data file is 0 bytes.  No analysis performed."},
    {M, ""},
};

// {0} the file's role, {1} its name, {2} the system's reason
constexpr MessageLine kOutputWriteFailed[] = {
    {M, ""},
    {M, ""},
    {M, "**** Runtime Error No. 58 ****"},
    {M, ""},
    {M, "The {0} {1} could not be written completely ({2}). Its contents are incomplete."},
};

// ---- p-y curves of clay and sand -------------------------------------------------------

constexpr MessageLine kStiffClayZeroCohesion[] = {
    {B, "**** Input Data Error No. 13 ****"},
    {B, ""},
    {B, "An error was detected in the input data."},
    {B, "Problem:  Zero was input for cohesion of stiff clay without free water."},
    {B, ""},
    {B, "Solution:  Please check the values of soil shear strength and revise the input data."},
    {B, ""},
};

// The same block of the model with an input initial modulus, its solution in two lines.
constexpr MessageLine kStiffClayZeroCohesionInitialK[] = {
    {B, "**** Input Data Error No. 13 ****"},
    {B, ""},
    {B, "An error was detected in the input data."},
    {B, "Problem:  Zero was input for cohesion of stiff clay without free water."},
    {B, ""},
    {B, "Solution:  Please check the values of soil shear strength and revise "},
    {B, "the input data."},
    {B, ""},
};

constexpr MessageLine kStiffClayWaterZeroCohesion[] = {
    {B, "**** Input Data Error No. 14 ****"},
    {B, ""},
    {B, "An error was detected in the input data used to compute p-y curves in "},
    {B, "stiff clay with free water."},
    {B, ""},
    {B, "Problem:  Zero was input for the cohesion of a stiff clay. "},
    {B, ""},
    {B, "Solution:  Check and compare the values of shear strength and revise the "},
    {B, "input so that the strength values are correct for the soil types specified."},
    {B, ""},
};

// {0} layer
constexpr MessageLine kApiSandSlope[] = {
    {B, "**** Input Data Error No. 2 ****"},
    {B, ""},
    {B, "An error was detected in the input data when computing a p-y."},
    {B, "curve using the API criteria for sand for layer {0}."},
    {B, ""},
    {B, "Problem:  The angle of the ground slope can not be greater "},
    {B, "than the internal friction angle of the sand."},
    {B, ""},
    {B, "Solution:  Set the value for slope angle to be less than "},
    {B, "the angle of friction."},
};

// {0} layer
constexpr MessageLine kReeseSandSlope[] = {
    {B, "**** Input Data Error No. 9 ****"},
    {B, ""},
    {B, "An error was found in the input data when computing a p-y curve using "},
    {B, "the Reese sand criteria for layer {0}."},
    {B, ""},
    {B, "Problem:  The angle of the ground slope can not be greater than the "},
    {B, "internal friction angle of the sand."},
    {B, ""},
    {B, "Solution:  Set the value for slope angle to be less than the angle of friction."},
};

constexpr MessageLine kReeseSandZeroFriction[] = {
    {M, "**** Input Data Error No. 8 ****"},
    {M, ""},
    {M, "An error was detected in the input data for friction angle."},
    {M, "Problem:  Zero was input for the friction angle for a sand when computing "},
    {M, "          a p-y curve using the Reese et al. criteria."},
    {M, ""},
    {M, "Solution: Check values of soil strength values and revise the input data."},
    {M, ""},
};

// {0} layer
constexpr MessageLine kApiSandZeroFriction[] = {
    {B, "**** Input Data Error No. 1 ****"},
    {B, ""},
    {B, "An error was detected in the input data when computing a p-y."},
    {B, "curve using the API sand criteria for layer {0}."},
    {B, ""},
    {B, "Problem:  A zero was input for the friction angle for sand."},
    {B, ""},
    {B, "Solution:  Check the friction angle values and revise the "},
    {B, "data to correct this problem."},
    {B, ""},
};

// {0} "default" or "computed", {1} the model ("soft clay", "Reese Sand" ...), {2} node
constexpr MessageLine kSoilModulusNotANumber[] = {
    {R, "**** Runtime Error No. {n} ****"},
    {R, ""},
    {R, "The {0} value of soil modulus computed in {1} is not-a-number for node number {2}"},
    {R, ""},
    {R, "This problem is usually due to a required soil property being left equal to zero."},
};

// {0} node; the API soft clay model's computed modulus, with its heading as it has always
// been printed
constexpr MessageLine kApiSoftClayModulusNotANumber[] = {
    {R, "**** Runtime Error No 36. ****"},
    {R, ""},
    {R, "The computed value of soil modulus computed in API soft clay is not-a-number for node "
        "number {0}"},
    {R, ""},
    {R, "This problem is usually due to a required soil property being left equal to zero."},
};

// ---- the soil profile ------------------------------------------------------------------

// {0} station depth (ES12.4), {1} length unit, {2} deepest strength depth (F10.3)
constexpr MessageLine kStrengthCurveTooShallow[] = {
    {B, "**** Input Data Error No. 5 ****"},
    {B, ""},
    {B, "An error was detected that is related to an incompatibility between "},
    {B, "the input data defining pile embedment depth and values of shear "},
    {B, "strength of soil versus depth."},
    {B, ""},
    {B, "Problem:  The value for a pile station depth is {0} {1}"},
    {B, "This depth is below the deepest extent of the input curve for "},
    {B, "shear strength of soil versus depth at {2} {1}"},
    {B, ""},
    {B, "Solution:  Please revise the input data by either extending the "},
    {B, "maximum depth for shear strength of soil or shorten the "},
    {B, "pile to be entirely within the defined soil layers."},
    {B, ""},
};

// {0} depth of computation (F10.3)
constexpr MessageLine kStrengthDepthIncrementZero[] = {
    {B, "**** Input Data Error No. 60 ****"},
    {B, ""},
    {B, "An error was found in the strength of soil input data when interpolating "},
    {B, "to obtain values of cohesion or uniaxial compressive strength."},
    {B, ""},
    {B, "Problem:  The depth increment between the upper and lower soil depths in a "},
    {B, "layer is zero.  The depth of computation is {0}"},
    {B, ""},
    {B, "Solution:  Examine the program output file to find the depth in question"},
    {B, "and correct the soil layer depth values. "},
    {B, ""},
};

// {0} station depth (ES12.4)
constexpr MessageLine kShearStrengthTooShallow[] = {
    {B, "**** Input Data Error No. 3 ****"},
    {B, ""},
    {B, "An error was detected that is related to an incompatibility"},
    {B, "between the input data defining the embedment of the pile and"},
    {B, "the maximum depth of the soil shear strength data."},
    {B, ""},
    {B, "The value for a pile station depth is {0}"},
    {B, "This depth is below the deepest extent of the input data for"},
    {B, "soil shear strength versus depth."},
    {B, ""},
    {B, "Solution:"},
    {B, "Please revise the input data by either extending the maximum"},
    {B, "depth for soil shear strength or shorten the pile to correct"},
    {B, "this problem."},
    {B, ""},
};

// {0} station depth (ES12.4)
constexpr MessageLine kFrictionAngleTooShallow[] = {
    {B, "**** Input Data Error No. 4 ****"},
    {B, ""},
    {B, "An error was detected that is related to an incompatibility"},
    {B, "between the input data defining the embedment of the pile and"},
    {B, "the maximum depth of the soil shear strength data."},
    {B, ""},
    {B, "Problem:  The value for a pile station depth is {0}"},
    {B, "This depth is below the deepest extent of the input data for"},
    {B, "soil friction angle versus depth."},
    {B, ""},
    {B, "Solution:  Please revise the input data by either extending "},
    {B, "the maximum depth for soil friction angle or shorten the "},
    {B, "pile to correct this problem."},
    {B, ""},
};

// {0} station depth (ES12.4)
constexpr MessageLine kRqdTooShallow[] = {
    {B, "**** Input Data Error No. 31 ****"},
    {B, ""},
    {B, "An error was detected that is related to an incompatibility"},
    {B, "between the input data defining the embedment of the pile and"},
    {B, "the maximum depth of the soil shear strength data."},
    {B, ""},
    {B, "Problem:  The value for a pile station depth is {0}"},
    {B, "This depth is below the deepest extent of the input data for"},
    {B, "RQD versus depth."},
    {B, ""},
    {B, "Solution:  Revise the input data by either extending the "},
    {B, "maximum depth for RQD or shorten the pile to correct this "},
    {B, "problem."},
    {B, ""},
};

// {0} station depth (ES12.4)
constexpr MessageLine kUnitWeightTooShallow[] = {
    {B, "**** Input Data Error No. 15 ****"},
    {B, ""},
    {B, "An error was detected related to an incompatibility between "},
    {B, "the data defining pile embedment depth and effective unit "},
    {B, "weights versus depth."},
    {B, ""},
    {B, "The value for a pile station depth is {0}"},
    {B, "This depth is below the deepest extent of the input curve for"},
    {B, "effective unit weight versus depth."},
    {B, ""},
    {B, "Solution:"},
    {B, "Please revise the input data by either extending the maximum"},
    {B, "depth for effective unit weight or shorten the length of pile"},
    {B, "to be within the range of defined soil properties."},
    {B, ""},
};

// {0} the interpolated RQD (ES12.4)
constexpr MessageLine kRqdOutOfRange[] = {
    {B, "**** Input Data Error No. 49 ****"},
    {B, ""},
    {B, "Problem:  The interpolated value of RQD used for p-y curves in weak rock "},
    {B, "was found to be invalid because it was either less than zero or more than "},
    {B, "100 percent."},
    {B, ""},
    {B, "Solution:  Check your input data and revise in the data for RQD."},
    {B, ""},
    {B, "The interpolated value of RQD = {0} %"},
    {B, ""},
};

// ---- checks of the input echo ----------------------------------------------------------

// {0} number of points given (I10)
constexpr MessageLine kPileDiameterPoints[] = {
    {B, ""},
    {B, ""},
    {B, "**** Input Data Error No. 17 ****"},
    {B, ""},
    {B, "The number of points to define the pile properties is 2 to 40, not the input value "
        "of {0}"},
    {B, ""},
};

constexpr MessageLine kPileZeroDiameter[] = {
    {B, ""},
    {B, "**** Input Data Error No. 27 ****"},
    {B, ""},
    {B, "Problem:  Zero values for one of the following values were "},
    {B, "entered for one or more values of pile diameter."},
    {B, ""},
    {B, "Solution:  NONE of these values may be zero.  Correct the "},
    {B, "pile property data in your input data."},
    {B, ""},
};

// {0} bottom of the lowest layer (ES12.4), {1} pile tip (ES12.4)
constexpr MessageLine kSoilAboveTip[] = {
    {B, "**** Input Data Error No. 18 ****"},
    {B, ""},
    {B, "Problem: The depth at the bottom of the lowermost soil layer is {0}"},
    {B, "         This depth is higher than the tip of the pile at {1}."},
    {B, "Solution: Increase the depth of the soil profile or shorten the pile length."},
};

// {0} depth of the first unit weight (F12.4), {1} ground surface depth (F12.4)
constexpr MessageLine kUnitWeightStartsBelowGround[] = {
    {B, "**** Input Data Error No. 19 ****"},
    {B, ""},
    {B, "The depth of the first point of the data for effective unit"},
    {B, "is located at {0} below the top of the pile."},
    {B, "The ground surface is located at {1}."},
    {B, "The first point for the effective unit weight should be located"},
    {B, "at the same elevation as the ground surface."},
};

// {0} first depth of the strength data (F12.4), {1} ground surface depth (F12.4)
constexpr MessageLine kStrengthStartsOffGround[] = {
    {B, "**** Input Data Error No. 20 ****"},
    {B, ""},
    {B, "Problem:  The first depth of the soil profile is located at {0}"},
    {B, "          below the top of the pile."},
    {B, "          The ground surface is elevation is {1}."},
    {B, "Solution: Correct the input data so that the first depth of "},
    {B, "          the soil profile data is be located at the same elevation as the ground "
        "surface."},
};

// {0} first p-multiplier depth (ES12.4), {1} ground surface depth (ES12.4)
constexpr MessageLine kMultipliersStartOffGround[] = {
    {B, "**** Input Data Error No. 21 ****"},
    {B, ""},
    {B, "Problem:  The depth for the first data for p-multipliers is "},
    {B, "          located at {0} below the top of the pile."},
    {B, "          The ground surface is located at {1}."},
    {B, "Solution:  Correct the input data so that the first depth for "},
    {B, "          the p-multiplier data is the same as the elevation as the "},
    {B, "          ground surface."},
};

// {0} number of cycles as given
constexpr MessageLine kCyclesOutOfRange[] = {
    {B, ""},
    {B, ""},
    {B, "**** Input Data Error No. 28 ****"},
    {B, ""},
    {B, "Problem:  Cyclic loading type was specified and the number of cycles of loading"},
    {B, "are outside the valid range of 2 to 5,000."},
    {B, ""},
    {B, "Solution:  Either correct the number of cycles of loading to be within 2 to 5,000"},
    {B, "or specify static loading."},
    {B, "Number of cycles of loading = {0}"},
};

// {0} number of cycles (ES12.4)
constexpr MessageLine kTooFewCycles[] = {
    {B, "**** Input Data Error No. 22 ****"},
    {B, ""},
    {B, "Loading was specified as cyclic, but the number of cycles of "},
    {B, "loading was specified as {0} (must be 2 or greater)."},
};

// {0} the first point in error
constexpr MessageLine kTipShearCurve[] = {
    {B, "**** Input Data Error No. 50 ****"},
    {B, ""},
    {B, "Problem:   The input data for shear resistance at the pile tip appears to be in error "
        "at point {0}."},
    {B, ""},
    {B, "Solution:  Check that the first point is (0,0) and that the x-values sucessively "
        "increase in deflection and magnitude."},
};

// {0} point, {1} its depth (F7.2), {2} depth unit
constexpr MessageLine kPrintDepthBelowTip[] = {
    {B, "**** Input Data Error No. 30 ****"},
    {B, ""},
    {B, "Problem:  Printing of a p-y curve was specified below the pile tip."},
    {B, ""},
    {B, "Solution:  Specify printing depths only for depths above the pile tip."},
    {B, ""},
    {B, "Input Point {0} at {1} {2} was not printed because it is below the pile tip."},
};

constexpr MessageLine kPrintDepthAboveGroundInput[] = {
    {B, "**** Input Data Error No. 29 ****"},
    {B, ""},
    {B, "Problem:  A depth above the ground surface was specified for the printing"},
    {B, "of a p-y curve."},
    {B, ""},
    {B, "Solution:  Specify a depth between the ground surface and pile tip."},
    {B, ""},
};

// ---- the SECTIONS block: the report's messages of its reader -------------------------

constexpr MessageLine kConcreteTensileOption[] = {
    {R, ""},
    {R, "INPUT ERROR - Unrecognized command for concrete tensile strength option"},
};

// {0} line expected, {1} line read
constexpr MessageLine kConcreteCurveSequence[] = {
    {R, ""},
    {R, "INPUT ERROR - Sequence error encountered when reading concrete stress-strain curve"},
    {R, ""},
    {R, "Expecting line no. {0} but line no. {1} was read"},
    {R, ""},
    {R, ""},
};

constexpr MessageLine kConcreteCurveOption[] = {
    {R, ""},
    {R, "INPUT ERROR - Unrecognized input for concrete stress-strain option"},
};

constexpr MessageLine kRebarContinuation[] = {
    {R, ""},
    {R, "INPUT ERROR - Unrecognized command for rebar continuation from section above option"},
};

constexpr MessageLine kStrandOrder[] = {
    {R, "INPUT ERROR - Input out-of-order for strand no. "},
};

// No strand has been read when this is found, so the number printed is 0.
constexpr MessageLine kStrandInput[] = {
    {R, "INPUT ERROR - Unrecognized input for strand no. 0"},
    {R, ""},
};

// {0} section expected, {1} section found
constexpr MessageLine kSectionOrder[] = {
    {R, "SECTION DATA OUT-OF-ORDER"},
    {R, ""},
    {R, "Expecting section number {0}, but section number {1} was found"},
};

// ---- faults of the engine itself -------------------------------------------------------

// {0} what could not be done
constexpr MessageLine kInternalError[] = {
    {R, ""},
    {R, ""},
    {R, "Internal error: {0}"},
};

using enum MessageId;
using enum MessageEffect;
using enum MessageOrder;

constexpr MessageEntry kCatalogue[] = {
    {NoStrainSoftClay, 237, Stop, ReportFirst, "", {}},
    {NoStrainSoftClayWithJ, 238, Stop, ReportFirst, "", {}},
    {TopDeflectionNotANumber, 228, Stop, ReportFirst, "", kTopDeflectionNotANumber},
    {DeflectionChangeNotANumber, 228, Stop, ReportFirst, "", kDeflectionChangeNotANumber},
    {StiffnessCaseNotANumber, 228, Stop, ReportFirst, "", kStiffnessCaseNotANumber},
    {ThinLayer, 229, Stop, ReportFirst, "", kThinLayer},
    {MassiveRock, 99, Stop, ReportFirst, "", kMassiveRock},
    {PrintDepthAboveGround, 123, Stop, ReportFirst, "", kPrintDepthAboveGround},
    {ExcessDeflection, 209, EndRun, ReportFirst, "", kExcessDeflection},
    {SmallPivot, 211, EndRun, ReportFirst, "", kSmallPivot},
    {SandDefaultK, 213, EndRun, ReportFirst, "", kSandDefaultK},
    {NoSoilSupport, 240, EndRun, ReportFirst, "", kNoSoilSupport},
    {GrossImbalance, 252, EndRun, ReportFirst, "", kGrossImbalance},
    {Buckling, 255, EndRun, ReportFirst, "", kBuckling},
    {CapacityReached, 256, EndRun, ReportFirst, "", kCapacityReached},
    {NotAnInputFile, 132, EndRun, ReportFirst, "", kNotAnInputFile},
    {IncompleteInput, 135, EndRun, ReportFirst, "", kIncompleteInput},
    {LrfdDataMissing, 154, EndRun, ReportFirst, "", kLrfdDataMissing},
    {FrozenSoil, 157, EndRun, ReportFirst, "", kFrozenSoil},
    {GeneralUnitsNoValue, 158, EndRun, ReportFirst, "", kGeneralUnitsNoValue},
    {SoilMovementLines, 153, EndRun, MessagesFirst, "", kSoilMovementLines},
    {IncrementRange, 155, EndRun, MessagesFirst, "", kIncrementRange},
    {ToleranceRange, 165, EndRun, MessagesFirst, "", kToleranceRange},
    {SoftClayZeroStrength, 112, EndRun, MessagesFirst, "", kSoftClayZeroStrength},
    {PyTypeCode, 193, EndRun, ReportFirst, "", kPyTypeCode},
    {ListReadValue, 195, EndRun, ReportFirst, "", kListReadValue},
    {UnrecognizedLine, 199, EndRun, ReportFirst, "", kUnrecognizedLine},
    {WeakRockStrength, 162, EndRun, MessagesFirst, "", kWeakRockStrength},
    {WeakRockZeroStrength, 116, EndRun, MessagesFirst, "", kWeakRockZeroStrength},
    {WeakRockKrm, 163, EndRun, MessagesFirst, "INP00163", kWeakRockKrm},
    {WeakRockYrm, 222, EndRun, MessagesFirst, "", kWeakRockYrm},
    {WeakRockInitialSlope, 164, EndRun, MessagesFirst, "", kWeakRockInitialSlope},
    {SiltCohesion, 148, EndRun, MessagesFirst, "", kSiltCohesion},
    {SiltFriction, 110, EndRun, MessagesFirst, "", kSiltFriction},
    {SiltSlopeInput, 111, EndRun, MessagesFirst, "", kSiltSlopeInput},
    {SiltSlopeRuntime, 223, EndRun, MessagesFirst, "", kSiltSlopeRuntime},
    {LoessCycles, 170, EndRun, MessagesFirst, "INP00170", kLoessCycles},
    {OptionUnrecognized, 195, EndRun, ReportFirst, "", kOptionUnrecognized},
    {IterationLimit, 195, EndRun, ReportFirst, "", kIterationLimit},
    {LrfdInput, 198, EndRun, ReportFirst, "", kLrfdInput},
    {LrfdInputWithDetail, 194, EndRun, ReportFirst, "", kLrfdInputWithDetail},
    {Nonconvergence, 210, EndRun, ReportFirst, "", kNonconvergence},
    {NeutralAxisNotFound, 216, EndRun, ReportFirst, "", kNeutralAxisNotFound},
    {SectionAxialCapacity, 224, EndRun, ReportFirst, "", kSectionAxialCapacity},
    {PrestressArea, 214, EndRun, ReportFirst, "", kPrestressArea},
    {SectionMicropile, 195, EndRun, ReportFirst, "", kSectionMicropile},
    {SectionBarPlacement, 195, EndRun, ReportFirst, "", kSectionBarPlacement},
    {RunFileName, 202, EndRun, MessagesFirst, "", kRunFileName},
    {BlankFileName, 217, EndRun, MessagesFirst, "", kBlankFileName},
    {FileNameTooLong, 253, EndRun, MessagesFirst, "", kFileNameTooLong},
    {InputNotRegularFile, 251, EndRun, MessagesFirst, "", kInputNotRegularFile},
    {OutputOverwritesFile, 250, EndRun, MessagesFirst, "", kOutputOverwritesFile},
    {FileCannotOpen, 203, EndRun, MessagesFirst, "", kFileCannotOpen},
    {EmptyInputFile, 125, EndRun, MessagesFirst, "", kEmptyInputFile},
    {OutputWriteFailed, 258, EndRun, MessagesFirst, "", kOutputWriteFailed},
    {StiffClayZeroCohesion, 113, EndRun, MessagesFirst, "", kStiffClayZeroCohesion},
    {StiffClayZeroCohesionInitialK, 113, EndRun, MessagesFirst, "", kStiffClayZeroCohesionInitialK},
    {StiffClayWaterZeroCohesion, 114, EndRun, MessagesFirst, "", kStiffClayWaterZeroCohesion},
    {ApiSandSlope, 102, EndRun, MessagesFirst, "", kApiSandSlope},
    {ReeseSandSlope, 109, EndRun, MessagesFirst, "", kReeseSandSlope},
    {ReeseSandZeroFriction, 108, EndRun, MessagesFirst, "", kReeseSandZeroFriction},
    {ApiSandZeroFriction, 101, EndRun, MessagesFirst, "", kApiSandZeroFriction},
    {SoilModulusNotANumber, 231, EndRun, ReportFirst, "", kSoilModulusNotANumber},
    {ApiSoftClayModulusNotANumber, 236, EndRun, ReportFirst, "", kApiSoftClayModulusNotANumber},
    {StrengthCurveTooShallow, 105, EndRun, ReportFirst, "", kStrengthCurveTooShallow},
    {StrengthDepthIncrementZero, 160, EndRun, ReportFirst, "", kStrengthDepthIncrementZero},
    {ShearStrengthTooShallow, 103, EndRun, ReportFirst, "", kShearStrengthTooShallow},
    {FrictionAngleTooShallow, 104, EndRun, ReportFirst, "", kFrictionAngleTooShallow},
    {RqdTooShallow, 131, EndRun, ReportFirst, "", kRqdTooShallow},
    {UnitWeightTooShallow, 115, EndRun, ReportFirst, "", kUnitWeightTooShallow},
    {RqdOutOfRange, 149, EndRun, ReportFirst, "", kRqdOutOfRange},
    {PileDiameterPoints, 117, EndRun, MessagesFirst, "", kPileDiameterPoints},
    {PileZeroDiameter, 127, EndRun, MessagesFirst, "", kPileZeroDiameter},
    {SoilAboveTip, 118, EndRun, MessagesFirst, "", kSoilAboveTip},
    {UnitWeightStartsBelowGround, 119, EndRun, MessagesFirst, "", kUnitWeightStartsBelowGround},
    {StrengthStartsOffGround, 120, EndRun, MessagesFirst, "", kStrengthStartsOffGround},
    {MultipliersStartOffGround, 121, EndRun, MessagesFirst, "", kMultipliersStartOffGround},
    {CyclesOutOfRange, 128, EndRun, MessagesFirst, "", kCyclesOutOfRange},
    {TooFewCycles, 122, EndRun, MessagesFirst, "", kTooFewCycles},
    {TipShearCurve, 150, EndRun, MessagesFirst, "", kTipShearCurve},
    {PrintDepthBelowTip, 130, EndRun, MessagesFirst, "", kPrintDepthBelowTip},
    {PrintDepthAboveGroundInput, 129, EndRun, MessagesFirst, "", kPrintDepthAboveGroundInput},
    {ConcreteTensileOption, 195, EndRun, ReportFirst, "", kConcreteTensileOption},
    {ConcreteCurveSequence, 195, EndRun, ReportFirst, "", kConcreteCurveSequence},
    {ConcreteCurveOption, 195, EndRun, ReportFirst, "", kConcreteCurveOption},
    {RebarContinuation, 195, EndRun, ReportFirst, "", kRebarContinuation},
    {StrandOrder, 195, EndRun, ReportFirst, "", kStrandOrder},
    {StrandInput, 195, EndRun, ReportFirst, "", kStrandInput},
    {SectionOrder, 195, EndRun, ReportFirst, "", kSectionOrder},
    {InternalError, 999, Stop, ReportFirst, "", kInternalError},
    {UnitWeightOutsideSI, 0, Note, MessagesFirst, "", kUnitWeightOutsideSI},
    {UnitWeightOutsideUSCS, 0, Note, MessagesFirst, "", kUnitWeightOutsideUSCS},
};

constexpr bool Catalogue_In_Id_Order() {
    for (size_t i = 0; i < std::size(kCatalogue); ++i) {
        if (static_cast<size_t>(kCatalogue[i].id) != i) {
            return false;
        }
    }
    return true;
}
static_assert(Catalogue_In_Id_Order(), "each message id has its entry at its own index");

bool Goes_To(MessageTarget line, MessageTarget file) {
    return line == MessageTarget::Both || line == file;
}

void Write_Lines(TextFile& f, const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        f.Write_Line(line);
    }
}

// The block as the run's result keeps it: from its error heading (or its first line when
// it has none), right-trimmed, without the blank lines around it. The report's lines, or
// the message file's for a block the report does not get.
std::vector<std::string> Result_Text(const MessageEntry& e, std::span<const std::string> args,
                                     int status) {
    std::vector<std::string> text = Message_Lines(e, MessageTarget::Report, args, status);
    if (text.empty()) {
        text = Message_Lines(e, MessageTarget::Messages, args, status);
    }
    for (std::string& line : text) {
        line = Trim_Right(line, WHITE_SPACE);
    }
    const auto heading = std::find_if(text.begin(), text.end(), [](const std::string& line) {
        return Is_Error_Heading(line) && line.find("NON-FATAL") == std::string::npos;
    });
    if (heading != text.end()) {
        text.erase(text.begin(), heading); // a rule drawn above the heading
    }
    while (!text.empty() && text.front().empty()) {
        text.erase(text.begin());
    }
    while (!text.empty() && text.back().empty()) {
        text.pop_back();
    }
    return text;
}

} // namespace

std::span<const MessageEntry> Message_Catalogue() {
    return kCatalogue;
}

const MessageEntry& Message_Entry(MessageId id) {
    return kCatalogue[static_cast<size_t>(id)];
}

std::string Message_Code(const MessageEntry& entry, int status) {
    if (!entry.code.empty()) {
        return std::string(entry.code);
    }
    if (status >= 100 && status <= 199) {
        return Input_Error_Code(status - 100);
    }
    if (status >= 200 && status <= 299) {
        return Runtime_Error_Code(status - 200);
    }
    return {};
}

std::string Fill_Placeholders(std::string_view text, std::span<const std::string> args,
                              std::string_view number) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '{' && i + 2 < text.size() && text[i + 2] == '}') {
            const char key = text[i + 1];
            if (key >= '0' && key <= '9' && static_cast<size_t>(key - '0') < args.size()) {
                out += args[static_cast<size_t>(key - '0')];
                i += 2;
                continue;
            }
            if (key == 'n' && !number.empty()) {
                out += number;
                i += 2;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

std::vector<std::string> Message_Lines(const MessageEntry& entry, MessageTarget file,
                                       std::span<const std::string> args, int status) {
    if (status == 0) {
        status = entry.status;
    }
    const std::string number = std::to_string(status >= 200 ? status - 200 : status - 100);
    std::vector<std::string> lines;
    lines.reserve(entry.lines.size());
    for (const MessageLine& line : entry.lines) {
        if (!Goes_To(line.target, file)) {
            continue;
        }
        // A value may hold several lines (a list of recommendations, a dump): each is a
        // line of the file.
        const std::string filled = Fill_Placeholders(line.text, args, number);
        size_t start = 0;
        for (size_t end = filled.find('\n'); end != std::string::npos;
             end = filled.find('\n', start)) {
            lines.push_back(filled.substr(start, end - start));
            start = end + 1;
        }
        lines.push_back(filled.substr(start));
    }
    return lines;
}

void Write_To_Both(TextFile& first, TextFile& second, std::initializer_list<std::string> lines) {
    for (TextFile* f : {&first, &second}) {
        for (const std::string& line : lines) {
            f->Write_Line(line);
        }
    }
}

void Write_Message_To_With(TextFile& report, TextFile& messages, MessageId id,
                           std::span<const std::string> args, int status) {
    const MessageEntry& e = Message_Entry(id);
    const std::vector<std::string> to_report =
        Message_Lines(e, MessageTarget::Report, args, status);
    const std::vector<std::string> to_messages =
        Message_Lines(e, MessageTarget::Messages, args, status);
    if (e.order == MessageOrder::ReportFirst) {
        Write_Lines(report, to_report);
        Write_Lines(messages, to_messages);
    } else {
        Write_Lines(messages, to_messages);
        Write_Lines(report, to_report);
    }
}

void Write_Message_With(AnalysisModel& m, MessageId id, std::span<const std::string> args,
                        int status) {
    Write_Message_To_With(m.Report, m.Messages, id, args, status);
}

void Write_Message_On_With(TextFile& out, MessageId id, std::span<const std::string> args,
                           int status) {
    Write_Lines(out, Message_Lines(Message_Entry(id), MessageTarget::Messages, args, status));
}

namespace {

// Records the block as the run's error and stops the run with its status.
int End_Run(AnalysisModel& m, const MessageEntry& e, std::span<const std::string> args,
            int status) {
    // The first fatal error of a run is the one it reports.
    if (m.RunStatus <= 0 && m.Results.error.text.empty()) {
        m.Results.error.text = Result_Text(e, args, status);
    }
    if (e.effect == MessageEffect::EndRun) {
        return Report_Fatal_Error(m, Message_Code(e, status), status);
    }
    m.RunStatus = status;
    return status;
}

} // namespace

int Fail_Run_With(AnalysisModel& m, MessageId id, std::span<const std::string> args, int status) {
    const MessageEntry& e = Message_Entry(id);
    if (status == 0) {
        status = e.status;
    }
    Write_Message_With(m, id, args, status);
    return End_Run(m, e, args, status);
}

int Fail_Run_Written(AnalysisModel& m, MessageId id, std::span<const std::string> args,
                     int status) {
    const MessageEntry& e = Message_Entry(id);
    return End_Run(m, e, args, status == 0 ? e.status : status);
}

int Fail_Run_On_With(AnalysisModel& m, TextFile& out, MessageId id,
                     std::span<const std::string> args, int status) {
    const MessageEntry& e = Message_Entry(id);
    if (status == 0) {
        status = e.status;
    }
    Write_Message_On_With(out, id, args, status);
    return End_Run(m, e, args, status);
}

} // namespace zarno
