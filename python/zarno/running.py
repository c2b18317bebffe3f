"""One analysis from Python: zarno.run."""

import os
import warnings

from . import _engine
from .errors import ZarnoWarning, error_for
from .result import Result


def _is_text(deck):
    """A str holding a whole deck (several lines) rather than the name of a file."""
    return "\n" in deck or deck.lstrip().startswith("ZARNOK6")


def deck_source(deck):
    """(path, text) for what run() accepts: a Deck, a path, or deck text (str or bytes)."""
    if hasattr(deck, "to_text"):
        # The run reads the deck with the same reader that a check would: no second reading.
        return None, deck.to_text(check=False)
    if isinstance(deck, bytes):
        return None, deck
    if isinstance(deck, os.PathLike):
        return os.fspath(deck), None
    if isinstance(deck, str):
        return (None, deck) if _is_text(deck) else (deck, None)
    raise TypeError(f"zarno.run takes a path, deck text or a zarno.Deck, not {type(deck)!r}")


# The name that labels the report and messages of a deck given as text.
TEXT_LABEL = "deck.inp"


def run_raw(deck, keep_texts=True, tables=True):
    """The engine's results as the extension returns them (dicts and numpy arrays)."""
    path, text = deck_source(deck)
    if path is None:
        return _engine.run(TEXT_LABEL, text, keep_texts, tables), None
    # The usual Python errors for a deck that is not there or is a directory; the engine's
    # own refusal would only reach the standard output.
    if not os.path.exists(path):
        raise FileNotFoundError(2, "No such deck file", path)
    if os.path.isdir(path):
        raise IsADirectoryError(21, "The deck is a directory", path)
    return _engine.run(path, None, keep_texts, tables), path


def run(deck, *, keep_texts=True, warn=True, tables=True):
    """Runs one analysis and returns its Result.

    deck        a path (str or os.PathLike) of an input file, the text of a deck (a str of
                several lines, or starting with ZARNOK6), or a zarno.Deck
    keep_texts  keep the report, plot and message texts on the Result (report, plot_text,
                messages); they are produced in memory either way
    warn        issue a ZarnoWarning when the run ended with warnings (they are always listed
                on Result.warnings)
    tables      False keeps only the key values of each load case (Result.summary) and the
                messages, not the node, p-y and moment-curvature tables: for studies of many
                runs

    Raises zarno.InputError when the engine rejects the deck and zarno.RunError when the
    analysis stops on a runtime error; both carry the engine's status, code and message.
    No file is written and the working directory is not touched.
    """
    data, path = run_raw(deck, keep_texts, tables)
    result = Result(data, source=path)
    if data["return_value"] > 0:
        e = data["error"] or {}
        raise error_for(data["return_value"], e.get("message_code", ""), e.get("text", []),
                        result)
    if warn and result.warnings:
        listed = "; ".join(str(w) for w in result.warnings)
        warnings.warn(f"the analysis ended with warnings: {listed}", ZarnoWarning, stacklevel=2)
    return result
