"""Parametric studies: many analyses of one deck with varied values, on threads or Dask."""

import itertools
import os
import re
from concurrent.futures import ThreadPoolExecutor, as_completed

import pandas as pd

from .errors import ZarnoError
from .running import _is_text, run

# Per load case, the responses a sweep keeps.
CASE_COLUMNS = ["converged", "iterations", "head_deflection", "head_slope", "head_shear",
                "head_moment", "max_moment", "max_moment_depth", "max_shear",
                "max_shear_depth"]
RUN_COLUMNS = ["run", "case", "status", "error", "warnings"]


def _placeholders(text, values):
    """Deck text with every {name} of the swept names replaced by its value; other braces
    are left alone."""
    def replace(m):
        name = m.group(1)
        return str(values[name]) if name in values else m.group(0)
    return re.sub(r"\{(\w+)\}", replace, text)


def _deck_for(deck, values):
    if callable(deck) and not hasattr(deck, "to_text"):
        return deck(**values)
    if hasattr(deck, "with_values"):
        return deck.with_values(**values)
    return _placeholders(deck, values)


def _rows_of_run(index, deck, values, extract):
    """The rows of one run: one per load case, or one row with the status and message of a
    run that failed. Never raises for a failed run."""
    base = {"run": index, **values}
    try:
        # A study keeps the key values of each case; the tables only for the caller's extract.
        result = run(_deck_for(deck, values), keep_texts=False, warn=False,
                     tables=extract is not None)
    except ZarnoError as e:
        message = " ".join(line.strip() for line in e.lines if line.strip()) or str(e)
        return [{**base, "case": None, "status": e.status, "error": message, "warnings": ""}]
    except Exception as e:  # a deck that could not be formed: the row says why
        return [{**base, "case": None, "status": None, "error": f"{type(e).__name__}: {e}",
                 "warnings": ""}]
    warnings = "; ".join(str(w) for w in result.warnings)
    extra = extract(result) if extract else {}
    rows = []
    for c in result._data["load_cases"]:
        row = {**base, "case": c["number"], "status": result.return_value, "error": "",
               "warnings": warnings}
        row.update({k: c[k] for k in CASE_COLUMNS})
        row.update(extra)
        rows.append(row)
    if not rows:
        rows.append({**base, "case": None, "status": result.return_value, "error": "",
                     "warnings": warnings, **extra})
    rows[0]["_units"] = result.units
    return rows


def _run_batch(batch, deck, extract):
    rows = []
    for index, values in batch:
        rows.extend(_rows_of_run(index, deck, values, extract))
    return rows


def _combinations(params):
    names = list(params)
    for name in names:
        if isinstance(params[name], (str, bytes)) or not hasattr(params[name], "__iter__"):
            raise TypeError(f"the values of {name!r} must be a list")
    return [dict(zip(names, combo)) for combo in itertools.product(*params.values())]


def _package_path():
    """Directories that hold the zarno package (source and compiled parts), for workers in
    other processes."""
    from . import __path__ as package_dirs
    return [os.path.dirname(os.path.abspath(p)) for p in package_dirs]


def _local_cluster(workers):
    from distributed import Client, LocalCluster
    path = os.pathsep.join(_package_path() + [os.environ.get("PYTHONPATH", "")]).rstrip(os.pathsep)
    # Worker processes on the loopback interface only; the scheduler's web server takes a
    # free port there instead of the fixed 8787 another study may hold.
    cluster = LocalCluster(n_workers=workers or os.cpu_count() or 1, threads_per_worker=1,
                           processes=True, host="127.0.0.1", dashboard_address=None,
                           scheduler_kwargs={"dashboard": False,
                                             "dashboard_address": "127.0.0.1:0"},
                           env={"PYTHONPATH": path})
    return Client(cluster), cluster


def _progress(total, enabled):
    from tqdm import tqdm
    return tqdm(total=total, disable=not enabled, unit="run", desc="zarno sweep")


def sweep(deck, params, *, workers=None, client=None, progress=True, extract=None,
          batch_size=None):
    """Runs every combination of the parameter values and returns one DataFrame.

    deck     what gives the deck of one combination:
             - deck text (or the path of a deck file) with placeholders {name} for the swept
               names, e.g. "1  1  {H}  0.0  150000.0  1" in the LOADING block;
             - a function called with the values as keyword arguments that returns a deck
               (text, path or zarno.Deck);
             - an object with a with_values(**values) method returning a deck.
    params   {name: [values, ...]}; every combination is run (itertools.product order)
    workers  threads on this machine (default: all cores)
    client   a dask.distributed Client, a scheduler address ("tcp://host:8786"), or "local"
             for a LocalCluster of `workers` processes on this machine; None runs on threads
    extract  optional function(result) -> dict of further columns per run
    progress show a progress bar (tqdm)

    Rows: one per run and load case, with the parameter values, run (the combination's
    index), case, status (0, a negative warning code, or the engine's fatal status), error
    (the message of a failed run), warnings, converged, iterations, head_deflection,
    head_slope, head_shear, head_moment, max_moment(_depth), max_shear(_depth). A run that
    fails is a row with its status and message; the other runs are unaffected.
    """
    if isinstance(deck, (str, os.PathLike)) and not (isinstance(deck, str) and _is_text(deck)):
        with open(deck, encoding="latin-1") as f:
            deck = f.read()
    combos = list(enumerate(_combinations(params)))
    if client is None:
        rows = _sweep_threads(deck, combos, workers, progress, extract)
    else:
        rows = _sweep_dask(deck, combos, workers, client, progress, extract, batch_size)
    return _frame(rows, list(params))


def _sweep_threads(deck, combos, workers, progress, extract):
    rows = []
    with ThreadPoolExecutor(max_workers=workers or os.cpu_count() or 1) as pool, \
            _progress(len(combos), progress) as bar:
        futures = [pool.submit(_rows_of_run, i, deck, values, extract) for i, values in combos]
        for future in as_completed(futures):
            rows.extend(future.result())
            bar.update(1)
    return rows


def _sweep_dask(deck, combos, workers, client, progress, extract, batch_size):
    from distributed import Client, as_completed as dask_completed
    own = None
    if isinstance(client, str):
        own = _local_cluster(workers) if client == "local" else (Client(client), None)
        client = own[0]
    try:
        n_workers = max(1, len(client.scheduler_info().get("workers", {})))
        size = batch_size or max(1, len(combos) // (n_workers * 8))
        batches = [combos[i:i + size] for i in range(0, len(combos), size)]
        deck_future = client.scatter(deck, broadcast=True) if isinstance(deck, str) else deck
        futures = [client.submit(_run_batch, b, deck_future, extract, pure=False)
                   for b in batches]
        rows = []
        with _progress(len(combos), progress) as bar:
            for future in dask_completed(futures):
                part = future.result()
                rows.extend(part)
                bar.update(len({r["run"] for r in part}))
        return rows
    finally:
        if own is not None:
            own[0].close()
            if own[1] is not None:
                own[1].close()


def _frame(rows, names):
    units = next((r.pop("_units") for r in rows if "_units" in r), {})
    for r in rows:
        r.pop("_units", None)
    df = pd.DataFrame(rows)
    for column in RUN_COLUMNS + CASE_COLUMNS:
        if column not in df.columns:
            df[column] = None
    first = ["run"] + names + ["case", "status", "error", "warnings"]
    df = df[first + [c for c in df.columns if c not in first]]
    df = df.sort_values(["run", "case"], na_position="first").reset_index(drop=True)
    df["case"] = df["case"].astype("Int64")
    df.attrs["units"] = {"head_deflection": units.get("length"), "head_slope": units.get("slope"),
                         "head_shear": units.get("force"), "head_moment": units.get("moment"),
                         "max_moment": units.get("moment"), "max_shear": units.get("force"),
                         "max_moment_depth": units.get("length"),
                         "max_shear_depth": units.get("length")}
    return df
