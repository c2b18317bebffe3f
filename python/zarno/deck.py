"""The deck as typed Python objects.

A Deck holds the contents of an input deck in the deck's own units: title, options, sections,
soil layers, loading and the optional blocks. Its classes and fields follow the deck document
the engine reads and writes (deck-schema.json, shipped with the compiled module), so decks are
read by the engine's own reader (Deck.from_file, Deck.from_text) and written by its own writer
(Deck.to_text): there is one parser and one writer of the format.

    deck = zarno.Deck.from_file("examples/pipe_pile.inp")
    deck.options.Increments = 200
    deck.sections[0].wall_thickness = 0.75
    deck.loading.loads[0].condition_1 = 30000.0
    result = zarno.run(deck)

Assignments are checked at once (type, allowed values, known field names, naming the field);
value ranges are checked by the engine's reader when the deck is written or run, which
raises zarno.InputError naming the field before any analysis.
"""

import copy
import json
import os
import re

from .errors import InputError

_MISSING = object()


def _schema():
    from . import __path__ as package_dirs
    for d in package_dirs:
        path = os.path.join(d, "deck-schema.json")
        if os.path.exists(path):
            with open(path, encoding="utf-8") as f:
                return json.load(f)
    raise ImportError("deck-schema.json is missing beside the compiled zarno module")


class FieldError(InputError):
    """A deck value of the wrong kind, or a field the deck does not have."""

    def __init__(self, path, message):
        super().__init__(133, "", [f"Problem:  The {path} {message}."], field=path)


class DeckNode:
    """A block or an entry of a deck; its fields are attributes. Fields never set are absent
    from the deck (read as None); fields set to None are written as null where allowed."""

    _fields = {}
    _path = ""

    def __init__(self, **values):
        object.__setattr__(self, "_values", {})
        for name, value in values.items():
            setattr(self, name, value)
        for name, entry in self._fields.items():
            if name not in self._values and entry.default is not _MISSING:
                self._values[name] = copy.deepcopy(entry.default)

    def __getattr__(self, name):
        if name.startswith("_"):
            raise AttributeError(name)
        if name not in self._fields:
            raise AttributeError(f"{type(self).__name__} has no field {name!r}; fields: "
                                 f"{', '.join(self._fields)}")
        return self._values.get(name)

    def __setattr__(self, name, value):
        entry = self._fields.get(name)
        path = f"{self._path}.{name}".lstrip(".")
        if entry is None:
            raise FieldError(path, f"is not a field of {type(self).__name__} "
                                   f"(fields: {', '.join(self._fields)})")
        self._values[name] = _placed(entry.convert(value, path), path)

    def __delattr__(self, name):
        self._values.pop(name, None)

    def __eq__(self, other):
        return type(other) is type(self) and self.to_json() == other.to_json()

    def __repr__(self):
        inner = ", ".join(f"{k}={v!r}" for k, v in self._values.items())
        return f"{type(self).__name__}({inner})"

    def to_json(self):
        return {k: _to_json(v) for k, v in self._values.items()}

    @classmethod
    def from_json(cls, data):
        node = cls.__new__(cls)
        object.__setattr__(node, "_values", {})
        for name, value in data.items():
            entry = cls._fields.get(name)
            if entry is None:
                raise FieldError(f"{cls._path}.{name}".lstrip("."), "is not a known field")
            node._values[name] = _placed(entry.from_json(value), f"{cls._path}.{name}".lstrip("."))
        return node


def _placed(value, path):
    """The value with the place of its objects in the deck ("sections[1].rebar"), so that a
    message about one of their fields names that very field."""
    if isinstance(value, DeckNode):
        object.__setattr__(value, "_path", path)
        for name, child in value._values.items():
            _placed(child, f"{path}.{name}")
    elif isinstance(value, list):
        for i, child in enumerate(value):
            _placed(child, f"{path}[{i}]")
    return value


def _to_json(value):
    if isinstance(value, DeckNode):
        return value.to_json()
    if isinstance(value, list):
        return [_to_json(v) for v in value]
    return value


class _Field:
    """One field: its JSON types, allowed values, and the class of its objects or items."""

    def __init__(self, schema, defs, classes, path, required):
        self.required = required
        self.default = _MISSING
        self.description = schema.get("description", "")
        self.node = None  # class of an object value
        self.item = None  # _Field of the items of an array value
        self.enum = None
        self.types = set()
        self.minimum = schema.get("minimum")
        self.maximum = schema.get("maximum")
        for option in schema.get("oneOf", [schema]):
            option = _resolve(option, defs)
            self._add(option, defs, classes, path)

    def _add(self, s, defs, classes, path):
        if "const" in s:
            self.enum = (self.enum or []) + [s["const"]]
            self.types.add(type(s["const"]).__name__)
        if "enum" in s:
            self.enum = (self.enum or []) + list(s["enum"])
            self.types.update("null" if v is None else type(v).__name__ for v in s["enum"])
        t = s.get("type")
        for name in ([t] if isinstance(t, str) else (t or [])):
            self.types.add(name)
        if "properties" in s:
            self.types.add("object")
            self.node = _node_class(s, defs, classes, path)
        if "items" in s:
            self.types.add("array")
            self.item = _Field(_resolve(s["items"], defs), defs, classes, path + "[]", True)

    def convert(self, value, path):
        if value is None:
            if "null" in self.types or not self.required:
                return None
            raise FieldError(path, "must be given")
        if self.enum is not None and value in self.enum and not isinstance(value, (dict, list)):
            return value
        if self.node is not None and isinstance(value, dict):
            return self.node(**value)
        if self.node is not None and isinstance(value, self.node):
            return value
        if self.item is not None and isinstance(value, (list, tuple)):
            return [self.item.convert(v, f"{path}[{i}]") for i, v in enumerate(value)]
        if self.enum is not None and not self.types - {"str", "int", "bool", "null", "NoneType"}:
            raise FieldError(path, f"must be one of {', '.join(map(repr, self.enum))}, "
                                   f"not {value!r}")
        if "boolean" in self.types and isinstance(value, bool):
            return value
        if "integer" in self.types and isinstance(value, int) and not isinstance(value, bool):
            return self._in_range(value, path)
        if "number" in self.types and isinstance(value, (int, float)) and \
                not isinstance(value, bool):
            if value != value or value in (float("inf"), float("-inf")):
                raise FieldError(path, f"must be a finite number, not {value!r}")
            return self._in_range(float(value), path)
        if "integer" in self.types and isinstance(value, float) and value.is_integer():
            return self._in_range(int(value), path)
        if "string" in self.types and isinstance(value, str):
            return value
        kinds = " or ".join(sorted(self.types - {"null"})) or "a value"
        raise FieldError(path, f"must be {kinds}, not {value!r}")

    def _in_range(self, value, path):
        if self.minimum is not None and value < self.minimum:
            raise FieldError(path, f"is {value:g}; give a value of at least {self.minimum:g}")
        if self.maximum is not None and value > self.maximum:
            raise FieldError(path, f"is {value:g}; give a value of at most {self.maximum:g}")
        return value

    def from_json(self, value):
        if isinstance(value, dict) and self.node is not None:
            return self.node.from_json(value)
        if isinstance(value, list) and self.item is not None:
            return [self.item.from_json(v) for v in value]
        return value


def _resolve(schema, defs):
    ref = schema.get("$ref")
    if ref:
        return defs[ref.rsplit("/", 1)[-1]]
    return schema


# Class names of the deck's objects, by their place in the document.
_CLASS_NAMES = {
    "": "DeckBase", "options": "Options", "sections[]": "Section",
    "sections[].concrete": "Concrete",
    "sections[].rebar": "Rebar", "sections[].rebar.bars[]": "Bar",
    "sections[].strands": "Strands", "sections[].strands.strands[]": "Strand",
    "soil_layers[]": "Layer", "soil_layers[].top_values": "LayerValues",
    "soil_layers[].bottom_values": "LayerValues", "loading": "Loading",
    "loading.loads[]": "Load", "loading.distributed_load[]": "DistributedLoadPoint",
    "tip_shear[]": "TipShearPoint", "pile_batter_and_slope": "BatterAndSlope",
    "group_effect_factors[]": "GroupEffectFactor", "soil_movements[]": "SoilMovement",
    "lrfd_loads[]": "LrfdLoad", "lrfd_loads[].distributed_load[]": "DistributedLoadPoint",
    "lrfd_combinations[]": "LrfdCombination",
}


def _node_class(schema, defs, classes, path):
    name = _CLASS_NAMES.get(path) or "".join(
        w.capitalize() for w in re.split(r"[^A-Za-z0-9]+", path) if w)
    key = (name, tuple(sorted(schema.get("properties", {}))))
    if key in classes:
        return classes[key]
    cls = type(name, (DeckNode,), {"_path": path.replace("[]", ""), "__doc__":
                                    schema.get("description", f"The {name} of a deck.")})
    classes[key] = cls
    required = set(schema.get("required", []))
    cls._fields = {p: _Field(s, defs, classes, f"{path}.{p}".lstrip("."), p in required)
                   for p, s in schema.get("properties", {}).items()}
    return cls


def _build_classes():
    schema = _schema()
    classes = {}
    root = _node_class(schema, schema.get("$defs", {}), classes, "")
    by_name = {cls.__name__: cls for cls in classes.values()}
    return root, by_name


_DeckBase, CLASSES = _build_classes()
# Every class is a name of this module, so decks pickle (Dask sends them to its workers).
globals().update({name: cls for name, cls in CLASSES.items() if name not in globals()})

Options = CLASSES["Options"]
Section = CLASSES["Section"]
Layer = CLASSES["Layer"]
LayerValues = CLASSES["LayerValues"]
Loading = CLASSES["Loading"]
Load = CLASSES["Load"]

# A deck built here holds what the reader would give for the same text: options an engineer
# rarely changes get the values of a plain static analysis (the deflection limit and the
# tolerance are in inches: set them for SI or general units), and absent blocks are empty.
_DEFAULTS = {
    "Options": {
        "Units": "USCS", "UseLRFD": False, "ComputeKmatrix": False, "UseTipShear": False,
        "UseSoilMovement": False, "UsePYModifiers": False, "ComputeEIOnly": False,
        "Loading": "STATIC", "NumberOfCycles": 0.0, "MaxIterations": 100,
        "ExcessDeflection": 100.0, "Tolerance": 1.0e-5, "Increments": 100,
        "PrintSummaryOnly": False, "PrintIncrement": 1, "PrintPYCurves": False,
        "ComputeInteraction": False, "InteractionCode": None,
    },
    "DeckBase": {
        "axial_thrusts": None, "tip_shear": [], "group_effect_factors": [],
        "soil_movements": [], "printed_py_depths": [], "lrfd_loads": [],
        "lrfd_combinations": [],
    },
    "Loading": {"distributed_load": []},
}
for _class, _values in _DEFAULTS.items():
    for _name, _value in _values.items():
        if _name in CLASSES[_class]._fields:
            CLASSES[_class]._fields[_name].default = _value
for _name, _entry in CLASSES["DeckBase"]._fields.items():
    if _entry.enum and len(_entry.enum) == 1:
        _entry.default = _entry.enum[0]  # the document's format name and version

# The engine's short names of the p-y types, in code order, as the deck document lists them.
_PY_NAMES = [n.strip() for n in re.search(
    r"\(([^()]*)\)", Layer._fields["py_name"].description).group(1).split(",")] \
    if "py_name" in Layer._fields else []

# p-y type codes by name, for Layer(py_type=PY_TYPES["soft clay"], ...).
PY_TYPES = {
    "soft clay": 1, "stiff clay with free water": 2, "stiff clay without free water": 3,
    "stiff clay without free water with k": 4, "sand": 5, "API sand": 6,
    "liquefied sand": 7, "weak rock": 8, "vuggy limestone": 9, "Piedmont residual soil": 10,
    "cemented silt": 11, "loess": 12, "elastic subgrade": 13, "user-input p-y curves": 14,
    "soft clay with J": 15, "massive rock": 16,
    # Monopile soil-reaction models (PISA): p-y, distributed moment and base springs.
    "PISA Cowden clay": 18, "PISA Dunkirk sand": 19, "PISA Bothkennar clay": 20,
}


def _layer_init(self, **values):
    DeckNode.__init__(self, **values)
    code = self._values.get("py_type")
    if "py_name" not in self._values and isinstance(code, int) and 1 <= code <= len(_PY_NAMES):
        self._values["py_name"] = _PY_NAMES[code - 1]


Layer.__init__ = _layer_init


def _raise_for(status, results):
    from .errors import error_for
    e = results.get("error") or {}
    raise error_for(status, e.get("message_code", ""), e.get("text", []))


def _read(label, text):
    from . import _engine
    status, document, results = _engine.read_deck(label, text)
    if status > 0:
        _raise_for(status, results)
    return json.loads(document), results


class Deck(_DeckBase):
    """A whole input deck: title, options, sections, soil_layers, loading and the optional
    blocks, with the fields of the deck document (see the module's help)."""

    def __init__(self, **values):
        title = list(values.pop("title", []))
        values.setdefault("options", Options())
        values.setdefault("sections", [])
        values.setdefault("pile_batter_and_slope",
                          {"ground_slope_angle": 0.0, "pile_batter_angle": 0.0})
        super().__init__(**values)
        self.title = title + [""] * (5 - len(title))  # a deck has five title lines

    @classmethod
    def from_text(cls, text, label="deck.inp"):
        """The deck in text, read and checked by the engine's reader (InputError if it
        refuses the deck)."""
        document, _ = _read(label, text)
        return cls.from_json(document)

    @classmethod
    def from_file(cls, path):
        path = os.fspath(path)
        if not os.path.isfile(path):
            raise FileNotFoundError(2, "No such deck file", path)
        document, _ = _read(path, None)
        return cls.from_json(document)

    def to_text(self, check=True):
        """The deck text, written by the engine's writer. With check, the text is read back
        by the engine's reader, which checks every value's range and the consistency of the
        deck: InputError naming the field and line before any analysis."""
        from . import _engine
        status, text, error = _engine.write_deck(json.dumps(self.to_json()))
        if status:
            raise FieldError(error or "deck", "is missing or of the wrong kind")
        if check:
            _read("deck.inp", text)
        return text

    def check(self):
        """Raises InputError (naming the field) unless the engine's reader accepts the deck."""
        self.to_text(check=True)

    def write(self, path, check=True):
        with open(path, "w", encoding="utf-8", newline="\n") as f:
            f.write(self.to_text(check=check))

    def copy(self):
        # Through the document: faster than a deep copy of the objects, and the same deck.
        return type(self).from_json(json.loads(json.dumps(self.to_json())))

    def with_values(self, **values):
        """A copy with values set, for studies: a dotted path such as
        "sections[0].wall_thickness" or "soil_layers[1].top_values.cohesion", or one of
        H (condition 1 of every load with a shear condition, types 1 to 3), M (condition 2
        of every load of type 1 or 4), axial_thrust (every load), length (the last
        section's length so that the pile is that long)."""
        deck = self.copy()
        for name, value in values.items():
            deck._set(name, value)
        return deck

    def _set(self, name, value):
        loads = self.loading.loads if self.loading is not None else []
        if name == "H":
            for load in loads:
                if load.loading_type in (1, 2, 3):
                    load.condition_1 = value
        elif name == "M":
            for load in loads:
                if load.loading_type in (1, 4):
                    load.condition_2 = value
        elif name == "axial_thrust":
            for load in loads:
                load.axial_thrust = value
        elif name == "length":
            above = sum(s.section_length for s in self.sections[:-1])
            if value <= above:
                raise FieldError("length", f"is {value:g}; the sections above the last are "
                                           f"already {above:g} long")
            self.sections[-1].section_length = value - above
        else:
            _set_path(self, name, value)


def _set_path(node, path, value):
    parts = re.findall(r"[A-Za-z_]\w*|\[\d+\]", path)
    if not parts or "".join(p if p.startswith("[") else "." + p for p in parts).lstrip(".") \
            != path.replace(" ", ""):
        raise FieldError(path, "is not a field path such as sections[0].wall_thickness")
    target = node
    for i, part in enumerate(parts[:-1]):
        target = target[int(part[1:-1])] if part.startswith("[") else getattr(target, part)
        if target is None:
            raise FieldError(path, f"has no {''.join(parts[:i + 1])} in this deck")
    last = parts[-1]
    if last.startswith("["):
        target[int(last[1:-1])] = value
    else:
        setattr(target, last, value)
