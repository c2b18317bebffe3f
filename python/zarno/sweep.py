"""Parametric studies: many analyses of one deck with varied values, on threads or Dask."""

import itertools
import os
import re
import subprocess
import sys
import tempfile
import time
import traceback
from concurrent.futures import FIRST_COMPLETED, ThreadPoolExecutor, wait

import pandas as pd

from .errors import ZarnoError
from .running import _is_text, run

# Per load case, the responses a sweep keeps.
CASE_COLUMNS = ["converged", "iterations", "head_deflection", "head_slope", "head_shear",
                "head_moment", "max_moment", "max_moment_depth", "max_shear",
                "max_shear_depth"]
RUN_COLUMNS = ["run", "case", "status", "error", "error_text", "warnings"]


class SweepInterrupted(KeyboardInterrupt):
    """Ctrl-C during a sweep: the runs still queued were cancelled; `rows` is the DataFrame of
    the runs that had finished (the same columns as a whole sweep's)."""

    def __init__(self, rows):
        super().__init__(f"sweep interrupted after {rows['run'].nunique()} finished runs "
                         "(their rows are on this exception's .rows)")
        self.rows = rows


def _placeholders(text, values):
    """Deck text (str, or bytes as read from a file) with every {name} of the swept names
    replaced by its value; other braces are left alone."""
    if isinstance(text, bytes):
        def replace_bytes(m):
            name = m.group(1).decode("ascii")
            return str(values[name]).encode("ascii") if name in values else m.group(0)
        return re.sub(rb"\{(\w+)\}", replace_bytes, text)

    def replace(m):
        name = m.group(1)
        return str(values[name]) if name in values else m.group(0)
    return re.sub(r"\{(\w+)\}", replace, text)


def _deck_for(deck, values):
    if callable(deck) and not hasattr(deck, "to_text") and not isinstance(deck, bytes):
        return deck(**values)
    if hasattr(deck, "with_values"):
        return deck.with_values(**values)
    return _placeholders(deck, values)


def _failed_row(base, status, error, text):
    return {**base, "case": None, "status": status, "error": error, "error_text": text,
            "warnings": ""}


def _first_line(text):
    """The first line that says something: not the "**** ... ****" banner of an engine
    message, and without its "Problem:" label."""
    for line in text.splitlines():
        line = line.strip()
        if line and not (line.startswith("****") and line.endswith("****")):
            return re.sub(r"^Problem:\s*", "", line)
    return ""


def _rows_of_run(index, deck, values, extract):
    """The rows of one run: one per load case, or one row for a run that failed (or whose
    extract failed): error holds the error's name and number and the first line of its
    message, error_text the whole message. Never raises for a failed run."""
    base = {"run": index, **values}
    try:
        # A study keeps the key values of each case; the tables only for the caller's extract.
        result = run(_deck_for(deck, values), keep_texts=False, warn=False,
                     tables=extract is not None)
    except ZarnoError as e:
        text = "\n".join(line.rstrip() for line in e.lines if line.strip()) or str(e)
        head = f"{e.kind} {e.code}" + (f" ({e.message_code})" if e.message_code else "")
        return [_failed_row(base, e.status, f"{head}: {_first_line(text)}", text)]
    except Exception as e:  # a deck that could not be formed: the row says why
        text = str(e)
        return [_failed_row(base, None, f"{type(e).__name__}: {_first_line(text)}",
                            "".join(traceback.format_exception_only(type(e), e)).strip())]
    warnings = "; ".join(str(w) for w in result.warnings)
    try:
        extra = extract(result) if extract else {}
    except Exception as e:  # the caller's extract failed for this run only
        return [_failed_row(base, result.return_value,
                            f"extract: {type(e).__name__}: {_first_line(str(e))}",
                            "".join(traceback.format_exception(type(e), e,
                                                               e.__traceback__)).strip())]
    rows = []
    for c in result._data["load_cases"]:
        row = {**base, "case": c["number"], "status": result.return_value, "error": "",
               "error_text": "", "warnings": warnings}
        row.update({k: c[k] for k in CASE_COLUMNS})
        row.update(extra)
        rows.append(row)
    if not rows:
        rows.append({**base, "case": None, "status": result.return_value, "error": "",
                     "error_text": "", "warnings": warnings, **extra})
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


class _LocalCluster:
    """A scheduler in this process and worker processes started as plain programs.

    Dask's own LocalCluster starts its workers with multiprocessing, which imports the
    caller's script again in every worker: a script without an `if __name__ == "__main__":`
    guard then starts a cluster in every worker, whose workers do the same, without end.
    These workers run `python -m distributed.cli.dask_worker` and never import the script.
    """

    def __init__(self, workers):
        from distributed import Client, LocalCluster
        self.processes = []
        # The scheduler on the loopback interface only; its web server takes a free port
        # there instead of the fixed 8787 another study may hold.
        self.cluster = LocalCluster(n_workers=0, processes=False, protocol="tcp://",
                                    host="127.0.0.1",
                                    dashboard_address=None,
                                    scheduler_kwargs={"dashboard": False,
                                                      "dashboard_address": "127.0.0.1:0"})
        env = dict(os.environ)
        env["PYTHONPATH"] = os.pathsep.join(
            _package_path() + [env.get("PYTHONPATH", "")]).rstrip(os.pathsep)
        # The workers' own log goes to a file, read back only to say why a worker failed.
        self.log = tempfile.TemporaryFile()
        try:
            for _ in range(workers):
                self.processes.append(subprocess.Popen(
                    [sys.executable, "-m", "distributed.cli.dask_worker",
                     self.cluster.scheduler_address, "--nthreads", "1", "--no-nanny",
                     "--host", "127.0.0.1", "--no-dashboard"],
                    env=env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                    stderr=self.log))
            self.client = Client(self.cluster)
            self._wait_for(workers)
        except BaseException:
            self.close()
            raise

    def _wait_for(self, workers, timeout=120.0):
        """Waits until every worker has joined; raises at once when one has exited."""
        deadline = time.monotonic() + timeout
        while len(self.client.scheduler_info().get("workers", {})) < workers:
            ended = [p.returncode for p in self.processes if p.poll() is not None]
            if ended or time.monotonic() > deadline:
                self.log.seek(0)
                tail = self.log.read().decode("utf-8", "replace").strip().splitlines()[-5:]
                what = f"a worker process exited with status {ended[0]}" if ended else \
                    f"the workers did not start within {timeout:g} s"
                raise RuntimeError(f"zarno.sweep(client=\"local\"): {what}; run on threads "
                                   "(client=None) or check that `python -m distributed.cli."
                                   "dask_worker` runs with this interpreter. Last lines of "
                                   "the workers' log:\n" + "\n".join(tail))
            time.sleep(0.1)

    def close(self):
        if getattr(self, "client", None) is not None:
            self.client.close()
        for p in self.processes:
            p.terminate()
        for p in self.processes:
            try:
                p.wait(timeout=10)
            except subprocess.TimeoutExpired:
                p.kill()
                p.wait()
        self.cluster.close()
        self.log.close()


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
    params   {name: [values, ...]}; every combination is run (itertools.product order).
             Values may be numpy arrays or numpy scalars.
    workers  threads on this machine (default: all cores), or the worker processes of
             client="local"
    client   a dask.distributed Client, a scheduler address ("tcp://host:8786"), or "local"
             for a scheduler and `workers` worker processes on this machine (safe in a
             script without an `if __name__ == "__main__":` guard); None runs on threads
    extract  optional function(result) -> dict of further columns per run
    progress show a progress bar (tqdm)

    Rows: one per run and load case, with the parameter values, run (the combination's
    index), case, status (0, a negative warning code, or the engine's fatal status), error
    (for a failed run: the error's kind and number and the first line of its message),
    error_text (the whole message), warnings, converged, iterations, head_deflection,
    head_slope, head_shear, head_moment, max_moment(_depth), max_shear(_depth); the units
    of the columns are in DataFrame.attrs["units"]. A run that fails, or whose extract
    raises, is one row with its status and error; the other runs are unaffected.

    Ctrl-C during a sweep on threads cancels the runs not yet started and raises
    zarno.SweepInterrupted (a KeyboardInterrupt) whose .rows holds the finished runs.
    """
    if isinstance(deck, os.PathLike) or (isinstance(deck, str) and not _is_text(deck)):
        # As bytes, like zarno.run reads a file: the deck's own encoding is kept.
        with open(deck, "rb") as f:
            deck = f.read()
    combos = list(enumerate(_combinations(params)))
    if client is None:
        rows = []
        try:
            _sweep_threads(deck, combos, workers, progress, extract, rows)
        except KeyboardInterrupt:
            raise SweepInterrupted(_frame(rows, list(params))) from None
    else:
        rows = _sweep_dask(deck, combos, workers, client, progress, extract, batch_size)
    return _frame(rows, list(params))


def _sweep_threads(deck, combos, workers, progress, extract, rows):
    """Runs the combinations on threads, adding each finished run's rows to rows (on Ctrl-C
    too: the runs finished by then are all in rows)."""
    pool = ThreadPoolExecutor(max_workers=workers or os.cpu_count() or 1)
    pending = set()
    try:
        # The bar first: an interrupt then never lands in its set-up.
        with _progress(len(combos), progress) as bar:
            for i, values in combos:
                pending.add(pool.submit(_rows_of_run, i, deck, values, extract))
            while pending:
                # A short wait keeps the main thread able to take Ctrl-C at once.
                done, pending = wait(pending, timeout=0.2, return_when=FIRST_COMPLETED)
                for future in done:
                    rows.extend(future.result())
                    bar.update(1)
    except KeyboardInterrupt:
        for future in pending:
            if future.done() and not future.cancelled():
                rows.extend(future.result())
        raise
    finally:
        # On Ctrl-C the queued runs are dropped; a run under way ends on its own thread.
        pool.shutdown(wait=False, cancel_futures=True)


def _sweep_dask(deck, combos, workers, client, progress, extract, batch_size):
    from distributed import Client, as_completed as dask_completed
    own = None
    if isinstance(client, str):
        own = _LocalCluster(workers or os.cpu_count() or 1) if client == "local" \
            else Client(client)
        client = own.client if client == "local" else own
    try:
        n_workers = max(1, len(client.scheduler_info().get("workers", {})))
        size = batch_size or max(1, len(combos) // (n_workers * 8))
        batches = [combos[i:i + size] for i in range(0, len(combos), size)]
        deck_future = client.scatter(deck, broadcast=True) if isinstance(deck, (str, bytes)) \
            else deck
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
            own.close()


def _frame(rows, names):
    units = next((r.pop("_units") for r in rows if "_units" in r), {})
    for r in rows:
        r.pop("_units", None)
    df = pd.DataFrame(rows)
    for column in names + RUN_COLUMNS + CASE_COLUMNS:
        if column not in df.columns:
            df[column] = None
    first = ["run"] + names + ["case", "status", "error", "error_text", "warnings"]
    df = df[first + [c for c in df.columns if c not in first]]
    df = df.sort_values(["run", "case"], na_position="first").reset_index(drop=True)
    df["case"] = df["case"].astype("Int64")
    df.attrs["units"] = {"head_deflection": units.get("length"), "head_slope": units.get("slope"),
                         "head_shear": units.get("force"), "head_moment": units.get("moment"),
                         "max_moment": units.get("moment"), "max_shear": units.get("force"),
                         "max_moment_depth": units.get("length"),
                         "max_shear_depth": units.get("length")}
    # The swept names of Deck.with_values, in the deck's units.
    deck_length = {"USCS": "ft", "SI": "m", "GENERAL": "L"}.get(units.get("system"))
    for name, unit in {"H": units.get("force"), "M": units.get("moment"),
                       "axial_thrust": units.get("force"), "length": deck_length}.items():
        if name in names and unit:
            df.attrs["units"][name] = unit
    return df
