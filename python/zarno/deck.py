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
import enum
import json
import math
import numbers
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


def _reference_rows():
    """Range and meaning of each field from the tables of the input reference
    (input-reference.md, installed beside the schema), by field name: the reader's name in
    lower case with underscores, or the option keyword. Empty when the file is not there."""
    from . import __path__ as package_dirs
    path = next((os.path.join(d, "input-reference.md") for d in package_dirs
                 if os.path.exists(os.path.join(d, "input-reference.md"))), None)
    if path is None:
        return {}
    with open(path, encoding="utf-8") as f:
        text = f.read()
    rows = {}
    header = None
    for line in text.splitlines():
        if not line.startswith("|"):
            header = None
            continue
        cells = [c.strip() for c in re.split(r"(?<!\\)\|", line.strip().strip("|"))]
        if header is None:
            header = cells
            continue
        if set(line) <= set("|- "):
            continue
        row = dict(zip(header, cells))
        if "range" not in row:
            continue
        for key in ("keyword", "reader's name"):
            for name in re.findall(r"`([^`]+)`", row.get(key, "")):
                name = re.sub(r"^the |\b(of|in|for) (section|layer|load|point|line) n\b.*$",
                              "", name).strip()
                rows.setdefault(re.sub(r"[\s\-]+", "_", name).lower()
                                if key != "keyword" else name, row)
    return rows


_REFERENCE = _reference_rows()


# The status of a deck refused while it is built in Python, before the engine sees it: not
# one of the engine's own statuses (100 + n input error, 200 + n runtime error, 99).
FIELD_ERROR_STATUS = 300


class FieldError(InputError):
    """A deck value refused while the deck is built in Python: of the wrong kind, out of
    range, not finite, or a field the deck (or this layer's p-y type) does not have.

    field   the dotted place of the value, e.g. "soil_layers[1].top_values.cohesion"
    reason  what is wrong with it and how to put it right
    status  FIELD_ERROR_STATUS (300), its own: the engine has not read the deck
    """

    kind = "Deck field error"

    def __init__(self, path, reason):
        self.reason = reason
        super().__init__(FIELD_ERROR_STATUS, "", [f"{path}: {reason}"], field=path)

    def _summary(self):
        return f"{self.field}: {self.reason}"


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
        is_number = isinstance(value, (numbers.Real, numbers.Integral)) and \
            not isinstance(value, bool) and type(value).__name__ != "bool_"
        if "integer" in self.types and isinstance(value, numbers.Integral) and is_number:
            return self._in_range(_whole(int(value), path), path)
        if "number" in self.types and is_number:
            try:
                number = float(value)
            except OverflowError:
                raise FieldError(path, f"is a whole number of {len(str(abs(int(value))))} "
                                       "digits, too large for a number of the deck; give a "
                                       "finite value") from None
            if not math.isfinite(number):
                raise FieldError(path, f"is {value!r}; give a finite number (not NaN or "
                                       "infinity)")
            return self._in_range(number, path)
        if "integer" in self.types and is_number and float(value).is_integer():
            return self._in_range(_whole(int(value), path), path)
        if "string" in self.types and isinstance(value, str):
            return value
        kinds = " or ".join(sorted(self.types - {"null"})) or "a value"
        raise FieldError(path, f"must be {kinds}, not {value!r}")

    def help_text(self, name, owner=""):
        """One entry of the class help: meaning, unit per unit system, range."""
        return _field_help(name, self, owner)

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


INT_MIN, INT_MAX = -2**31, 2**31 - 1


def _whole(value, path):
    """A whole number the engine can hold (32 bits)."""
    if not INT_MIN <= value <= INT_MAX:
        raise FieldError(path, f"is {value}; give a whole number from {INT_MIN} to {INT_MAX}")
    return value


# "ft | m | L" at the end of a field's description: its unit in USCS, SI and general units.
_UNITS = re.compile(r"(?:^|[;(,]\s*)([^;|()]+?) \| ([^;|()]+?) \| ([^;|()]+?)\)?$")
_APPLIES = re.compile(r"^(types? [0-9][0-9 ,\-to]*)(?:[:;]\s*|$)")


_CODE_KIND = {"LayerValues": "p-y types", "Section": "section types"}


def _field_help(name, field, owner=""):
    text = (field.description or "").strip()
    lines = []
    units = None
    m = _UNITS.search(text)
    if m:
        units = [u.strip() for u in m.groups()]
        text = text[:m.start()].rstrip(" ;,(")
    applies = None
    m = _APPLIES.match(text)
    if m:
        applies = m.group(1).strip()
        text = text[m.end():].strip()
    kinds = sorted(field.types - {"null"})
    reference = _REFERENCE.get(name, {})
    if reference.get("meaning") and (not text or re.fullmatch(r"-?\d+ to \d+|in|m|L", text)):
        text = reference["meaning"].replace("`", "")
    head = f"{name} ({', '.join(kinds) or 'value'}): {text or name.replace('_', ' ')}"
    lines.append(head)
    if units:
        lines.append(f"    unit: USCS {units[0]}, SI {units[1]}, GENERAL {units[2]}")
    elif re.fullmatch(r"degrees|percent|radians", text):
        lines.append(f"    unit: {text} in every unit system")
    if applies:
        kind = _CODE_KIND.get(owner, "types")
        lines.append(f"    applies to {kind} {applies.split(' ', 1)[1]} only")
    span = re.search(r"\b(-?\d+) to (\d+)\b", field.description or "")
    if reference.get("range") and reference["range"] != "YES/NO":
        lines.append(f"    range: {reference['range']}")
    elif span and field.minimum is None and field.maximum is None:
        lines.append(f"    range: {span.group(1)} to {span.group(2)}")
    if field.enum is not None:
        lines.append(f"    one of: {', '.join(map(repr, field.enum))}")
    limits = []
    if field.minimum is not None:
        limits.append(f"at least {field.minimum:g}")
    if field.maximum is not None:
        limits.append(f"at most {field.maximum:g}")
    if limits:
        lines.append(f"    range: {', '.join(limits)}")
    if not field.required:
        lines.append("    optional")
    return "\n".join(lines)


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
    "soil_layers[]": "SoilLayer", "soil_layers[].top_values": "LayerValues",
    "soil_layers[].bottom_values": "LayerValues", "loading": "Loading",
    "loading.loads[]": "Load", "loading.distributed_load[]": "DistributedLoadPoint",
    "tip_shear[]": "TipShearPoint", "pile_batter_and_slope": "BatterAndSlope",
    "group_effect_factors[]": "GroupEffectFactor", "soil_movements[]": "SoilMovement",
    "lrfd_loads[]": "LrfdLoad", "lrfd_loads[].distributed_load[]": "DistributedLoadPoint",
    "lrfd_combinations[]": "LrfdCombination",
}


_CLASS_ABOUT = {
    "Options": "the OPTIONS block: unit system, analysis switches and iteration controls; "
               "Options.for_units(\"SI\") gives the defaults of a unit system",
    "Section": "one pile section from the head down: its type (zarno.SectionType), length "
               "and the dimensions and materials of that type",
    "SoilLayer": "one soil layer: its p-y type (zarno.PyType), the depths of its top and "
                 "bottom, and the parameters at its top and its bottom (LayerValues)",
    "LayerValues": "the parameters at the top or the bottom of a soil layer; only those of "
                   "the layer's p-y type may be set",
    "Loading": "the LOADING block: pile-head loads and distributed load points",
    "Load": "one pile-head load case: its type (zarno.LoadingType), conditions 1 and 2 (their "
            "meaning and units depend on the type), axial thrust and the deflection-versus-"
            "length flag",
}


def _node_class(schema, defs, classes, path):
    name = _CLASS_NAMES.get(path) or "".join(
        w.capitalize() for w in re.split(r"[^A-Za-z0-9]+", path) if w)
    key = (name, tuple(sorted(schema.get("properties", {}))))
    if key in classes:
        return classes[key]
    cls = type(name, (DeckNode,), {"_path": path.replace("[]", "")})
    classes[key] = cls
    required = set(schema.get("required", []))
    cls._fields = {p: _Field(s, defs, classes, f"{path}.{p}".lstrip("."), p in required)
                   for p, s in schema.get("properties", {}).items()}
    about = _CLASS_ABOUT.get(name) or schema.get("description") or f"the {name} of a deck"
    where = f" (deck field {path.replace('[]', '[i]')})" if path else ""
    cls.__doc__ = (f"{about[0].upper()}{about[1:]}{where}.\n\nFields, set as keyword arguments "
                   "or attributes (units: the deck's own, by Options.Units):\n\n" +
                   "\n".join(f.help_text(p, name) for p, f in cls._fields.items()))
    for p, f in cls._fields.items():
        # A documented attribute per field (help() lists them); reading gives the value, or
        # None when the field was never set.
        setattr(cls, p, property(lambda self, p=p: self._values.get(p),
                                 doc=f.help_text(p, name)))
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
SoilLayer = CLASSES["SoilLayer"]
Layer = SoilLayer  # the earlier name
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

class PyType(enum.IntEnum):
    """p-y curve types of a soil layer (SoilLayer.py_type); each is its code."""
    SOFT_CLAY = 1
    STIFF_CLAY_WITH_FREE_WATER = 2
    STIFF_CLAY_WITHOUT_FREE_WATER = 3
    STIFF_CLAY_WITHOUT_FREE_WATER_WITH_K = 4
    SAND = 5
    API_SAND = 6
    LIQUEFIED_SAND = 7
    WEAK_ROCK = 8
    VUGGY_LIMESTONE = 9
    PIEDMONT_RESIDUAL_SOIL = 10
    CEMENTED_SILT = 11
    LOESS = 12
    ELASTIC_SUBGRADE = 13
    USER_PY_CURVES = 14
    SOFT_CLAY_WITH_J = 15
    MASSIVE_ROCK = 16
    FROZEN_SOIL = 17
    PISA_COWDEN_CLAY = 18
    PISA_DUNKIRK_SAND = 19
    PISA_BOTHKENNAR_CLAY = 20


class SectionType(enum.IntEnum):
    """Section types (Section.section_type_code); each is its code."""
    RECTANGULAR_CONCRETE = 0
    DRILLED_SHAFT = 1
    CASED_SHAFT = 2
    CASED_SHAFT_WITH_CORE = 3
    CASED_SHAFT_WITH_VOID_CORE = -3
    STEEL_PIPE = 4
    CIRCULAR_PRESTRESSED = 5
    CIRCULAR_PRESTRESSED_HOLLOW = 6
    SQUARE_PRESTRESSED = 7
    SQUARE_PRESTRESSED_HOLLOW = 8
    OCTAGONAL_PRESTRESSED = 9
    OCTAGONAL_PRESTRESSED_HOLLOW = 10
    ELASTIC = 11
    ELASTIC_PLASTIC = 12
    USER_MOMENT_EI = 13
    USER_MOMENT_CURVATURE = -13
    MICROPILE = 14


class LoadingType(enum.IntEnum):
    """Pile-head conditions of a load (Load.loading_type); each is its code."""
    SHEAR_AND_MOMENT = 1
    SHEAR_AND_SLOPE = 2
    SHEAR_AND_ROTATIONAL_STIFFNESS = 3
    DEFLECTION_AND_MOMENT = 4
    DEFLECTION_AND_SLOPE = 5


class _Codes(dict):
    """Codes by name; a name is looked up regardless of case, blanks and hyphens, and an
    unknown name raises a KeyError that lists the known ones."""

    @staticmethod
    def _key(name):
        return re.sub(r"[\s_\-]+", " ", str(name)).strip().lower()

    def __init__(self, items):
        super().__init__(items)
        self._by_key = {self._key(k): v for k, v in items.items()}

    def __getitem__(self, name):
        try:
            return self._by_key[self._key(name)]
        except KeyError:
            raise KeyError(f"{name!r} is not a p-y type; known: {', '.join(self)} (or use "
                           "zarno.PyType)") from None

    def __contains__(self, name):
        return self._key(name) in self._by_key

    def get(self, name, default=None):
        return self._by_key.get(self._key(name), default)


# p-y type codes by name, for SoilLayer(py_type=PY_TYPES["soft clay"], ...); zarno.PyType
# gives the same codes as named constants.
PY_TYPES = _Codes({
    "soft clay": 1, "stiff clay with free water": 2, "stiff clay without free water": 3,
    "stiff clay without free water with k": 4, "sand": 5, "API sand": 6,
    "liquefied sand": 7, "weak rock": 8, "vuggy limestone": 9, "Piedmont residual soil": 10,
    "cemented silt": 11, "loess": 12, "elastic subgrade": 13, "user-input p-y curves": 14,
    "soft clay with J": 15, "massive rock": 16, "frozen soil": 17,
    # Monopile soil-reaction models (PISA): p-y, distributed moment and base springs.
    "PISA Cowden clay": 18, "PISA Dunkirk sand": 19, "PISA Bothkennar clay": 20,
})

# The p-y types each layer parameter applies to, from the deck document ("types 1-4, 11, 15";
# no list: every type).


def _codes_of(description):
    m = _APPLIES.match(description or "")
    if not m:
        return None
    codes = set()
    for part in re.split(r",\s*", m.group(1).split(" ", 1)[1]):
        a, _, b = part.partition("-")
        if not a.strip().lstrip("-").isdigit():
            continue
        codes.update(range(int(a), int(b or a) + 1))
    return codes


_LAYER_PARAMETER_TYPES = {name: _codes_of(f.description)
                          for name, f in LayerValues._fields.items()}


def _check_layer_values(values, py_type, path):
    """FieldError for a parameter set in values that the p-y type py_type does not use."""
    if values is None or not isinstance(py_type, int):
        return
    for name in values._values:
        codes = _LAYER_PARAMETER_TYPES.get(name)
        if codes is not None and py_type not in codes:
            used = [n for n, c in _LAYER_PARAMETER_TYPES.items() if c is None or py_type in c]
            try:
                type_name = PyType(py_type).name.lower().replace("_", " ")
            except ValueError:
                type_name = "unknown"
            raise FieldError(f"{path}.{name}",
                             f"does not apply to p-y type {py_type} ({type_name}); its "
                             f"parameters are {', '.join(used)}")


def _layer_init(self, **values):
    DeckNode.__init__(self, **values)
    code = self._values.get("py_type")
    if "py_name" not in self._values and isinstance(code, int) and 1 <= code <= len(_PY_NAMES):
        self._values["py_name"] = _PY_NAMES[code - 1]


def _layer_setattr(self, name, value):
    DeckNode.__setattr__(self, name, value)
    path = self._path or "soil_layers[i]"
    py_type = self._values.get("py_type")
    if name == "py_type":
        py_type = int(py_type) if py_type is not None else None
        if isinstance(py_type, int) and 1 <= py_type <= len(_PY_NAMES):
            self._values["py_name"] = _PY_NAMES[py_type - 1]
    if name in ("py_type", "top_values", "bottom_values"):
        for end in ("top_values", "bottom_values"):
            values = self._values.get(end)
            if values is not None:
                object.__setattr__(values, "_layer", self)
            _check_layer_values(values, py_type, f"{path}.{end}")


def _layer_values_setattr(self, name, value):
    DeckNode.__setattr__(self, name, value)
    layer = self.__dict__.get("_layer")
    if layer is not None:
        _check_layer_values(self, layer._values.get("py_type"), self._path or "top_values")


def _layer_from_json(cls, data):
    layer = DeckNode.from_json.__func__(cls, data)
    for end in ("top_values", "bottom_values"):
        if layer._values.get(end) is not None:
            object.__setattr__(layer._values[end], "_layer", layer)
    return layer


SoilLayer.__init__ = _layer_init
SoilLayer.from_json = classmethod(_layer_from_json)
SoilLayer.__setattr__ = _layer_setattr
LayerValues.__setattr__ = _layer_values_setattr

# Values of the options that depend on the unit system: the head deflection that stops a
# diverging case (100 in, 2.54 m) and the convergence tolerance on deflection (1E-05 in,
# 2.54E-07 m). General units have none: give them in the deck's length unit.
UNIT_DEFAULTS = {
    "USCS": {"ExcessDeflection": 100.0, "Tolerance": 1.0e-5},
    "SI": {"ExcessDeflection": 2.54, "Tolerance": 2.54e-7},
    "GENERAL": {},
}


def _options_init(self, **values):
    units = values.get("Units", "USCS")
    DeckNode.__init__(self, **values)
    for name, value in UNIT_DEFAULTS.get(units, {}).items():
        if name not in values:
            self._values[name] = value
    if units == "GENERAL":
        for name in ("ExcessDeflection", "Tolerance"):
            if name not in values:
                raise FieldError(f"options.{name}", "has no default in general units; give it "
                                                    "in the deck's length unit")


def _for_units(cls, units, **values):
    """Options of a plain static analysis in a unit system: "USCS" (ExcessDeflection 100 in,
    Tolerance 1E-05 in), "SI" (2.54 m, 2.54E-07 m) or "GENERAL" (give ExcessDeflection and
    Tolerance in the deck's length unit). Further keyword arguments set other options."""
    return cls(Units=units, **values)


Options.__init__ = _options_init
Options.for_units = classmethod(_for_units)


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


def _title_lines(title):
    """The five title lines of a deck from a str (one line per line of text) or a list."""
    lines = title.splitlines() if isinstance(title, str) else title
    if isinstance(lines, (list, tuple)):
        lines = list(lines)
        if len(lines) > 5:
            raise FieldError("title", f"has {len(lines)} lines; a deck has at most five")
        return lines + [""] * (5 - len(lines))  # a deck has five title lines
    return lines  # refused, naming the field, by the field's own check


class Deck(_DeckBase):
    """A whole input deck: title, options, sections, soil_layers, loading and the optional
    blocks, with the fields of the deck document (see the module's help)."""

    def __init__(self, **values):
        title = _title_lines(values.pop("title", []))
        values.setdefault("options", Options())
        values.setdefault("sections", [])
        values.setdefault("pile_batter_and_slope",
                          {"ground_slope_angle": 0.0, "pile_batter_angle": 0.0})
        super().__init__(**values)
        self.title = title

    def __setattr__(self, name, value):
        if name == "title":
            value = _title_lines(value)
        super().__setattr__(name, value)

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
        document = self.to_json()
        _check_finite(document, "")
        status, text, error = _engine.write_deck(json.dumps(document, allow_nan=False))
        if status:
            raise _writer_error(error)
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


def _dotted(pointer):
    """"sections[0].diameter" for the JSON pointer "/sections/0/diameter"."""
    path = ""
    for part in pointer.strip("/").split("/"):
        path += f"[{part}]" if part.isdigit() else f".{part}"
    return path.lstrip(".") or "deck"


def _writer_error(error):
    """The FieldError for the engine writer's "/sections/0/diameter: missing"."""
    pointer, _, reason = (error or "").partition(": ")
    if not pointer.startswith("/"):
        return FieldError("deck", error or "the engine's writer refused the deck")
    if reason == "missing":
        reason = "is missing; give a value"
    elif reason.startswith("expected"):
        reason = f"is of the wrong kind ({reason})"
    return FieldError(_dotted(pointer), reason)


def _check_finite(value, path):
    """FieldError naming the place of a NaN or infinity anywhere in the document (a value put
    straight into a list is not checked when it is put there)."""
    if isinstance(value, float) and not math.isfinite(value):
        raise FieldError(path or "deck", f"is {value!r}; give a finite number (not NaN or "
                                         "infinity)")
    if isinstance(value, dict):
        for k, v in value.items():
            _check_finite(v, f"{path}.{k}".lstrip("."))
    elif isinstance(value, list):
        for i, v in enumerate(value):
            _check_finite(v, f"{path}[{i}]")


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
