"""Zarno: lateral analysis of single piles and drilled shafts by the p-y method, from Python.

    import zarno
    result = zarno.run("examples/pipe_pile.inp")
    result.cases[0]          # node table of load case 1 as a pandas DataFrame
    result.plot()            # deflection, moment, shear and soil reaction against depth

The engine runs in-process with its outputs in memory; it releases the interpreter lock, so
threads run analyses in parallel (`zarno.sweep`).
"""

# Installed (pip install ./python, or cmake --install), the package is one directory. A
# developer may also put the source tree's python/ and the build tree's python/ on the import
# path: the package then spans every `zarno` directory on it.
from pkgutil import extend_path

__path__ = extend_path(__path__, __name__)

from .errors import InputError, RunError, ZarnoError, ZarnoWarning  # noqa: E402
from .deck import (  # noqa: E402
    FIELD_ERROR_STATUS,
    PY_TYPES,
    UNIT_DEFAULTS,
    Bar,
    Concrete,
    Deck,
    FieldError,
    Layer,
    LayerValues,
    Load,
    Loading,
    LoadingType,
    Options,
    PyType,
    Rebar,
    Section,
    SectionType,
    SoilLayer,
    Strand,
    Strands,
)
from .result import Message, Result  # noqa: E402
from .running import run  # noqa: E402
from .plotfile import PlotFile, read_plot_file  # noqa: E402
from .plotting import (  # noqa: E402
    plot_length_sweep,
    plot_load_deflection,
    plot_model,
    plot_moment_curvature,
    plot_profiles,
    plot_py_curves,
)
from .sweep import SweepInterrupted, sweep  # noqa: E402

__all__ = [
    "Bar",
    "Concrete",
    "FIELD_ERROR_STATUS",
    "LoadingType",
    "PyType",
    "Rebar",
    "SectionType",
    "SoilLayer",
    "Strand",
    "Strands",
    "UNIT_DEFAULTS",
    "Deck",
    "FieldError",
    "Layer",
    "LayerValues",
    "Load",
    "Loading",
    "Options",
    "PY_TYPES",
    "Section",
    "InputError",
    "Message",
    "PlotFile",
    "Result",
    "RunError",
    "ZarnoError",
    "ZarnoWarning",
    "plot_length_sweep",
    "plot_load_deflection",
    "plot_model",
    "plot_moment_curvature",
    "plot_profiles",
    "plot_py_curves",
    "read_plot_file",
    "run",
    "sweep",
    "SweepInterrupted",
]
