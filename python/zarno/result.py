"""The results of one analysis as pandas DataFrames."""

from dataclasses import dataclass, field
from functools import cached_property

import pandas as pd

# Columns of a load case's node table, in order.
NODE_COLUMNS = [
    "node", "depth", "deflection", "slope", "moment", "shear", "soil_reaction", "Es", "EI",
    "distributed_load", "section", "layer", "nonlinear_section",
]

SUMMARY_COLUMNS = [
    "case", "loading_type", "condition_1", "condition_2", "axial_thrust", "converged",
    "iterations", "final_change", "head_deflection", "head_slope", "head_shear", "head_moment",
    "max_moment", "max_moment_depth", "max_shear", "max_shear_depth", "zero_deflection_points",
]


@dataclass(frozen=True)
class Message:
    """A warning of a run (or a note: a warning whose text names a value of this input)."""

    code: int
    count: int = 1
    text: list = field(default_factory=list)
    kind: str = "warning"
    details: list = field(default_factory=list)  # lines naming the values of this input

    def __str__(self):
        lines = [line for line in self.text if "****" not in line] + self.details
        body = " ".join(line.strip() for line in lines if line.strip())
        times = f" ({self.count} times)" if self.count > 1 else ""
        return f"warning {self.code}{times}: {body}" if body else f"warning {self.code}{times}"


def _units_of_node_columns(u):
    return {
        "depth": u.get("length", ""), "deflection": u.get("length", ""),
        "slope": u.get("slope", ""), "moment": u.get("moment", ""),
        "shear": u.get("force", ""), "soil_reaction": u.get("force_per_length", ""),
        "Es": u.get("soil_modulus", ""), "EI": u.get("bending_stiffness", ""),
        "distributed_load": u.get("force_per_length", ""),
        "distributed_moment": u.get("moment", "") + "/" + u.get("length", ""),
        "moment_spring": u.get("moment", "") + "/" + u.get("length", ""),
    }

# Columns that runs with monopile (PISA) layers add to the node tables.
MONOPILE_COLUMNS = ["distributed_moment", "moment_spring"]


class Result:
    """Everything one run computed.

    status, return_value  the engine's status (0 here: fatal runs raise) and return value
                          (0, or a negative warning code)
    units                 unit of every quantity: keys length, force, moment, slope,
                          force_per_length, soil_modulus, bending_stiffness, ...
    cases                 one DataFrame per load case: depth, deflection, slope, moment,
                          shear, soil_reaction, Es, EI, distributed_load, section, layer
    summary               one row per load case: head values, maxima and their depths
    py_curves             printed p-y curves, long form: curve, depth, layer, soil, y, p
    moment_curvature      moment-curvature tables, long form: section, thrust_index,
                          axial_thrust, nominal_moment, moment, EI, curvature
    head_stiffness        pile-head stiffness levels: shear, moment, K22, K23, K32, K33, ...
    length_sweep          head deflection and maxima against pile length, per load case
    warnings              list of Message, empty when the run ended without warnings
    report, plot_text, messages   the three output texts (None unless kept)
    engine_seconds        wall time of the engine's run itself
    """

    def __init__(self, data, source=None):
        self._data = data
        self.source = source
        self.status = data["status"]
        self.return_value = data["return_value"]
        self.units = dict(data["units"])
        self.title = [t.rstrip() for t in data["title"]]
        self.analysis_type = data["analysis_type"]
        self.engine_version = data["engine_version"]
        # A tallied warning carries the notes of its code (which line, which value); a note
        # whose code has no tally is listed on its own.
        notes = {}
        for n in data["notes"]:
            notes.setdefault(n["code"], []).extend(n["text"])
        self.warnings = [
            Message(w["code"], w["count"], list(w["text"]), w["kind"], notes.pop(w["code"], []))
            for w in data["warnings"]
        ]
        self.warnings += [Message(code, 1, text) for code, text in notes.items()]
        self.engine_seconds = data.get("engine_seconds", 0.0)
        self.report = data.get("report")
        self.plot_text = data.get("plot")
        self.messages = data.get("messages")

    def __repr__(self):
        name = self.source or (self.title[0] if self.title else "")
        w = f", {len(self.warnings)} warnings" if self.warnings else ""
        return f"<zarno.Result {name!r}: {len(self._data['load_cases'])} load cases{w}>"

    @property
    def ok(self):
        """True when the run ended without warnings."""
        return self.return_value == 0

    @cached_property
    def cases(self):
        out = []
        for c in self._data["load_cases"]:
            if "nodes" not in c:
                raise ValueError("this run kept no node tables (zarno.run(..., tables=False))")
            columns = NODE_COLUMNS + [k for k in MONOPILE_COLUMNS if k in c["nodes"]]
            df = pd.DataFrame({k: c["nodes"][k] for k in columns})
            if "base_shear" in c:
                df.attrs["base_shear"] = c["base_shear"]
                df.attrs["base_moment"] = c["base_moment"]
            df["nonlinear_section"] = df["nonlinear_section"].astype(bool)
            df.attrs["case"] = c["number"]
            df.attrs["units"] = _units_of_node_columns(self.units)
            out.append(df)
        return out

    def case(self, number):
        """The node table of the load case with this number (1 for the first)."""
        for df in self.cases:
            if df.attrs["case"] == number:
                return df
        raise KeyError(f"no load case {number}")

    @property
    def case_errors(self):
        """Load cases stopped by an error: {case number: the error's message lines}."""
        return {c["number"]: list(c["error"]) for c in self._data["load_cases"] if c.get("error")}

    @cached_property
    def summary(self):
        rows = [
            {k: (c["number"] if k == "case" else c[k]) for k in SUMMARY_COLUMNS}
            for c in self._data["load_cases"]
        ]
        df = pd.DataFrame(rows, columns=SUMMARY_COLUMNS)
        df.attrs["units"] = self.units
        return df

    @cached_property
    def py_curves(self):
        frames = [
            pd.DataFrame({
                "curve": c["number"], "depth": c["depth"], "layer": c["layer"],
                "soil": c["soil"], "y": c["y"], "p": c["p"],
            })
            for c in self._data["py_curves"]
        ]
        cols = ["curve", "depth", "layer", "soil", "y", "p"]
        df = pd.concat(frames, ignore_index=True) if frames else pd.DataFrame(columns=cols)
        df.attrs["units"] = {"depth": self.units.get("length", ""),
                             "y": self.units.get("length", ""),
                             "p": self.units.get("force_per_length", "")}
        return df

    @cached_property
    def moment_curvature(self):
        frames = []
        units = {}
        for s in self._data["section_curves"]:
            frames.append(pd.DataFrame({
                "section": s["section"], "thrust_index": s["thrust_index"],
                "axial_thrust": s["axial_thrust"], "nominal_moment": s["nominal_moment"],
                "moment": s["moment"], "EI": s["EI"], "curvature": s["curvature"],
            }))
            units = {"axial_thrust": s["thrust_unit"], "nominal_moment": s["moment_unit"],
                     "moment": s["moment_unit"], "EI": s["stiffness_unit"],
                     "curvature": s["curvature_unit"]}
        cols = ["section", "thrust_index", "axial_thrust", "nominal_moment", "moment", "EI",
                "curvature"]
        df = pd.concat(frames, ignore_index=True) if frames else pd.DataFrame(columns=cols)
        df.attrs["units"] = units
        return df

    @cached_property
    def head_stiffness(self):
        df = pd.DataFrame(dict(self._data["head_stiffness"]))
        u = self.units
        df.attrs["units"] = {"shear": u.get("force", ""), "moment": u.get("moment", ""),
                             "head_deflection": u.get("length", ""), "head_rotation": "rad"}
        return df

    @cached_property
    def length_sweep(self):
        frames = [
            pd.DataFrame({"case": s["load_case"], "pile_length": s["pile_length"],
                          "head_deflection": s["head_deflection"],
                          "max_moment": s["max_moment"], "max_shear": s["max_shear"]})
            for s in self._data["length_sweeps"]
        ]
        cols = ["case", "pile_length", "head_deflection", "max_moment", "max_shear"]
        df = pd.concat(frames, ignore_index=True) if frames else pd.DataFrame(columns=cols)
        u = self.units
        df.attrs["units"] = {"pile_length": u.get("length", ""),
                             "head_deflection": u.get("length", ""),
                             "max_moment": u.get("moment", ""), "max_shear": u.get("force", "")}
        return df

    def plot(self, cases=None, **kwargs):
        """Deflection, moment, shear and soil reaction against depth for the load cases."""
        from .plotting import plot_profiles
        return plot_profiles(self, cases=cases, **kwargs)
