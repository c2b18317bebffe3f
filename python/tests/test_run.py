"""zarno.run: results against the command-line program, a closed form and equilibrium; bad
input; warnings; threads."""

import json
import math
import shutil
import subprocess
import threading
import warnings

import numpy as np
import pytest

import zarno
from conftest import EXAMPLES


def _cli_run(cli, example, tmp_path):
    """The command-line program's results of an example: its JSON document and its plot
    output file."""
    deck = tmp_path / example.name
    shutil.copy(example, deck)
    out = tmp_path / "results.json"
    subprocess.run([str(cli), str(deck), "--json", str(out)], check=False, capture_output=True)
    return json.loads(out.read_text()), deck.with_suffix(".zrp").read_text()


@pytest.mark.parametrize("name", ["pipe_pile", "drilled_shaft", "ei_only_shaft", "lrfd_pile"])
def test_examples_equal_the_command_line_results(cli, tmp_path, name):
    example = EXAMPLES / f"{name}.inp"
    expected, plot = _cli_run(cli, example, tmp_path)
    result = zarno.run(example, warn=False)
    assert result.return_value == expected["return_value"]
    assert result.units == expected["units"]
    assert len(result.cases) == len(expected["load_cases"])
    for df, case in zip(result.cases, expected["load_cases"]):
        nodes = case["nodes"]
        assert len(df) == len(nodes)
        for column, key in [("depth", "depth"), ("deflection", "deflection"),
                            ("slope", "slope"), ("moment", "moment"), ("shear", "shear"),
                            ("soil_reaction", "soil_reaction"), ("Es", "soil_modulus"),
                            ("EI", "bending_stiffness")]:
            np.testing.assert_array_equal(df[column].to_numpy(),
                                          [n[key] for n in nodes], err_msg=column)
        row = result.summary.set_index("case").loc[case["number"]]
        assert row["max_moment"] == case["max_moment"]
        assert row["max_shear_depth"] == case["max_shear_depth"]
    mc = result.moment_curvature
    assert len(mc) == sum(len(s["points"]) for s in expected["section_curves"])
    if len(mc):
        np.testing.assert_array_equal(
            mc["EI"].to_numpy(),
            [p["bending_stiffness"] for s in expected["section_curves"] for p in s["points"]])
    # The plot text is the file the command line wrote, byte for byte: one engine, one layout.
    assert result.plot_text == plot
    report = (tmp_path / example.name).with_suffix(".zro").read_text()
    assert result.report.splitlines()[-5:] == report.splitlines()[-5:]
    assert len(result.report.splitlines()) == len(report.splitlines())
    # The JSON lists a warning's notes beside it; the Result attaches them to it.
    assert [w.code for w in result.warnings] == sorted({w["code"] for w in expected["warnings"]},
                                                       key=[w["code"] for w in
                                                            expected["warnings"]].index)


def test_a_run_without_tables_keeps_the_key_values():
    full = zarno.run(EXAMPLES / "drilled_shaft.inp")
    lean = zarno.run(EXAMPLES / "drilled_shaft.inp", tables=False, keep_texts=False)
    assert lean.summary.equals(full.summary) and lean.report is None
    assert lean.moment_curvature.empty and not full.moment_curvature.empty
    with pytest.raises(ValueError, match="tables=False"):
        lean.cases


def test_deck_text_and_path_give_the_same_result(tmp_path):
    example = EXAMPLES / "pipe_pile.inp"
    from_path = zarno.run(str(example))
    from_text = zarno.run(example.read_text())
    assert from_text.plot_text == from_path.plot_text
    assert from_text.summary.equals(from_path.summary)
    assert list(tmp_path.iterdir()) == []  # nothing written beside the caller's files
    assert "deck.inp" in from_text.report and "deck.inp" not in from_path.report


def test_elastic_pile_matches_beam_on_elastic_foundation(elastic):
    # Long free-head pile, head shear H: y0 = 2 H beta / k and M(x) = (H / beta) e^-bx sin bx,
    # with k = Esub * b and beta = (k / 4EI)^(1/4); maximum moment at beta x = pi / 4.
    H, EI, k = 10000.0, 29.0e6 * 16000.0, 100.0 * 24.0
    beta = (k / (4.0 * EI)) ** 0.25
    result = zarno.run(elastic(["1 10000.0 0.0 0.0 1"], increments=200))
    df = result.case(1)
    assert df["deflection"].iloc[0] == pytest.approx(2.0 * H * beta / k, rel=2e-3)
    x = df["depth"].to_numpy()
    closed = H / beta * np.exp(-beta * x) * np.sin(beta * x)
    assert np.max(np.abs(df["moment"].to_numpy() - closed)) < 2e-3 * np.max(np.abs(closed))
    s = result.summary.iloc[0]
    assert abs(s["max_moment"]) == pytest.approx(H / beta * math.exp(-math.pi / 4)
                                                 * math.sin(math.pi / 4), rel=2e-3)
    assert s["max_moment_depth"] == pytest.approx(math.pi / (4 * beta), abs=x[1] - x[0])
    assert result.units["length"] == "in" and result.units["moment"] == "in-lb"


@pytest.mark.parametrize("name", ["pipe_pile", "drilled_shaft"])
def test_soil_reaction_balances_the_head_loads(name):
    # Equilibrium of the whole pile (no distributed load, no tip shear): the soil's resultant
    # equals the head shear, and its moment about the head equals the head moment plus the
    # moment of the axial thrust over the head's deflection relative to the tip (P-delta).
    result = zarno.run(EXAMPLES / f"{name}.inp")
    for df, case in zip(result.cases, result.summary.itertuples()):
        z, p, y = (df[c].to_numpy() for c in ["depth", "soil_reaction", "deflection"])
        assert -np.trapz(p, z) == pytest.approx(case.head_shear, rel=0.01)
        assert np.trapz(p * z, z) == pytest.approx(
            case.head_moment + case.axial_thrust * (y[0] - y[-1]), rel=1e-3)
        assert df["shear"].iloc[0] == pytest.approx(case.condition_1, rel=1e-9)
        assert df["moment"].iloc[-1] == pytest.approx(0.0, abs=1e-6 * abs(case.max_moment))


BAD_DECKS = [
    # (what is wrong, change to the pipe example, code, line, field)
    ("not a deck", ("ZARNOK6", "ZARNOK5"), 32, None, None),
    ("value out of range", ("0.5\n36000", "13.0\n36000"), 33, 31, "wall thickness of section 1"),
    ("unreadable number", ("36000.0", "36k"), 90, 32,
     "yield stress of casing or pipe of section 1"),
    ("check after reading", ("MaxIterations 100", "MaxIterations 10"), 95, None, None),
    ("negative cohesion", ("52.6  720.0  0.02", "52.6  -720.0  0.02"), 33, 38,
     "cohesion at the bottom of layer 1"),
    ("misspelt block keyword", ("SOIL LAYERS", "SOIL LAYER"), 99, 34, None),
]


@pytest.mark.parametrize("what, change, code, line, field", BAD_DECKS,
                         ids=[b[0] for b in BAD_DECKS])
def test_rejected_deck_raises_with_the_engines_code_and_message(what, change, code, line,
                                                                 field):
    text = (EXAMPLES / "pipe_pile.inp").read_text().replace(*change)
    with pytest.raises(zarno.InputError) as info:
        zarno.run(text)
    e = info.value
    assert e.code == code and e.status == code + 100
    assert e.message_code == f"INP{code:05d}"
    assert e.lines and any(line_text.strip() for line_text in e.lines)
    assert str(code) in str(e)
    assert (e.line, e.field) == (line, field)


def test_missing_deck_file_is_the_usual_python_error(tmp_path):
    with pytest.raises(FileNotFoundError):
        zarno.run(tmp_path / "absent.inp")
    with pytest.raises(FileNotFoundError):
        zarno.run("absent.inp")


def test_warnings_that_the_report_only_wrote_are_warnings_here():
    # The drilled-shaft example's solution-balance block, and a layer gap closed for the
    # analysis, each come with a note that says where.
    with pytest.warns(zarno.ZarnoWarning, match="-5501"):
        shaft = zarno.run(EXAMPLES / "drilled_shaft.inp")
    assert [w.code for w in shaft.warnings] == [-5501]
    assert "Load case 1" in str(shaft.warnings[0])
    text = (EXAMPLES / "pipe_pile.inp").read_text().replace("2  20.0  70.0", "2  25.0  70.0")
    with pytest.warns(zarno.ZarnoWarning, match="-717"):
        gap = zarno.run(text)
    assert "layer 1 ends at 20 ft and layer 2 starts at 25 ft" in str(gap.warnings[0])


def test_warnings_are_listed_and_announced():
    text = (EXAMPLES / "pipe_pile.inp").read_text().replace("MaxIterations 100", "MaxIter 100")
    with pytest.warns(zarno.ZarnoWarning, match="-710"):
        result = zarno.run(text)
    assert result.return_value < 0 and not result.ok
    assert [w.code for w in result.warnings] == [-710]
    assert "MaxIterations" in str(result.warnings[0])  # the note that names the line
    assert "Line 17" in str(result.warnings[0])
    assert len(result.cases) == 2  # the analysis itself ran
    with warnings.catch_warnings():
        warnings.simplefilter("error")
        zarno.run(text, warn=False).warnings  # listed without a Python warning


def test_parallel_runs_in_threads_equal_runs_in_sequence(elastic):
    decks = [elastic([f"1 {h} 0.0 0.0 1"]) for h in (1000.0, 5000.0, 9000.0, 13000.0)]
    sequential = [zarno.run(d).plot_text for d in decks]
    parallel = [None] * len(decks)

    def work(i):
        parallel[i] = zarno.run(decks[i]).plot_text

    threads = [threading.Thread(target=work, args=(i,)) for i in range(len(decks))]
    for t in threads:
        t.start()
    for t in threads:
        t.join()
    assert parallel == sequential
    assert len(set(sequential)) == len(decks)


def test_cli_csv_tables_give_units_in_every_header_and_exact_numbers(cli, tmp_path):
    import pandas as pd
    deck = tmp_path / "shaft.inp"
    shutil.copy(EXAMPLES / "drilled_shaft.inp", deck)
    subprocess.run([str(cli), str(deck), "--csv", str(tmp_path / "t")], check=True,
                   capture_output=True)
    cases = pd.read_csv(tmp_path / "t" / "load_cases.csv", float_precision="round_trip")
    assert list(cases.columns[2:5]) == [
        "condition_1 (kN for types 1-3; m for 4-5)",
        "condition_2 (kN-m for types 1 and 4; rad for 2 and 5; kN-m/rad for 3)",
        "axial_thrust (kN)"]
    curves = pd.read_csv(tmp_path / "t" / "moment_curvature.csv")
    assert {"moment (kN-m)", "bending_stiffness (kN-m^2)", "curvature (rad/m)"} <= \
        set(curves.columns)
    # Shortest round-trip decimals: read back exactly, the same doubles as in Python.
    summary = zarno.run(EXAMPLES / "drilled_shaft.inp").summary
    assert list(cases["head_deflection (m)"]) == list(summary["head_deflection"])
    assert list(cases["max_moment (kN-m)"]) == list(summary["max_moment"])


def test_a_failed_second_case_keeps_the_first_on_the_error():
    # The drilled-shaft example with its fixed-head case loaded far beyond the bending
    # capacity: case 1 is solved, case 2 stops with the capacity named.
    text = (EXAMPLES / "drilled_shaft.inp").read_text().replace(
        "2  2  250.0  0.0  1500.0  1", "2  2  20000.0  0.0  1500.0  1")
    with pytest.raises(zarno.RunError) as info:
        zarno.run(text, warn=False)
    result = info.value.result
    assert list(result.summary["converged"]) == [True, False]
    assert list(result.case_errors) == [2]
    assert result.case_errors[2][2].startswith(
        "Problem:  Load case 2 exceeds the bending capacity of the pile")
    assert any("Load case 2" in line for line in info.value.lines)
