"""Command line of the zarno package.

    python3 -m zarno plot DECK_OR_PLOTFILE -o out.png|svg|pdf [--kind KIND]

A deck (a file whose first item is ZARNOK6) is run and its results plotted; any other file
is read as a plot output file written by a run of the engine from any front end.
"""

import argparse
import sys

KINDS = ["profiles", "py", "moment-curvature", "length"]


def _load(path):
    with open(path, encoding="latin-1") as f:
        text = f.read()
    if text.lstrip().startswith("ZARNOK6"):
        from .running import run
        return run(path, keep_texts=False, warn=False)
    from .plotfile import PlotFile
    return PlotFile(text, source=path)


def _default_kind(data):
    if len(data.cases):
        return "profiles"
    if not data.moment_curvature.empty:
        return "moment-curvature"
    raise ValueError("the file holds nothing to plot")


def plot_command(args):
    import matplotlib
    matplotlib.use("Agg")  # a file is written; no window is opened
    from . import plotting
    data = _load(args.input)
    kind = args.kind or _default_kind(data)
    draw = {"profiles": plotting.plot_profiles, "py": plotting.plot_py_curves,
            "moment-curvature": plotting.plot_moment_curvature,
            "length": plotting.plot_length_sweep}[kind]
    fig = draw(data)
    fig.savefig(args.output, dpi=args.dpi)
    print(f"wrote {args.output} ({kind})")
    return 0


def main(argv=None):
    parser = argparse.ArgumentParser(prog="python3 -m zarno",
                                     description="Zarno lateral pile analysis from Python.")
    commands = parser.add_subparsers(dest="command", required=True)
    plot = commands.add_parser("plot", help="plot a deck's results or a plot output file")
    plot.add_argument("input", help="a deck (ZARNOK6 ...) or a plot output file (.zrp)")
    plot.add_argument("-o", "--output", required=True,
                      help="the picture to write; its extension (png, svg, pdf) sets the format")
    plot.add_argument("--kind", choices=KINDS,
                      help="what to plot (default: profiles for a lateral run, "
                           "moment-curvature for a stiffness-only run)")
    plot.add_argument("--dpi", type=int, default=120)
    args = parser.parse_args(argv)
    from .errors import ZarnoError
    try:
        return plot_command(args)
    except ZarnoError as e:
        print(f"{args.input}: {e}", file=sys.stderr)
        return 1
    except (OSError, ValueError) as e:
        print(f"{args.input}: {e}", file=sys.stderr)
        return 1


if __name__ == "__main__":
    sys.exit(main())
