#include "section/slicing.h"

#include "engine/analysis_model.h"

#include <cmath>
#include <fmt/format.h>
#include <numbers>

namespace zarno {

namespace {

constexpr double PI = std::numbers::pi;

} // namespace

double fn_Circle_Segment_Area(double d, double h) {
    double b = 1.0 - h / (d / 2.0);
    if (std::fabs(b) > 1.0) {
        const double snap = static_cast<double>(0.99f);
        if (b > snap) {
            b = 1.0;
        } else if (b < -snap) {
            b = -1.0;
        }
    }
    double a = 0.0;
    if (std::fabs(b) < 1e-12) {
        a = PI / 2.0;
    } else {
        a = std::atan(std::sqrt(std::fabs(1.0 - b * b)) / b);
        if (b < 0.0) {
            a += PI;
        }
    }
    return d * d / 8.0 * (2.0 * a - std::sin(2.0 * a));
}

double fn_Polygon_Area_Below(const double* x, const double* y, int n, double y_cut) {
    // Clip the polygon to the half plane Y <= y_cut, edge by edge.
    std::array<double, 2 * MAX_OUTLINE_VERTICES + 2> cx{}, cy{};
    int nc = 0;
    for (int j = 1; j <= n; ++j) {
        const int k = j == n ? 1 : j + 1;
        const double x1 = x[j], y1 = y[j], x2 = x[k], y2 = y[k];
        const bool in1 = y1 <= y_cut;
        const bool in2 = y2 <= y_cut;
        if (in1) {
            ++nc;
            cx[nc] = x1;
            cy[nc] = y1;
        }
        if (in1 != in2) {
            const double xc = x2 == x1 ? x1 : x1 + (y_cut - y1) / ((y2 - y1) / (x2 - x1));
            ++nc;
            cx[nc] = xc;
            cy[nc] = y_cut;
        }
    }
    // Merge vertices that practically coincide, the closing pair included.
    const double close2 = static_cast<double>(1e-8f);
    int nm = 0;
    std::array<double, 2 * MAX_OUTLINE_VERTICES + 2> mx{}, my{};
    for (int j = 1; j <= nc; ++j) {
        if (nm > 0) {
            const double dx = cx[j] - mx[nm], dy = cy[j] - my[nm];
            if (dx * dx + dy * dy < close2) {
                continue;
            }
        }
        ++nm;
        mx[nm] = cx[j];
        my[nm] = cy[j];
    }
    while (nm > 1) {
        const double dx = mx[nm] - mx[1], dy = my[nm] - my[1];
        if (dx * dx + dy * dy < close2) {
            --nm;
        } else {
            break;
        }
    }
    if (nm < 3 || nm > MAX_CLIPPED_VERTICES) {
        return 0.0;
    }
    double sum = 0.0;
    for (int j = 1; j <= nm; ++j) {
        const int k = j == nm ? 1 : j + 1;
        sum += mx[j] * my[k] - mx[k] * my[j];
    }
    return 0.5 * sum;
}

double fn_Polygon_Strip_Area(const double* x, const double* y, int n, double y_low, double y_high) {
    return fn_Polygon_Area_Below(x, y, n, y_high) - fn_Polygon_Area_Below(x, y, n, y_low);
}

int fn_FindSliceY(SectionWorkspace& ws, double y) {
    for (int i = 1; i <= ws.i_Num_Slices; ++i) {
        if (ws.Boundary[i - 1] >= y && y > ws.Boundary[i]) {
            ws.i_Last_Slice_Found = i;
            return i;
        }
    }
    ws.i_Last_Slice_Found = ws.i_Num_Slices;
    return ws.i_Num_Slices;
}

void Build_Outline(SectionWorkspace& ws) {
    auto& x = ws.Outline_X0;
    auto& y = ws.Outline_Y0;
    const double W = ws.Width;
    const double D = ws.Diameter;
    switch (ws.i_Geometry_Kind) {
    case GEOM_RECTANGLE:
    case GEOM_RECTANGLE_CORE: {
        ws.i_Num_Vertices = 4;
        const double px[4] = {-W / 2, W / 2, W / 2, -W / 2};
        const double py[4] = {-D / 2, -D / 2, D / 2, D / 2};
        for (int j = 0; j < 4; ++j) {
            x[j + 1] = px[j];
            y[j + 1] = py[j];
        }
        break;
    }
    case GEOM_POLYGON:
    case GEOM_POLYGON_VOID: {
        ws.i_Num_Vertices = 8;
        // A chamfered square, or an octagon of width W across flats.
        const double h = W / 2.0;
        const double k = ws.Chamfer;
        const bool octagon = ws.i_Section_Type == 9 || ws.i_Section_Type == 10;
        const double a = octagon ? static_cast<double>(0.2071f) * W : h - k;
        const double px[8] = {a, h, h, a, -a, -h, -h, -a};
        const double py[8] = {-h, -a, a, h, h, a, -a, -h};
        for (int j = 0; j < 8; ++j) {
            x[j + 1] = px[j];
            y[j + 1] = py[j];
        }
        break;
    }
    default:
        ws.i_Num_Vertices = 0;
        break;
    }
}

void Rotate_Points(SectionWorkspace& ws) {
    const double t = ws.Bending_Angle * std::numbers::pi / 180.0;
    const double c = std::cos(t);
    const double s = std::sin(t);
    for (int j = 1; j <= ws.i_Num_Vertices; ++j) {
        ws.Outline_X[j] = c * ws.Outline_X0[j] - s * ws.Outline_Y0[j];
        ws.Outline_Y[j] = s * ws.Outline_X0[j] + c * ws.Outline_Y0[j];
    }
    for (int j = 1; j <= ws.i_Num_Bars; ++j) {
        ws.Bar_X[j] = c * ws.Bar_X0[j] - s * ws.Bar_Y0[j];
        ws.Bar_Y[j] = s * ws.Bar_X0[j] + c * ws.Bar_Y0[j];
    }
}

void Find_Y_Extents(SectionWorkspace& ws) {
    const int kind = ws.i_Geometry_Kind;
    if (kind == GEOM_RECTANGLE || kind == GEOM_RECTANGLE_CORE || kind == GEOM_POLYGON ||
        kind == GEOM_POLYGON_VOID) {
        double top = ws.Outline_Y[1];
        double bot = ws.Outline_Y[1];
        for (int j = 2; j <= ws.i_Num_Vertices; ++j) {
            top = std::max(top, ws.Outline_Y[j]);
            bot = std::min(bot, ws.Outline_Y[j]);
        }
        ws.Y_Top = top;
        ws.Y_Bot = bot;
        ws.H = top - bot;
        ws.Slice_Thickness = std::fabs(ws.H) / ws.Num_Slices;
    } else {
        ws.Y_Top = ws.Diameter / 2.0;
        ws.Y_Bot = -ws.Diameter / 2.0;
        ws.H = ws.Diameter;
        ws.Slice_Thickness = ws.Diameter / ws.Num_Slices;
    }
    for (int k = 0; k <= ws.i_Num_Slices; ++k) {
        ws.Boundary[k] = ws.Y_Top - k * ws.Slice_Thickness;
    }
}

void Set_Slice_Depths(SectionWorkspace& ws) {
    const double n = ws.Num_Slices;
    ws.Slice_Depth[1] = ws.H / (2.0 * n);
    for (int i = 1; i < ws.i_Num_Slices; ++i) {
        ws.Slice_Depth[i + 1] = ws.Slice_Depth[i] + ws.H / n;
    }
}

void Slice_Circle(SectionWorkspace& ws, double d_area, double y_top, double y_bottom,
                  SliceArray& out) {
    const int n = ws.i_Num_Slices;
    const double full = PI * d_area * d_area / 4.0;
    // A circle reaching beyond the section is still counted in full: its top part goes
    // to the first slice, its bottom part to the last.
    const int i_top = y_top > ws.Boundary[0] ? 1 : fn_FindSliceY(ws, y_top);
    const int i_bot = y_bottom <= ws.Boundary[n] ? n : fn_FindSliceY(ws, y_bottom);
    if (i_top >= i_bot) {
        out[i_top] += full;
        return;
    }
    double previous = 0.0;
    for (int i = i_top; i <= i_bot; ++i) {
        const double s = i == i_bot ? full : fn_Circle_Segment_Area(d_area, y_top - ws.Boundary[i]);
        out[i] += s - previous;
        previous = s;
    }
}

void Calculate_Casing_Slice_Areas(SectionWorkspace& ws) {
    const int n = ws.i_Num_Slices;
    const double D = ws.Casing_Diameter;
    const double t = ws.Casing_Wall;
    ws.Area_Casing.fill(0.0);
    if (t <= 0.0) {
        return; // a casing without a wall holds no steel and displaces no concrete
    }
    if (n == 1) {
        ws.Area_Casing[1] = PI * D * D / 4.0;
    } else {
        for (int i = 1; i <= n; ++i) {
            ws.Area_Casing[i] = fn_Circle_Segment_Area(D, ws.Y_Top - ws.Boundary[i]) -
                                fn_Circle_Segment_Area(D, ws.Y_Top - ws.Boundary[i - 1]);
        }
        ws.Area_Casing[n] =
            PI * D * D / 4.0 - fn_Circle_Segment_Area(D, ws.Y_Top - ws.Boundary[n - 1]);
    }
    {
        SliceArray inner{};
        const double d = D - 2.0 * t;
        Slice_Circle(ws, d, d / 2.0, -d / 2.0, inner);
        for (int i = 1; i <= n; ++i) {
            ws.Area_Casing[i] -= inner[i];
        }
    }
    if (ws.i_Geometry_Kind != GEOM_PIPE) {
        for (int i = 1; i <= n; ++i) {
            ws.Area_Concrete[i] -= ws.Area_Casing[i];
        }
    }
}

void Calculate_Core_Slice_Areas(SectionWorkspace& ws) {
    const int n = ws.i_Num_Slices;
    const double Dk = ws.Core_Diameter;
    const double di = Dk - 2.0 * ws.Core_Wall;
    SliceArray outer{};
    SliceArray inner{};
    Slice_Circle(ws, Dk, Dk / 2.0, -Dk / 2.0, outer);
    if (di > 0.0) {
        Slice_Circle(ws, di, di / 2.0, -di / 2.0, inner);
    }
    ws.i_Core_First_Slice = Dk / 2.0 > ws.Boundary[0] ? 1 : fn_FindSliceY(ws, Dk / 2.0);
    ws.i_Core_Last_Slice = -Dk / 2.0 <= ws.Boundary[n] ? n : fn_FindSliceY(ws, -Dk / 2.0);
    for (int i = 1; i <= n; ++i) {
        ws.Area_Concrete[i] -= outer[i];
        ws.Area_Core_Tube[i] = outer[i] - inner[i];
        ws.Area_Core_Concrete[i] = ws.b_Core_Filled ? inner[i] : 0.0;
    }
}

void Calculate_Rebar_Slice_Areas(AnalysisModel& m, SectionWorkspace& ws) {
    const int n = ws.i_Num_Slices;
    ws.Area_Bars.fill(0.0);
    if (ws.i_Num_Bars > MAX_BARS) {
        m.Report.Write_Line(fmt::format(" Error in Calculate_Rebar_Slice_Areas - NumBars out of "
                                        "valid range = {} (more than {} bars)",
                                        ws.i_Num_Bars, MAX_BARS));
        ws.i_Num_Bars = MAX_BARS;
    }
    for (int b = 1; b <= ws.i_Num_Bars; ++b) {
        const double A = ws.Bar_Area[b];
        if (A <= 0.0) {
            continue;
        }
        // A bar is sliced as a circle of its own area, centred on the bar. The nominal
        // diameter of a strand (its circumscribed circle) is larger than this equivalent
        // diameter; placing the circle from the nominal top would move the steel towards
        // the compression face and give every tensile thrust a spurious moment.
        const double de = std::sqrt(4.0 * A / PI);
        const double top = ws.Bar_Y[b] + de / 2.0;
        const double bottom = ws.Bar_Y[b] - de / 2.0;
        SliceArray part{};
        Slice_Circle(ws, de, top, bottom, part);
        // The slicer counts the full circle of diameter de; keep the bar's area exact.
        double sum = 0.0;
        int last = 1;
        for (int i = 1; i <= n; ++i) {
            sum += part[i];
            if (part[i] != 0.0) {
                last = i;
            }
        }
        part[last] += A - sum;
        for (int i = 1; i <= n; ++i) {
            ws.Area_Bars[i] += part[i];
        }
    }
    ws.Total_Concrete_Area = 0.0;
    ws.Total_Bar_Area = 0.0;
    for (int i = 1; i <= n; ++i) {
        ws.Area_Concrete[i] -= ws.Area_Bars[i];
        ws.Total_Concrete_Area += ws.Area_Concrete[i];
        ws.Total_Bar_Area += ws.Area_Bars[i];
    }
}

namespace {

void Slice_Outer_Circle(SectionWorkspace& ws, double D) {
    const int n = ws.i_Num_Slices;
    const double t = ws.Slice_Thickness;
    for (int i = 1; i <= n; ++i) {
        ws.Area_Concrete[i] =
            fn_Circle_Segment_Area(D, i * t) - fn_Circle_Segment_Area(D, (i - 1) * t);
    }
}

void Slice_Polygon(SectionWorkspace& ws) {
    const int n = ws.i_Num_Slices;
    if (ws.i_Geometry_Kind == GEOM_RECTANGLE && ws.Bending_Angle == 0.0) {
        for (int i = 1; i <= n; ++i) {
            ws.Area_Concrete[i] = ws.Diameter * ws.Width / ws.Num_Slices;
        }
        return;
    }
    for (int i = 1; i <= n; ++i) {
        ws.Area_Concrete[i] =
            fn_Polygon_Strip_Area(ws.Outline_X.data(), ws.Outline_Y.data(), ws.i_Num_Vertices,
                                  ws.Boundary[i], ws.Boundary[i - 1]);
    }
}

} // namespace

void Calculate_Slice_Areas(AnalysisModel& m, SectionWorkspace& ws) {
    ws.Area_Concrete.fill(0.0);
    ws.Area_Bars.fill(0.0);
    ws.Area_Casing.fill(0.0);
    ws.Area_Core_Tube.fill(0.0);
    ws.Area_Core_Concrete.fill(0.0);
    switch (ws.i_Geometry_Kind) {
    case GEOM_RECTANGLE:
    case GEOM_POLYGON:
        Slice_Polygon(ws);
        Calculate_Rebar_Slice_Areas(m, ws);
        break;
    case GEOM_RECTANGLE_CORE:
    case GEOM_POLYGON_VOID:
        Slice_Polygon(ws);
        Calculate_Rebar_Slice_Areas(m, ws);
        Calculate_Core_Slice_Areas(ws);
        break;
    case GEOM_CIRCLE:
        Slice_Outer_Circle(ws, ws.Diameter);
        Calculate_Rebar_Slice_Areas(m, ws);
        break;
    case GEOM_CIRCLE_VOID:
        Slice_Outer_Circle(ws, ws.Diameter);
        Calculate_Rebar_Slice_Areas(m, ws);
        Calculate_Core_Slice_Areas(ws);
        break;
    case GEOM_CASED:
        Slice_Outer_Circle(ws, ws.Diameter);
        Calculate_Casing_Slice_Areas(ws);
        Calculate_Rebar_Slice_Areas(m, ws);
        break;
    case GEOM_CASED_CORE:
        Slice_Outer_Circle(ws, ws.Diameter);
        Calculate_Casing_Slice_Areas(ws);
        Calculate_Rebar_Slice_Areas(m, ws);
        Calculate_Core_Slice_Areas(ws);
        break;
    case GEOM_PIPE:
        Calculate_Casing_Slice_Areas(ws);
        break;
    default:
        break;
    }
    // Totals after every component has taken its share of the concrete.
    ws.Total_Concrete_Area = 0.0;
    ws.Total_Bar_Area = 0.0;
    for (int i = 1; i <= ws.i_Num_Slices; ++i) {
        ws.Total_Concrete_Area += ws.Area_Concrete[i];
        ws.Total_Bar_Area += ws.Area_Bars[i];
    }
}

void Slice_Section(AnalysisModel& m, SectionWorkspace& ws) {
    ws.i_Num_Slices = MAX_SLICES;
    ws.Num_Slices = 100.0;
    if (ws.i_Geometry_Kind == GEOM_CIRCLE || ws.i_Geometry_Kind == GEOM_CIRCLE_VOID ||
        ws.i_Geometry_Kind == GEOM_CASED || ws.i_Geometry_Kind == GEOM_CASED_CORE ||
        ws.i_Geometry_Kind == GEOM_PIPE) {
        ws.Width = ws.Diameter;
    }
    Build_Outline(ws);
    Rotate_Points(ws);
    Find_Y_Extents(ws);
    Calculate_Slice_Areas(m, ws);
    Set_Slice_Depths(ws);
}

} // namespace zarno
