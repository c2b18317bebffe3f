"""Exceptions and warnings of the zarno package."""

import re

_LINE = re.compile(r"\bat line (\d+)\b")
# "Problem:  The <field> in the <block> block at line <n> ..." and "... in the <block> block"
_FIELD = re.compile(r"Problem:\s+The (.+?) in the (.+?) block\b")
_EXPECTED = re.compile(r'Expected (the .+?) \(')


class ZarnoWarning(UserWarning):
    """A run ended normally but with warnings (they are listed on the Result)."""


class ZarnoError(Exception):
    """A run the engine stopped.

    status        the engine's return value (100 + n input error n, 200 + n runtime error n,
                  or another fatal status such as 99)
    code          the error number n (the status itself for the other fatal statuses)
    message_code  "INP00033", "RUN00009", or "" when the engine gave none
    lines         the engine's message block, line by line
    line          the input line the message names, or None
    field         the input field the message names, or None
    result        the Result of the run (its warnings and texts), or None
    """

    def __init__(self, status, message_code="", lines=(), result=None, field=None, line=None):
        self.status = status
        if 100 < status < 200:
            self.code = status - 100
        elif 200 < status < 300:
            self.code = status - 200
        else:
            self.code = status
        self.message_code = message_code
        self.lines = list(lines)
        self.result = result
        text = "\n".join(self.lines)
        m = _LINE.search(text)
        self.line = line if line is not None else (int(m.group(1)) if m else None)
        if field is None:
            m = _FIELD.search(text) or _EXPECTED.search(text)
            field = m.group(1) if m else None
            if field and field.startswith("the "):
                field = field[4:]
        self.field = field
        super().__init__(self._summary())

    def _summary(self):
        head = f"{self.kind} No. {self.code} (status {self.status})"
        body = "\n".join(line.strip() for line in self.lines if line.strip())
        return f"{head}\n{body}" if body else head

    kind = "error"


class InputError(ZarnoError, ValueError):
    """The engine rejected the deck (input error), or a deck value is out of its range."""

    kind = "Input error"


class RunError(ZarnoError, RuntimeError):
    """The analysis stopped on a runtime error or another fatal status."""

    kind = "Runtime error"


def error_for(status, message_code="", lines=(), result=None):
    """The exception for a fatal engine status."""
    cls = InputError if 100 < status < 200 else RunError
    return cls(status, message_code, lines, result)
