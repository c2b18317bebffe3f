"""zarno.sweep: combinations, failed runs as rows, threads against single runs, Dask."""

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
    assert failed["error"].str.contains("number of pile increments is").all()
    good = df[df["n"] == 100]
    assert len(good) == 2 and (good["status"] == 0).all()


def test_a_deck_function_and_its_own_errors_are_rows(elastic):
    def deck(H):
        if H < 0:
            raise ValueError("negative load")
        return elastic([f"1 {H} 0.0 0.0 1"])

    df = zarno.sweep(deck, {"H": [-1.0, 1000.0, 2000.0]}, progress=False,
                     extract=lambda r: {"tip_deflection": r.cases[0]["deflection"].iloc[-1]})
    assert df.loc[df["H"] == -1.0, "error"].item() == "ValueError: negative load"
    ok = df[df["H"] > 0].set_index("H")
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
