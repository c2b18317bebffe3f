"""Plots of analysis results and of decks (matplotlib).

Every function takes a Result (or a PlotFile read from a plot output file), a sweep's
DataFrame, or (plot_model) a Deck, and returns the matplotlib Figure; save it with
fig.savefig("name.png") or show it with matplotlib.pyplot.
"""

import matplotlib.pyplot as plt
from matplotlib.patches import Rectangle


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
    ax.set_ylabel(_label(load, units.get(load)))
    ax.set_title("Load against pile-head deflection")
    ax.grid(True, linewidth=0.4)
    if by:
        ax.legend(fontsize="small")
    return fig


# The deck's own units by unit system: depths, forces, moments.
_DECK_UNITS = {"USCS": ("ft", "lb", "in-lb"), "SI": ("m", "kN", "kN-m"),
               "GENERAL": ("L", "F", "F-L")}
# A layer whose effective unit weight is below this (pcf, kN/m3) is taken as submerged.
_SUBMERGED_BELOW = {"USCS": 80.0, "SI": 12.5}
_LOAD_TERMS = {1: ("V", "M"), 2: ("V", "slope"), 3: ("V", "kθ"), 4: ("y", "M"),
               5: ("y", "slope")}


def _enum_name(enum_type, code):
    try:
        return enum_type(code).name.lower().replace("_", " ")
    except ValueError:
        return f"code {code}"


def _water_depth(deck, system):
    """The depth of the water table that the soil implies: the top of the first layer
    whose effective unit weight is a submerged one; None when no layer is submerged."""
    limit = _SUBMERGED_BELOW.get(system)
    if limit is None:
        return None
    for layer in deck.soil_layers or []:
        values = layer.top_values
        gamma = values.effective_unit_weight if values is not None else None
        if gamma is not None and 0 < gamma < limit:
            return layer.top
    return None


def plot_model(deck, figsize=(8, 8)):
    """The deck at a glance, to check the input before a run: the pile with its sections
    (type and length), the soil layers with their p-y types, the water table the soil
    implies (the top of the first layer with a submerged effective unit weight: below 80 pcf
    or 12.5 kN/m3), the pile-head loads and the depths of printed p-y curves. Depths are
    below the pile head in the deck's units; the pile's width is not to scale."""
    from .deck import PyType, SectionType

    system = deck.options.Units if deck.options is not None else "USCS"
    depth_unit, force_unit, moment_unit = _DECK_UNITS.get(system, _DECK_UNITS["GENERAL"])
    fig, ax = plt.subplots(figsize=figsize, constrained_layout=True)
    sections = deck.sections or []
    length = sum(s.section_length or 0.0 for s in sections)
    layers = deck.soil_layers or []
    bottom = max([length] + [layer.bottom or 0.0 for layer in layers]) or 1.0
    soil_colours = plt.get_cmap("Pastel2")
    for i, layer in enumerate(layers):
        ax.add_patch(Rectangle((0.0, layer.top), 1.0, layer.bottom - layer.top,
                               facecolor=soil_colours(i % 8), edgecolor="0.5", linewidth=0.6))
        ax.text(0.98, (layer.top + layer.bottom) / 2,
                f"layer {i + 1}: {_enum_name(PyType, layer.py_type)} ({layer.py_type})",
                ha="right", va="center", fontsize="small")
    water = _water_depth(deck, system)
    if water is not None:
        ax.axhline(water, color="tab:blue", linewidth=1.5, linestyle="--")
        ax.text(0.98, water, f"water table {water:g} {depth_unit}", color="tab:blue",
                ha="right", va="bottom", fontsize="small")
    top = 0.0
    for i, section in enumerate(sections):
        ax.add_patch(Rectangle((0.30, top), 0.08, section.section_length,
                               facecolor="0.35" if i % 2 == 0 else "0.6", edgecolor="black"))
        ax.text(0.40, top + section.section_length / 2,
                f"section {i + 1}: {_enum_name(SectionType, section.section_type_code)}, "
                f"{section.section_length:g} {depth_unit}", va="center", fontsize="small")
        top += section.section_length
    loads = deck.loading.loads if deck.loading is not None else []
    if loads:
        ax.annotate("", xy=(0.30, 0.0), xytext=(0.12, 0.0),
                    arrowprops={"arrowstyle": "->", "color": "tab:red", "linewidth": 2})
        text = []
        for i, load in enumerate(loads):
            first, second = _LOAD_TERMS.get(load.loading_type, ("c1", "c2"))
            unit_1 = force_unit if first == "V" else depth_unit.replace("ft", "in")
            unit_2 = {"M": moment_unit, "slope": "rad", "kθ": f"{moment_unit}/rad"}[second] \
                if second in ("M", "slope", "kθ") else ""
            text.append(f"load {i + 1}: {first} = {load.condition_1:g} {unit_1}, "
                        f"{second} = {load.condition_2:g} {unit_2}".rstrip())
        ax.text(0.02, -0.02 * bottom, "\n".join(text), color="tab:red", va="bottom",
                fontsize="small")
    for depth in deck.printed_py_depths or []:
        ax.plot([0.26, 0.30], [depth, depth], color="tab:green", linewidth=1.5)
    if deck.printed_py_depths:
        ax.plot([], [], color="tab:green", label="printed p-y curves")
        ax.legend(loc="lower left", fontsize="small")
    ax.set_xlim(0.0, 1.0)
    ax.set_ylim(bottom * 1.05, -0.15 * bottom)
    ax.set_xticks([])
    ax.set_ylabel(f"Depth below pile head ({depth_unit})")
    title = next((t for t in (deck.title or []) if t.strip()), "")
    ax.set_title(title or "Pile model")
    return fig
