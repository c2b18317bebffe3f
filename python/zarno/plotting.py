"""Plots of analysis results (matplotlib).

Every function takes a Result (or a PlotFile read from a plot output file) and returns the
matplotlib Figure; save it with fig.savefig("name.png") or show it with matplotlib.pyplot.
"""

import matplotlib.pyplot as plt


def _label(name, unit):
    return f"{name} ({unit})" if unit else name


def _case_frames(result, cases):
    frames = result.cases
    if cases is None:
        return frames
    wanted = {cases} if isinstance(cases, int) else set(cases)
    return [df for df in frames if df.attrs.get("case") in wanted]


def plot_profiles(result, cases=None, figsize=(12, 6)):
    """Deflection, bending moment, shear and soil reaction against depth, one line per load
    case, depth downwards."""
    frames = _case_frames(result, cases)
    if not frames:
        raise ValueError("the result has no load case to plot")
    panels = [("deflection", "Deflection"), ("moment", "Bending moment"),
              ("shear", "Shear"), ("soil_reaction", "Soil reaction")]
    fig, axes = plt.subplots(1, 4, sharey=True, figsize=figsize, constrained_layout=True)
    units = frames[0].attrs.get("units", {})
    for ax, (column, name) in zip(axes, panels):
        for df in frames:
            ax.plot(df[column], df["depth"], label=f"case {df.attrs.get('case')}")
        ax.axvline(0.0, color="0.6", linewidth=0.8)
        ax.set_xlabel(_label(name, units.get(column)))
        ax.set_title(name)
        ax.grid(True, linewidth=0.4)
    axes[0].set_ylabel(_label("Depth below pile head", units.get("depth")))
    axes[0].invert_yaxis()
    axes[-1].legend(loc="lower right", fontsize="small")
    title = getattr(result, "title", None)
    if title and title[0]:
        fig.suptitle(title[0])
    return fig


def plot_py_curves(result, figsize=(7, 5)):
    """The printed p-y curves, one line per depth."""
    df = result.py_curves
    if df.empty:
        raise ValueError("the result has no printed p-y curves (PrintPYCurves YES and depths)")
    units = df.attrs.get("units", {})
    fig, ax = plt.subplots(figsize=figsize, constrained_layout=True)
    for (_, depth, soil), curve in df.groupby(["curve", "depth", "soil"], sort=False):
        ax.plot(curve["y"], curve["p"], marker=".",
                label=f"{depth:g} {units.get('depth', '')} {soil}".strip())
    ax.set_xlabel(_label("Lateral deflection y", units.get("y")))
    ax.set_ylabel(_label("Soil resistance p", units.get("p")))
    ax.set_title("p-y curves")
    ax.grid(True, linewidth=0.4)
    ax.legend(fontsize="small")
    return fig


def plot_moment_curvature(result, figsize=(12, 5)):
    """Moment against curvature and bending stiffness against moment, per section and axial
    thrust."""
    df = result.moment_curvature
    if df.empty:
        raise ValueError("the result has no moment-curvature tables")
    units = df.attrs.get("units", {})
    fig, (left, right) = plt.subplots(1, 2, figsize=figsize, constrained_layout=True)
    for (section, _, thrust), curve in df.groupby(["section", "thrust_index", "axial_thrust"]):
        label = f"section {section}, P = {thrust:g} {units.get('axial_thrust', '')}".strip()
        left.plot(curve["curvature"], curve["moment"], label=label)
        right.plot(curve["moment"], curve["EI"], label=label)
    left.set_xlabel(_label("Curvature", units.get("curvature")))
    left.set_ylabel(_label("Moment", units.get("moment")))
    left.set_title("Moment against curvature")
    right.set_xlabel(_label("Moment", units.get("moment")))
    right.set_ylabel(_label("Bending stiffness EI", units.get("EI")))
    right.set_title("Bending stiffness against moment")
    for ax in (left, right):
        ax.grid(True, linewidth=0.4)
    left.legend(fontsize="small")
    return fig


def plot_length_sweep(result, figsize=(7, 5)):
    """Pile-head deflection against pile length, per load case."""
    df = result.length_sweep
    if df.empty:
        raise ValueError("the result has no deflection-versus-length analysis")
    units = df.attrs.get("units", {})
    fig, ax = plt.subplots(figsize=figsize, constrained_layout=True)
    for case, points in df.groupby("case"):
        ax.plot(points["pile_length"], points["head_deflection"], marker="o",
                label=f"case {case}")
    ax.set_xlabel(_label("Pile length", units.get("pile_length")))
    ax.set_ylabel(_label("Pile-head deflection", units.get("head_deflection")))
    ax.set_title("Pile-head deflection against pile length")
    ax.grid(True, linewidth=0.4)
    ax.legend(fontsize="small")
    return fig


def plot_load_deflection(sweep_frame, load, deflection="head_deflection", by=None, case=None,
                         figsize=(7, 5)):
    """Load against pile-head deflection from a zarno.sweep DataFrame.

    load        the swept parameter that is the load (a column of the frame)
    deflection  the response column on the horizontal axis
    by          another parameter column: one line per value of it
    case        the load case to show when the deck has several (default: the first)
    """
    df = sweep_frame[sweep_frame["status"] <= 0]
    if "case" in df.columns and df["case"].notna().any():
        df = df[df["case"] == (case if case is not None else df["case"].min())]
    if df.empty:
        raise ValueError("the sweep has no successful run to plot")
    units = sweep_frame.attrs.get("units", {})
    fig, ax = plt.subplots(figsize=figsize, constrained_layout=True)
    groups = df.groupby(by) if by else [(None, df)]
    for value, points in groups:
        points = points.sort_values(load)
        ax.plot(points[deflection], points[load], marker="o",
                label=None if by is None else f"{by} = {value}")
    ax.set_xlabel(_label("Pile-head deflection", units.get(deflection)))
    ax.set_ylabel(load)
    ax.set_title("Load against pile-head deflection")
    ax.grid(True, linewidth=0.4)
    if by:
        ax.legend(fontsize="small")
    return fig
