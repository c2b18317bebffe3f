"""zarno.sweep: combinations, failed runs as rows, threads against single runs, Dask."""

import _thread
import subprocess
import sys
import textwrap
import threading
import time

import numpy as np
import pytest

import zarno
from conftest import EXAMPLES

PIPE = (EXAMPLES / "pipe_pile.inp").read_text()
# Head shear of load case 1 and the number of pile increments as placeholders.
TEMPLATE = PIPE.replace("1  1  20000.0", "1  1  {H}").replace("Increments 100",
                                                             "Increments {n}")


def test_sweep_runs_every_combination_and_equals_single_runs():
    params = {"H": [10000.0, 30000.0], "n": [60, 100]}
    df = zarno.sweep(TEMPLATE, params, workers=2, progress=False)
    assert len(df) == 4 * 2  # two load cases per run
    assert list(df.columns[:5]) == ["run", "H", "n", "case", "status"]
    assert (df["status"] == 0).all() and (df["error"] == "").all()
    for (run, h, n), rows in df.groupby(["run", "H", "n"]):
        single = zarno.run(TEMPLATE.format(H=h, n=n)).summary
        for column in ["head_deflection", "max_moment", "max_shear_depth", "iterations"]:
            assert list(rows[column]) == list(single[column]), (h, n, column)
    # a larger head shear deflects the head further
    first = df[df["case"] == 1].set_index(["n", "H"])["head_deflection"]
    assert first[(100, 30000.0)] > first[(100, 10000.0)] > 0
    assert df.attrs["units"]["head_deflection"] == "in"


def test_failed_runs_are_rows_and_the_others_stand():
    params = {"H": [10000.0], "n": [20, 100, 600]}  # 40 to 500 increments are allowed
    df = zarno.sweep(TEMPLATE, params, progress=False)
    failed = df[df["status"] > 0]
    assert list(failed["n"]) == [20, 600]
    assert list(failed["status"]) == [155, 156] and failed["case"].isna().all()
    # One line with the kind, number and message code, the whole message in error_text.
    assert list(failed["error"]) == [
        "Input error 55 (INP00055): The number of pile increments is less than 40.",
        "Input error 56 (INP00056): " + failed["error_text"].iloc[1].split("\n")[1]
        .removeprefix("Problem:").strip()]
    assert failed["error_text"].str.contains("\nSolution:").all()
    good = df[df["n"] == 100]
    assert len(good) == 2 and (good["status"] == 0).all()


def test_a_deck_function_and_its_own_errors_are_rows(elastic):
    def deck(H):
        if H < 0:
            raise ValueError("negative load")
        return elastic([f"1 {H} 0.0 0.0 1"])

    def extract(result):
        if abs(result.summary["head_shear"].iloc[0]) > 2500.0:
            raise KeyError("no such column")
        return {"tip_deflection": result.cases[0]["deflection"].iloc[-1]}

    df = zarno.sweep(deck, {"H": np.array([-1.0, 1000.0, 2000.0, 3000.0])}, progress=False,
                     extract=extract)
    assert df.loc[df["H"] == -1.0, "error"].item() == "ValueError: negative load"
    # An extract that raises loses only its own run, which says why.
    failed = df[df["H"] == 3000.0]
    assert len(failed) == 1 and failed["status"].item() == 0
    assert failed["error"].item() == "extract: KeyError: 'no such column'"
    assert "Traceback" in failed["error_text"].item()
    ok = df[(df["H"] > 0) & (df["error"] == "")].set_index("H")
    # Linear soil and pile: the head deflection is proportional to the load.
    assert ok.loc[2000.0, "head_deflection"] == pytest.approx(
        2 * ok.loc[1000.0, "head_deflection"], rel=1e-9)
    assert "tip_deflection" in ok.columns


def test_dask_local_cluster_of_two_workers_equals_threads():
    distributed = pytest.importorskip("distributed")
    params = {"H": [5000.0, 15000.0, 25000.0], "n": [50, 100, 20]}
    threads = zarno.sweep(TEMPLATE, params, workers=2, progress=False)
    # Two worker processes on the loopback interface; the scheduler's web server takes any
    # free port there, so parallel test runs do not collide.
    loopback = {"dashboard": False, "dashboard_address": "127.0.0.1:0"}
    with distributed.LocalCluster(n_workers=2, threads_per_worker=1, processes=True,
                                  host="127.0.0.1", dashboard_address=None,
                                  scheduler_kwargs=loopback) as cluster, \
            distributed.Client(cluster) as client:
        on_dask = zarno.sweep(TEMPLATE, params, client=client, progress=False, batch_size=2)
        workers = client.run(lambda: __import__("os").getpid())
    assert len(workers) == 2
    assert on_dask.equals(threads)
    assert (on_dask["status"] == 155).sum() == 3  # the failed runs came back as rows too


def test_a_swept_deck_file_keeps_its_utf8_title(tmp_path):
    path = tmp_path / "pile.inp"
    path.write_bytes(TEMPLATE.replace("Example 1: 24-inch", "Pfahl Ø 610 mm, Süd").encode())
    df = zarno.sweep(path, {"H": [10000.0], "n": [100]}, progress=False,
                     extract=lambda r: {"title": r.title[0]})
    assert (df["title"] == "Pfahl Ø 610 mm, Süd steel pipe pile in soft clay").all()


def test_ctrl_c_cancels_the_queued_runs_and_keeps_the_finished_rows():
    started = []
    sent = []
    stop = threading.Event()
    guard = threading.Lock()

    def extract(result):
        with guard:
            now = time.monotonic()
            started.append(now)
            # As Ctrl-C would, after the third run; again only if a second went by without
            # effect (Python drops an interrupt that lands in a clean-up callback).
            if len(started) >= 3 and not stop.is_set() and (not sent or now - sent[-1] > 1.0):
                sent.append(now)
                _thread.interrupt_main()
        return {}

    params = {"H": [10000.0 + i for i in range(400)], "n": [100]}
    try:
        zarno.sweep(TEMPLATE, params, workers=1, progress=False, extract=extract)
        caught = None
    except zarno.SweepInterrupted as e:
        caught, stopped, last = e, time.monotonic(), sent[-1]
    for _ in range(3):  # an interrupt still pending from the run under way lands here
        try:
            with guard:
                stop.set()
            time.sleep(0.3)
            break
        except KeyboardInterrupt:
            continue
    assert isinstance(caught, KeyboardInterrupt)
    assert stopped - last < 1.0
    rows = caught.rows
    # The runs that finished are kept; the hundreds still queued never ran.
    assert 2 <= rows["run"].nunique() <= len(started) < 100
    assert (rows["status"] == 0).all() and list(rows.columns[:3]) == ["run", "H", "n"]


def test_a_local_cluster_from_a_script_without_a_main_guard(tmp_path):
    """Dask's LocalCluster re-imports an unguarded script in every worker, which then starts
    clusters of its own without end; zarno's local cluster must finish such a script."""
    pytest.importorskip("distributed")
    script = tmp_path / "study.py"
    script.write_text(textwrap.dedent(f"""
        import numpy as np
        import zarno
        deck = {TEMPLATE!r}
        df = zarno.sweep(deck, {{"H": np.linspace(5000.0, 25000.0, 3), "n": [100]}},
                         client="local", workers=2, progress=False)
        print("rows", len(df), int((df["status"] == 0).sum()))
    """))
    done = subprocess.run([sys.executable, str(script)], capture_output=True, text=True,
                          timeout=90, cwd=tmp_path)
    assert done.returncode == 0, done.stderr[-2000:]
    assert done.stdout.split() == ["rows", "6", "6"]


def test_a_local_worker_that_cannot_start_is_reported_at_once(monkeypatch):
    pytest.importorskip("distributed")
    monkeypatch.setattr(sys, "executable", "/bin/false")  # every worker exits with status 1
    began = time.monotonic()
    with pytest.raises(RuntimeError, match="a worker process exited with status 1"):
        zarno.sweep(TEMPLATE, {"H": [1000.0], "n": [100]}, client="local", workers=1,
                    progress=False)
    assert time.monotonic() - began < 30
