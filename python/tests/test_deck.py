"""zarno.Deck: the engine's reader and writer behind typed objects; round trips of every
section and p-y type; field checks; studies over a Deck."""

import numpy as np
import pytest

import zarno
from conftest import EXAMPLES, ROOT

SEEDS = ROOT / "fuzz" / "seeds"


def _decks():
    return sorted(EXAMPLES.glob("*.inp")) + sorted(SEEDS.glob("*.inp"))


@pytest.mark.parametrize("path", _decks(), ids=lambda p: p.name)
def test_read_write_read_gives_the_same_deck_and_the_same_run(path):
    try:
        deck = zarno.Deck.from_file(path)
    except zarno.InputError as e:
        pytest.skip(f"the engine refuses this deck ({e.code})")
    again = zarno.Deck.from_text(deck.to_text())
    assert again == deck
    assert again.to_json() == deck.to_json()
    if path.parent == EXAMPLES:
        assert zarno.run(deck, warn=False).plot_text == zarno.run(path, warn=False).plot_text


def _seed_deck(name):
    return zarno.Deck.from_file(SEEDS / name)


def _host(section=None, layer=None):
    """A small lateral deck around one section or one layer."""
    pipe = zarno.Deck.from_file(EXAMPLES / "pipe_pile.inp")
    if section is not None:
        pipe.sections = [section]
    if layer is not None:
        pipe.soil_layers = [layer]
    return pipe


def test_every_section_type_built_from_fields_round_trips():
    seed = _seed_deck("all_sections.inp")
    pipe = zarno.Deck.from_file(EXAMPLES / "pipe_pile.inp").sections[0]
    void_core = next(x for x in seed.sections if x.section_type_code == -3)
    built = [zarno.Section(**x.to_json()) for x in seed.sections] + [
        # The two types the seed lacks: a cased shaft with a concrete-filled core (the void
        # core's fields), and a micropile, which has only a length and sits below a pile.
        zarno.Section(**{**void_core.to_json(), "section_type_code": 3}),
        zarno.Section(section_type_code=14, section_length=10.0),
    ]
    kinds = {x.section_type_code for x in built}
    assert kinds == {0, 1, 2, 3, -3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, -13, 14}
    for section in built:
        sections = [pipe, section] if section.section_type_code == 14 else [section]
        deck = _host()
        deck.sections = sections
        back = zarno.Deck.from_text(deck.to_text(check=False))
        assert back.sections == sections, section.section_type_code


def test_every_py_type_built_from_fields_round_trips():
    seed = _seed_deck("all_soils.inp")
    kinds = set()
    for original in seed.soil_layers:
        layer = zarno.Layer(**{**original.to_json(), "top": 0.0, "bottom": 100.0})
        kinds.add(layer.py_type)
        deck = _host(layer=layer)
        back = zarno.Deck.from_text(deck.to_text(check=False))
        assert back.soil_layers == [layer], layer.py_type
    assert kinds == set(range(1, 18))  # every p-y type, frozen soil (17) included


def test_a_deck_built_from_scratch_runs_like_the_same_deck_text(elastic):
    deck = zarno.Deck(
        title=["Elastic pile in elastic subgrade"],
        options=zarno.Options(Units="USCS", Increments=100, PrintIncrement=10),
        sections=[zarno.Section(section_type_code=11, section_length=150.0,
                                cross_sectional_shape_code=2, elastic_modulus=29.0e6,
                                width_at_the_top=24.0, width_at_the_bottom=24.0,
                                area_at_the_top=452.4, area_at_the_bottom=452.4,
                                moment_of_inertia_at_the_top=16000.0,
                                moment_of_inertia_at_the_bottom=16000.0)],
        soil_layers=[zarno.Layer(py_type=zarno.PY_TYPES["elastic subgrade"], top=0.0,
                                 bottom=150.0,
                                 top_values={"effective_unit_weight": 60.0,
                                             "elastic_subgrade_modulus": 100.0},
                                 bottom_values={"effective_unit_weight": 60.0,
                                                "elastic_subgrade_modulus": 100.0})],
        loading=zarno.Loading(loads=[zarno.Load(loading_type=1, condition_1=10000.0,
                                                condition_2=0.0, axial_thrust=0.0,
                                                deflection_vs_length_flag=1)],
                              distributed_load=[]),
    )
    built = zarno.run(deck)
    from_text = zarno.run(elastic(["1 10000.0 0.0 0.0 1"]))
    assert built.summary.equals(from_text.summary)
    assert zarno.Deck.from_text(deck.to_text()) == deck


def test_wrong_values_name_the_field_before_any_run():
    deck = zarno.Deck.from_file(EXAMPLES / "pipe_pile.inp")
    with pytest.raises(zarno.FieldError) as info:
        deck.sections[0].wall_thickness = "thick"
    assert info.value.field == "sections[0].wall_thickness"
    with pytest.raises(zarno.FieldError) as info:
        deck.soil_layers[1].bottom_values.cohesion = "stiff"
    assert info.value.field == "soil_layers[1].bottom_values.cohesion"
    with pytest.raises(zarno.FieldError, match="one of"):
        deck.options.Units = "metric"
    with pytest.raises(zarno.FieldError, match="not a field"):
        deck.options.Incremnts = 200
    with pytest.raises(zarno.FieldError, match="finite"):
        deck.loading.loads[0].condition_1 = float("nan")
    # Ranges are the reader's: the deck is refused with the field and line it names.
    deck.sections[0].wall_thickness = 13.0
    with pytest.raises(zarno.InputError) as info:
        deck.check()
    assert (info.value.code, info.value.field) == (33, "wall thickness of section 1")
    with pytest.raises(zarno.InputError):
        zarno.run(deck)
    # A deck text the reader refuses is refused by Deck.from_text in the same words.
    with pytest.raises(zarno.InputError) as info:
        zarno.Deck.from_text(deck.to_text(check=False))
    assert (info.value.code, info.value.line) == (33, 31)


def test_with_values_and_a_sweep_over_a_deck():
    deck = zarno.Deck.from_file(EXAMPLES / "pipe_pile.inp")
    longer = deck.with_values(length=80.0, H=25000.0,
                              **{"soil_layers[0].top_values.cohesion": 400.0})
    assert longer.sections[0].section_length == 80.0
    assert [load.condition_1 for load in longer.loading.loads] == [25000.0, 25000.0]
    assert longer.soil_layers[0].top_values.cohesion == 400.0
    assert deck.sections[0].section_length == 60.0  # the original is untouched
    with pytest.raises(zarno.FieldError):
        deck.with_values(**{"sections[0].colour": 1})
    study = zarno.sweep(deck, {"H": [10000.0, 20000.0], "length": [40.0, 60.0]},
                        progress=False)
    assert (study["status"] <= 0).all() and len(study) == 8
    single = zarno.run(deck.with_values(H=20000.0, length=40.0), warn=False).summary
    row = study[(study["H"] == 20000.0) & (study["length"] == 40.0) & (study["case"] == 1)]
    assert row["head_deflection"].item() == single["head_deflection"].iloc[0]


def _pipe():
    return zarno.Deck.from_file(EXAMPLES / "pipe_pile.inp")


def _append_nan(deck):
    deck.loading.distributed_load.append({"depth": 1.0, "load": float("inf")})
    deck.to_text()


def _drop_length(deck):
    del deck.sections[0].section_length
    deck.to_text()


@pytest.mark.parametrize("change, field, reason", [
    (lambda d: setattr(d.soil_layers[0].top_values, "friction_angle", 30.0),
     "soil_layers[0].top_values.friction_angle", "does not apply to p-y type 1 (soft clay)"),
    (lambda d: setattr(d.soil_layers[0], "py_type", zarno.PyType.SAND),
     "soil_layers[0].top_values.cohesion", "does not apply to p-y type 5 (sand)"),
    (lambda d: setattr(d.options, "Increments", 2**63),
     "options.Increments", "whole number from -2147483648 to 2147483647"),
    (lambda d: setattr(d.loading.loads[0], "axial_thrust", 10**400),
     "loading.loads[0].axial_thrust", "too large"),
    (lambda d: setattr(d.sections[0], "wall_thickness", np.float64("nan")),
     "sections[0].wall_thickness", "finite"),
    (_append_nan, "loading.distributed_load[0].load", "finite"),
    (_drop_length, "sections[0].section_length", "is missing"),
    (lambda d: setattr(d, "title", ["1", "2", "3", "4", "5", "6"]), "title", "at most five"),
], ids=["other p-y type", "type changed under values", "int64 overflow", "huge int", "nan",
        "nan in a list", "writer: missing", "six title lines"])
def test_builder_refusals_name_the_field_and_say_why(change, field, reason):
    with pytest.raises(zarno.FieldError) as info:
        change(_pipe())
    e = info.value
    assert (e.field, e.status) == (field, zarno.FIELD_ERROR_STATUS)
    assert reason in e.reason and field not in e.reason
    assert str(e) == f"{field}: {e.reason}"


def test_numpy_values_named_constants_and_unit_defaults():
    plain = _pipe()
    numpy = _pipe()
    numpy.options.Increments = np.arange(100, 101)[0]  # np.int64
    numpy.loading.loads[0].condition_1 = np.float32(20000.0)
    numpy.soil_layers[0] = zarno.SoilLayer(
        py_type=zarno.PyType.SOFT_CLAY, top=np.float64(0.0), bottom=20.0,
        top_values=plain.soil_layers[0].top_values.to_json(),
        bottom_values=plain.soil_layers[0].bottom_values.to_json())
    assert numpy.to_json() == plain.to_json()
    assert type(numpy.options.Increments) is int and zarno.PY_TYPES["Soft-Clay"] == 1
    with pytest.raises(KeyError, match="known: soft clay"):
        zarno.PY_TYPES["mud"]
    assert zarno.Load(loading_type=zarno.LoadingType.SHEAR_AND_SLOPE).loading_type == 2
    # Defaults follow the unit system: 100 in is 2.54 m.
    assert (zarno.Options(Units="SI").ExcessDeflection, zarno.Options(Units="SI").Tolerance) \
        == (2.54, 2.54e-7)
    assert zarno.Options.for_units("USCS").ExcessDeflection == 100.0
    with pytest.raises(zarno.FieldError, match="general units"):
        zarno.Options.for_units("GENERAL")
    general = zarno.Options.for_units("GENERAL", ExcessDeflection=3.0, Tolerance=1e-6)
    assert general.Tolerance == 1e-6
    assert zarno.Deck(title="A shaft\nsecond line").title == ["A shaft", "second line", "",
                                                              "", ""]


def test_help_gives_meaning_units_ranges_and_the_types_a_field_applies_to():
    import pydoc
    layer = pydoc.render_doc(zarno.SoilLayer, renderer=pydoc.plaintext)
    assert "top (number): depth of the top below the pile head" in layer
    assert "unit: USCS ft, SI m, GENERAL L" in layer and "range: 1 to 20" in layer
    values = pydoc.render_doc(zarno.LayerValues, renderer=pydoc.plaintext)
    assert "cohesion (number)" in values
    assert "unit: USCS psf, SI kPa, GENERAL F/L2" in values
    assert "applies to p-y types 1-4, 11, 15 only" in values
    section = zarno.Section.diameter.__doc__
    assert "in | mm" not in section and "unit: USCS in, SI mm, GENERAL L" in section
    # Ranges and meanings from the input reference's field tables.
    assert "range: < diameter/2" in zarno.Section.wall_thickness.__doc__
    assert "range: 100 to 30,000 psi (689.5 to 206,843 kPa)" in \
        zarno.Concrete.concrete_compressive_strength.__doc__
    assert zarno.Options.Increments.__doc__.startswith(
        "Increments (integer): stations along the pile minus one\n    range: 40 to 500")
    for name in ["Concrete", "Rebar", "Bar", "Strands", "Strand", "PyType", "SectionType"]:
        assert name in zarno.__all__ and hasattr(zarno, name)
