#!/usr/bin/env python3
"""Value-mutation sweep: every number of the given decks replaced, one at a time, by each
of 16 values (0, +-1, +-0.5, 3, 7, 89, 1000, 1e-9, 1e-300, 1e9, +-1e19, +-1e20), and the
deck run by the command-line program with --json. A run is a fault when it crashes (a
signal), stops with status 999, ends normally (or with warnings) with a non-finite number
in its report, plot file, message file or JSON results, writes JSON that does not parse,
or stops with a message file whose last line is not the line of its stop.

    python3 fuzz/value_sweep.py build/zarno examples/*.inp tests/reference/inputs/*.inp

Prints one line per fault and a count per deck; exit status 1 when any fault was found.
"""

import json
import math
import os
import re
import subprocess
import sys
import tempfile
from concurrent.futures import ThreadPoolExecutor

VALUES = ["0", "1", "-1", "0.5", "-0.5", "3", "7", "89", "1000", "1e-9", "1e-300", "1e9",
          "1e19", "-1e19", "1e20", "-1e20"]
NUMBER = re.compile(r"(?<![\w.+-])[+-]?(?:\d+\.?\d*|\.\d+)(?:[eEdD][+-]?\d+)?(?![\w.])")
NON_FINITE = re.compile(r"\b(nan|inf|infinity)\b", re.IGNORECASE)
# Number of the runs at the same time (the machine is shared; two cores).
JOBS = int(os.environ.get("SWEEP_JOBS", "2"))


def positions(text):
    """(line index, start, end) of every number on the deck's lines after the header."""
    out = []
    for i, line in enumerate(text.split("\n")):
        if i == 0:
            continue
        for m in NUMBER.finditer(line):
            out.append((i, m.start(), m.end()))
    return out


def has_null_number(j, key=""):
    if j is None:
        return key != "error"
    if isinstance(j, float):
        return not math.isfinite(j)
    if isinstance(j, dict):
        return any(has_null_number(v, k) for k, v in j.items())
    if isinstance(j, list):
        return any(has_null_number(v, key) for v in j)
    return False


def last_line(text):
    lines = [line for line in text.splitlines() if line.strip()]
    return lines[-1].strip() if lines else ""


def run_one(cli, deck_text, work):
    """The fault found in one run, or None."""
    with tempfile.TemporaryDirectory(dir=work) as d:
        inp = os.path.join(d, "case.inp")
        with open(inp, "w", encoding="latin-1", newline="") as f:
            f.write(deck_text)
        js = os.path.join(d, "case.json")
        try:
            p = subprocess.run([cli, inp, "--json", js], capture_output=True, timeout=120)
        except subprocess.TimeoutExpired:
            return "hang (over 120 s)"
        if p.returncode < 0:
            return f"signal {-p.returncode}"
        out = p.stdout.decode("utf-8", "replace") + p.stderr.decode("utf-8", "replace")
        if "status 999" in out or "Internal error" in out:
            return "status 999: " + out.strip().splitlines()[0]
        files = {ext: os.path.join(d, "case" + ext) for ext in (".zro", ".zrp", ".zrm")}
        texts = {}
        for ext, path in files.items():
            if os.path.exists(path):
                with open(path, encoding="utf-8", errors="replace") as f:
                    texts[ext] = f.read()
        if os.path.exists(js):
            try:
                with open(js, encoding="utf-8") as f:
                    results = json.load(f)
            except (ValueError, UnicodeDecodeError) as e:
                return f"JSON does not parse: {e}"
        else:
            results = None
        if p.returncode == 0:
            for ext, text in texts.items():
                if NON_FINITE.search(text):
                    return f"normal end with a non-finite number in {ext}"
            if results is not None and has_null_number(results):
                return "normal end with a non-finite number in the JSON"
        elif ".zrm" in texts:
            last = last_line(texts[".zrm"])
            if not (last.startswith("The analysis ended due to")
                    or last.startswith("The analysis stopped with status")):
                return f"exit {p.returncode} but the message file ends with: {last}"
        return None


def main():
    if len(sys.argv) < 3:
        print(__doc__)
        return 2
    cli = os.path.abspath(sys.argv[1])
    total_faults = 0
    with tempfile.TemporaryDirectory(prefix="zarno-sweep-") as work:
        for deck_path in sys.argv[2:]:
            with open(deck_path, encoding="latin-1", newline="") as f:
                text = f.read()
            lines = text.split("\n")
            jobs = []
            for (i, a, b) in positions(text):
                for v in VALUES:
                    mutated = list(lines)
                    mutated[i] = lines[i][:a] + v + lines[i][b:]
                    jobs.append((i + 1, lines[i][a:b], v, "\n".join(mutated)))
            faults = 0
            with ThreadPoolExecutor(JOBS) as pool:
                found = pool.map(lambda j: (j, run_one(cli, j[3], work)), jobs)
                for (line, old, new, _), fault in found:
                    if fault:
                        faults += 1
                        print(f"{deck_path}:{line}: {old} -> {new}: {fault}", flush=True)
            print(f"{deck_path}: {len(jobs)} runs, {faults} faults", flush=True)
            total_faults += faults
    return 1 if total_faults else 0


if __name__ == "__main__":
    sys.exit(main())
