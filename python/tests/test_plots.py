"""Plots and the plot command: pictures are written and not empty; the plot output file
reader gives back the engine's own tables."""

import shutil
import subprocess
import sys

import numpy as np
import pytest

import zarno
from conftest import EXAMPLES


@pytest.fixture(scope="module")
def rich_deck():
    """The pipe example with printed p-y curves, deflection against length for load case 1
    and the pile-head stiffness."""
    text = (EXAMPLES / "pipe_pile.inp").read_text()
    text = text.replace("PrintPYCurves NO", "PrintPYCurves YES")
    text = text.replace("ComputeKmatrix NO", "ComputeKmatrix YES")
    text = text.replace("1  1  20000.0  0.0  150000.0  1", "1  1  20000.0  0.0  150000.0  0")
    return text.replace("END", "DEPTHS OF PRINTED P-Y CURVES\n2\n1 5.0\n2 30.0\nEND")


@pytest.fixture(scope="module")
def rich(rich_deck):
    return zarno.run(rich_deck)


def _png_ok(path):
    data = path.read_bytes()
    assert data[:8] == b"\x89PNG\r\n\x1a\n" and len(data) > 10000


def test_every_plot_writes_a_picture(rich, tmp_path):
    assert len(rich.py_curves) and len(rich.length_sweep) and len(rich.head_stiffness) == 10
    shaft = zarno.run(EXAMPLES / "drilled_shaft.inp")
    sweep = zarno.sweep((EXAMPLES / "pipe_pile.inp").read_text().replace("20000.0", "{H}"),
                        {"H": [5000.0, 10000.0, 20000.0]}, progress=False)
    figures = {
        "profiles": rich.plot(),
        "py": zarno.plot_py_curves(rich),
        "mc": zarno.plot_moment_curvature(shaft),
        "length": zarno.plot_length_sweep(rich),
        "load": zarno.plot_load_deflection(sweep, "H"),
        "model": zarno.plot_model(zarno.Deck.from_file(EXAMPLES / "drilled_shaft.inp")),
    }
    for name, fig in figures.items():
        fig.savefig(tmp_path / f"{name}.png")
        _png_ok(tmp_path / f"{name}.png")
    profiles = figures["profiles"]
    axes = profiles.axes
    assert len(axes) == 4 and axes[0].yaxis_inverted()  # depth downwards
    assert [ax.get_xlabel() for ax in axes] == ["Deflection (in)", "Bending moment (in-lb)",
                                                "Shear (lb)", "Soil reaction (lb/in)"]
    assert len(axes[0].lines) == 1 + len(rich.cases)  # a line per case, and the zero line
    assert figures["mc"].axes[1].get_ylabel() == "Bending stiffness EI (kN-m^2)"
    assert figures["load"].axes[0].get_ylabel() == "H (lb)"
    # The model: sections, layers with their types, the water table where the unit weight
    # turns submerged (10 kN/m3 from 6 m), the loads in the deck's units.
    model = figures["model"].axes[0]
    texts = [t.get_text() for t in model.texts]
    assert "section 1: drilled shaft, 15 m" in texts
    assert "layer 1: sand (5)" in texts and "layer 2: api sand (6)" in texts
    assert "water table 6 m" in texts
    assert "load 1: V = 250 kN, M = 500 kN-m\nload 2: V = 250 kN, slope = 0 rad" in texts
    assert model.get_ylabel() == "Depth below pile head (m)" and model.yaxis_inverted()


def test_plot_of_a_result_without_the_table_says_so():
    result = zarno.run(EXAMPLES / "pipe_pile.inp")
    with pytest.raises(ValueError, match="PrintPYCurves"):
        zarno.plot_py_curves(result)


def test_plot_file_reader_gives_the_engines_tables(rich):
    plot = zarno.PlotFile(rich.plot_text)
    assert plot.units["length"] == rich.units["length"]
    assert len(plot.cases) == len(rich.cases)
    for read, exact in zip(plot.cases, rich.cases):
        for column in ["depth", "deflection", "moment", "shear", "soil_reaction", "EI"]:
            # ES15.7 keeps eight significant digits; the engine writes |x| < 1e-20 as 0.
            np.testing.assert_allclose(read[column], exact[column], rtol=1e-7, atol=1e-20,
                                       err_msg=column)
    np.testing.assert_allclose(plot.py_curves["p"], rich.py_curves["p"], rtol=1e-7)
    assert list(plot.py_curves["soil"].unique()) == list(rich.py_curves["soil"].unique())
    np.testing.assert_allclose(plot.moment_curvature["EI"], rich.moment_curvature["EI"],
                               rtol=1e-7)
    assert plot.moment_curvature[["section", "thrust_index"]].equals(
        rich.moment_curvature[["section", "thrust_index"]].astype("int64"))
    np.testing.assert_allclose(plot.length_sweep["head_deflection"],
                               rich.length_sweep["head_deflection"], rtol=1e-7)
    np.testing.assert_allclose(plot.head_stiffness["K22"], rich.head_stiffness["K22"],
                               rtol=1e-7)


def test_plot_field_with_a_three_digit_exponent_is_read():
    from zarno.plotfile import _real
    assert _real(" 1.2345678-100") == pytest.approx(1.2345678e-100)
    assert _real("-2.5000000+101") == pytest.approx(-2.5e101)


def _command(*args):
    return subprocess.run([sys.executable, "-m", "zarno", *args], capture_output=True,
                          text=True)


def test_plot_command_on_a_deck_and_on_a_plot_file_from_another_front_end(cli, tmp_path):
    deck = tmp_path / "pipe_pile.inp"
    shutil.copy(EXAMPLES / "pipe_pile.inp", deck)
    done = _command("plot", str(deck), "-o", str(tmp_path / "deck.png"))
    assert done.returncode == 0, done.stderr
    _png_ok(tmp_path / "deck.png")
    subprocess.run([str(cli), str(deck)], check=True, capture_output=True)
    for picture in ["file.svg", "file.pdf"]:
        done = _command("plot", str(deck.with_suffix(".zrp")), "-o", str(tmp_path / picture))
        assert done.returncode == 0, done.stderr
        assert (tmp_path / picture).stat().st_size > 5000
    shaft = tmp_path / "ei_only_shaft.inp"
    shutil.copy(EXAMPLES / "ei_only_shaft.inp", shaft)
    subprocess.run([str(cli), str(shaft)], check=True, capture_output=True)
    done = _command("plot", str(shaft.with_suffix(".zrp")), "-o", str(tmp_path / "mc.png"))
    assert done.returncode == 0 and "moment-curvature" in done.stdout
    _png_ok(tmp_path / "mc.png")


def test_plot_command_reports_a_bad_deck_and_a_bad_file(tmp_path):
    bad = tmp_path / "bad.inp"
    bad.write_text((EXAMPLES / "pipe_pile.inp").read_text().replace("0.5\n36000",
                                                                    "13.0\n36000"))
    done = _command("plot", str(bad), "-o", str(tmp_path / "x.png"))
    assert done.returncode == 1 and "No. 33" in done.stderr
    junk = tmp_path / "junk.zrp"
    junk.write_text("hello\n")
    done = _command("plot", str(junk), "-o", str(tmp_path / "x.png"))
    assert done.returncode == 1 and "not a plot record" in done.stderr
    assert not (tmp_path / "x.png").exists()
