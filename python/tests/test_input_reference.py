"""Every deck snippet of docs/input-reference.md and docs/first-deck.md is read and run by the
engine, so the documents cannot drift from the reader."""

import re

import pytest

import zarno
from conftest import ROOT

DOCS = [ROOT / "docs" / "input-reference.md", ROOT / "docs" / "first-deck.md"]
BLOCK_KEYS = ["SECTIONS", "SOIL LAYERS", "LOADING", "END"]


def _snippets(path):
    """(info, text) of every ```deck fence of the document."""
    return re.findall(r"^```deck([^\n]*)\n(.*?)^```$", path.read_text(encoding="utf-8"),
                      flags=re.S | re.M)


def _block(text, keyword):
    start = text.index(keyword + "\n")
    ends = [text.index(k + "\n", start + 1) for k in BLOCK_KEYS
            if k != keyword and k + "\n" in text[start + 1:]]
    return text[start:min(ends)]


def _cases():
    for path in DOCS:
        snippets = _snippets(path)
        host = next((text for info, text in snippets if info.strip() == "host"), None)
        for i, (info, text) in enumerate(snippets):
            if info.strip() == "host":
                continue
            yield pytest.param(path.name, host, info, text, id=f"{path.stem}-{i}")


def test_the_documents_have_their_snippets():
    text = DOCS[0].read_text(encoding="utf-8")
    # Each snippet is headed "Section type N, ..." or "p-y type N, ..." and opens with the
    # block of that type.
    headed = re.findall(r"^(Section|p-y) type (-?\d+),[^\n]*(?:\n[^\n`]+)*\n\n```deck[^\n]*\n"
                        r"(SECTIONS|SOIL LAYERS)\n", text, flags=re.M)
    sections = {int(code) for kind, code, block in headed if kind == "Section"}
    layers = {int(code) for kind, code, block in headed if kind == "p-y"}
    assert sections == set(zarno.SectionType) and layers == set(zarno.PyType)
    assert all((kind == "Section") == (block == "SECTIONS") for kind, _, block in headed)
    assert len(_snippets(DOCS[1])) >= 2  # the tutorial's decks, SI and USCS


@pytest.mark.parametrize("doc, host, info, text", list(_cases()))
def test_every_snippet_runs(doc, host, info, text):
    if text.startswith("ZARNOK6"):
        deck = text  # a whole deck
    else:
        # Each block the snippet holds replaces the host's (a monopile soil snippet brings
        # its own wide pile).
        deck = host
        for keyword in BLOCK_KEYS[:-1]:
            if re.search(rf"^{keyword}$", text, flags=re.M):
                deck = deck.replace(_block(host, keyword), _block(text + "END\n", keyword))
    expected = re.search(r"expect=(\d+)", info)
    if expected:
        with pytest.raises(zarno.ZarnoError) as info_:
            zarno.run(deck, warn=False)
        assert info_.value.status == int(expected.group(1))
    else:
        result = zarno.run(deck, warn=False)
        assert result.return_value <= 0 and len(result.summary) >= 1
        assert result.summary["converged"].all()


def test_the_tutorials_python_deck_is_its_si_deck():
    text = DOCS[1].read_text(encoding="utf-8")
    code = re.findall(r"^```python\n(.*?)^```$", text, flags=re.S | re.M)[0]
    namespace = {}
    exec(compile(code, "first-deck.md", "exec"), namespace)  # noqa: S102 - our own document
    si_deck = _snippets(DOCS[1])[0][1]
    assert namespace["result"].summary.equals(zarno.run(si_deck).summary)
