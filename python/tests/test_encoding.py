"""Decks saved in an 8-bit code page: the engine replaces the bytes that are not UTF-8 and
notes the lines, so reading, writing and running such a deck never fails on its text."""

import zarno
from conftest import EXAMPLES


def _latin1_deck(tmp_path):
    text = (EXAMPLES / "pipe_pile.inp").read_bytes()
    text = text.replace(b"Example 1: 24-inch", b"Caf\xe9 1: 24-inch")
    path = tmp_path / "latin1.inp"
    path.write_bytes(text)
    return path


def test_a_deck_in_latin1_reads_writes_and_runs(tmp_path):
    path = _latin1_deck(tmp_path)
    deck = zarno.Deck.from_file(path)
    assert deck.title[0].startswith("Caf\ufffd 1: 24-inch")
    assert zarno.Deck.from_text(deck.to_text()) == deck
    result = zarno.run(path, warn=False)
    assert "Caf\ufffd 1: 24-inch" in result.report
    assert any(w.code == -720 and "Line 3 of the input file" in " ".join(w.details)
               for w in result.warnings)
