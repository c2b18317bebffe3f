#include "report/plot_file.h"

#include "report/fortran_format.h"
#include "report/text_file.h"

#include <gtest/gtest.h>
#include <string>

namespace zarno {
namespace {

// The point record is composed in a fixed buffer; a label too long for it takes the general
// path. Both must give the record field by field: three ES15.7 fields, 35 blanks, the label
// and the three counts (a negative count keeps its sign).
TEST(CurvePointRecord, FieldsBlanksLabelAndCounts) {
    struct Case {
        double moment, EI, curvature;
        std::string label;
        int section, thrust, point;
    };
    const Case cases[] = {
        {1.2602367e2, 1.0081894e8, 1.25e-6, "Line 5 : Moment, EI, Curvature ", 1, 1, 1},
        {-3.5e-300, 0.0, 9.99999995e10, "L ", 12, 7, 150},
        {1.0e100, -2.5, 1.0, std::string(300, 'x'), 3, 2, 1000000},
        {4.0, 5.0, 6.0, "", -1, 0, 2147483647},
    };
    for (const Case& c : cases) {
        TextFile plot;
        plot.Open_In_Memory();
        Write_Curve_Point_Line(plot, c.moment, c.EI, c.curvature, c.label, c.section, c.thrust,
                               c.point);
        const std::string expected =
            Format_ES(c.moment, 15, 7) + Format_ES(c.EI, 15, 7) + Format_ES(c.curvature, 15, 7) +
            std::string(35, ' ') + c.label + "for Sect#=" + std::to_string(c.section) +
            ", AxLd#=" + std::to_string(c.thrust) + ", CurvPnt#=" + std::to_string(c.point) + "\n";
        EXPECT_EQ(plot.Text(), expected) << "label of " << c.label.size() << " characters";
    }
}

} // namespace
} // namespace zarno
