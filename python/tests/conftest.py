"""Shared fixtures: the examples, the build directory, small decks."""

import os
import pathlib

import pytest

ROOT = pathlib.Path(__file__).resolve().parents[2]
EXAMPLES = ROOT / "examples"


def build_dir():
    """The build tree of the command-line program (ZARNO_BUILD_DIR, set by
    scripts/test-python.sh; by default the project's build/)."""
    return pathlib.Path(os.environ.get("ZARNO_BUILD_DIR", ROOT / "build")).resolve()


@pytest.fixture(scope="session")
def cli():
    path = build_dir() / "zarno"
    if not path.exists():
        pytest.fail(f"the command-line program {path} was not built")
    return path


@pytest.fixture(scope="session")
def examples():
    return sorted(EXAMPLES.glob("*.inp"))


def elastic_deck(load_lines, increments=100, length_ft=150.0, E=29.0e6, I=16000.0, b=24.0,
                 esub=100.0, extra_options=None, print_py=None):
    """A USCS deck of an elastic circular pile in one elastic subgrade layer, whose response
    has the closed form of a beam on an elastic foundation (spring k = Esub * b)."""
    options = {"MaxIterations": "100", "ExcessDeflection": "100.0", "Tolerance": "1.0E-05",
               "Increments": str(increments)}
    options.update(extra_options or {})
    lines = ["ZARNOK6", "TITLE", "Elastic pile in elastic subgrade", "", "", "", "",
             "OPTIONS", "Units USCS", "UseLRFD NO", "ComputeKmatrix NO", "UseTipShear NO",
             "UseSoilMovement NO", "UsePYModifiers NO", "ComputeEIOnly NO",
             "Loading STATIC     0"]
    lines += [f"{k} {v}" for k, v in options.items()]
    lines += ["PrintSummaryOnly NO", "PrintIncrement 10",
              f"PrintPYCurves {'YES' if print_py else 'NO'}", "ComputeInteraction NO",
              "SECTIONS", "1", "1", "11", f"{length_ft}", "2", f"{E}", f"{b}", f"{b}", "452.4",
              "452.4", f"{I}", f"{I}",
              "SOIL LAYERS", "1", f"13 0.0 {length_ft}", f"60.0 {esub}", f"60.0 {esub}",
              "LOADING", str(len(load_lines))]
    lines += [f"{i} {line}" for i, line in enumerate(load_lines, 1)]
    lines += ["0"]
    if print_py:
        lines += ["DEPTHS OF PRINTED P-Y CURVES", str(len(print_py))]
        lines += [f"{i} {d}" for i, d in enumerate(print_py, 1)]
    lines += ["END", ""]
    return "\n".join(lines)


@pytest.fixture
def elastic():
    return elastic_deck


@pytest.fixture(autouse=True)
def _no_stray_files(tmp_path, monkeypatch):
    """Every test runs in an empty directory, so a file written by mistake would show."""
    monkeypatch.chdir(tmp_path)
    yield
    os.chdir(ROOT)
