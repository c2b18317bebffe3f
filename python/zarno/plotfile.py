"""Reading a plot output file (.zrp), as written by the engine for any front end.

Each record is one line: numbers in fixed-width fields, then a label "Line n ..." naming the
record. The reader identifies records by their label and reads the fields by position.
"""

import re

import pandas as pd

_RECORD = re.compile(r"Line\s?(\d+)\s?[(:]")
_UNIT = re.compile(r"\(([^()]*)\)")
_FOR_SOIL = re.compile(r"\): y, p, for (.*)$")
_CASE_AT_END = re.compile(r"(\d+)\s*$")
_SECTION_POINT = re.compile(r"Sect#=\s*(\d+), AxLd#=\s*(\d+)")

# Units of the node tables by IUNITS, as the engine's results name them.
_UNITS = {
    1: {"system": "USCS", "length": "in", "force": "lb", "moment": "in-lb",
        "force_per_length": "lb/in", "bending_stiffness": "lb-in^2"},
    2: {"system": "SI", "length": "m", "force": "kN", "moment": "kN-m",
        "force_per_length": "kN/m", "bending_stiffness": "kN-m^2"},
}


def _real(field):
    """An ES15.7 field; a three-digit exponent is written without its "E"."""
    s = field.strip()
    if not s:
        return 0.0
    try:
        return float(s)
    except ValueError:
        m = re.fullmatch(r"([-+]?\d*\.\d*)([-+]\d+)", s)
        if not m:
            raise
        return float(f"{m.group(1)}E{m.group(2)}")


def _reals(line, count, start=0):
    return [_real(line[start + 15 * i:start + 15 * (i + 1)]) for i in range(count)]


def _int(field):
    return int(field.strip() or 0)


class PlotFile:
    """The contents of a plot output file, with the same tables as a Result (those the plot
    file holds: node tables without slope and Es, p-y curves, moment-curvature tables,
    deflection against length, head stiffness)."""

    def __init__(self, text, source=None):
        self.source = source
        self.title = []
        self.analysis_type = 0
        self.iunits = 0
        node_rows, py_rows, mc_rows, length_rows, summary_rows, k_rows = [], [], [], [], [], []
        mc_units = {}
        nodes_per_case = 0
        node_count = 0
        section = 0
        thrust_index = 0
        thrust = nominal = 0.0
        curve = 0
        curve_depth = 0.0
        length_case = 0
        for number, raw in enumerate(text.splitlines(), 1):
            line = raw.rstrip("\r\n")
            m = _RECORD.search(line)
            if not m:
                if line.strip():
                    raise ValueError(f"line {number} is not a plot record: {line[:60]!r}")
                continue
            record = int(m.group(1))
            label = line[m.start():]
            if record == 1:
                self.analysis_type = _int(line[0:5])
                self.iunits = _int(line[5:10])
            elif record == 4:
                thrust, nominal = _reals(line, 2, start=15)
                units = _UNIT.findall(label)
                if units:
                    mc_units["axial_thrust"] = units[0]
            elif record == 5:
                moment, ei, phi = _reals(line, 3)
                where = _SECTION_POINT.search(label)
                section, thrust_index = (int(where.group(1)), int(where.group(2))) if where \
                    else (section, thrust_index)
                mc_rows.append((section, thrust_index, thrust, nominal, moment, ei, phi))
                units = _UNIT.findall(label)
                if len(units) >= 3:
                    mc_units.update(moment=units[0], EI=units[1], curvature=units[2],
                                    nominal_moment=units[0])
            elif record == 7:
                curve_depth = _real(line[0:15])
                curve += 1
            elif record == 8:
                y, p = _reals(line, 2)
                soil = _FOR_SOIL.search(label)
                py_rows.append((curve, curve_depth, soil.group(1).strip() if soil else "", y, p))
            elif record == 9:
                nodes_per_case = _int(line[5:10])
                self.iunits = _int(line[10:15]) or self.iunits
            elif record == 10:
                case = node_count // nodes_per_case + 1 if nodes_per_case else 1
                node_rows.append((case, *_reals(line, 6)))
                node_count += 1
            elif record == 11:
                length_case = int(_CASE_AT_END.search(label).group(1))
            elif record == 12:
                length_rows.append((length_case, *_reals(line, 4)))
            elif record == 13:
                summary_rows.append((len(summary_rows) + 1, *_reals(line, 5)))
            elif record == 14:
                k_rows.append(_reals(line, 8))
        self.units = dict(_UNITS.get(self.iunits, {"system": "GENERAL"}))
        u = self.units
        node_units = {"depth": u.get("length"), "deflection": u.get("length"),
                      "moment": u.get("moment"), "shear": u.get("force"),
                      "soil_reaction": u.get("force_per_length"),
                      "EI": u.get("bending_stiffness")}
        nodes = pd.DataFrame(node_rows, columns=["case", "depth", "deflection", "moment",
                                                 "shear", "soil_reaction", "EI"])
        self.cases = []
        for case, df in nodes.groupby("case"):
            df = df.drop(columns="case").reset_index(drop=True)
            df.attrs = {"case": int(case), "units": node_units}
            self.cases.append(df)
        self.py_curves = pd.DataFrame(py_rows, columns=["curve", "depth", "soil", "y", "p"])
        self.py_curves.attrs["units"] = {"depth": u.get("length"), "y": u.get("length"),
                                         "p": u.get("force_per_length")}
        self.moment_curvature = pd.DataFrame(
            mc_rows, columns=["section", "thrust_index", "axial_thrust", "nominal_moment",
                              "moment", "EI", "curvature"])
        self.moment_curvature.attrs["units"] = mc_units
        self.length_sweep = pd.DataFrame(
            length_rows, columns=["case", "pile_length", "head_deflection", "max_moment",
                                  "max_shear"])
        self.length_sweep.attrs["units"] = {"pile_length": u.get("length"),
                                            "head_deflection": u.get("length"),
                                            "max_moment": u.get("moment"),
                                            "max_shear": u.get("force")}
        self.summary = pd.DataFrame(summary_rows, columns=["case", "head_shear",
                                                           "head_deflection", "max_moment",
                                                           "max_shear", "head_rotation"])
        self.head_stiffness = pd.DataFrame(k_rows, columns=["shear", "moment", "K22", "K23",
                                                            "K32", "K33", "head_deflection",
                                                            "head_rotation"])

    def case(self, number):
        for df in self.cases:
            if df.attrs["case"] == number:
                return df
        raise KeyError(f"no load case {number}")

    def plot(self, cases=None, **kwargs):
        from .plotting import plot_profiles
        return plot_profiles(self, cases=cases, **kwargs)


def read_plot_file(path):
    """Reads a plot output file written by any front end's run of the engine."""
    with open(path, encoding="latin-1") as f:
        return PlotFile(f.read(), source=str(path))
