"""Every class's stored fields as Python attributes, driven by the field tables."""

import copy

import pytest

import kivfx

# A value of the field's own Python type that differs from any default.
def _other(value, salt):
    if isinstance(value, bool):
        raise AssertionError("no field is a bool")
    if isinstance(value, int):
        return (value + 3 + salt) % 200
    if isinstance(value, float):
        return value + 0.375 + salt
    if isinstance(value, str):
        return f"t\u00e9xt {salt} \U0001F600"
    if isinstance(value, bytes):
        return bytes((b + 1 + salt) % 256 for b in value)
    if isinstance(value, list):
        return [_other(0.5, salt), _other(1.5, salt)] if not value or isinstance(value[0], float) else [0xFF102030 + salt, 7]
    if isinstance(value, tuple):
        return type(value)(*(_other(v, salt) for v in value))
    raise AssertionError(f"unexpected field type {type(value)}")


@pytest.mark.parametrize("name", kivfx.classes())
def test_every_field_sets_reads_back_and_persists(name):
    obj = kivfx.create(name)
    assert obj.class_name == name
    fields = obj.fields()
    for i, (field, value) in enumerate(fields.items()):
        if isinstance(value, list) and not value:
            # An empty list tells nothing of its element type: try numbers, then colours.
            try:
                setattr(obj, field, [0.25, 0.5])
            except TypeError:
                setattr(obj, field, [0x80FF0000, 1])
        else:
            setattr(obj, field, _other(value, i % 2))
        assert getattr(obj, field) != value or isinstance(value, list), field
    changed = obj.fields()
    project = kivfx.Project()
    project.append(obj)
    for fmt in ("kfa", "xml"):
        again = kivfx.loads(project.dumps(fmt), fmt)[0]
        assert again.class_name == name
        assert again.fields() == changed, fmt
    assert copy.copy(obj) == obj


def test_values_the_field_cannot_hold_are_refused_and_nothing_changes():
    key = kivfx.create("CKivFXValueKeyFrm")
    track = kivfx.create("CKivFXInsKeyFrmList")
    colour = kivfx.create("CKivFXColor32KeyFrm")
    cases = [
        (key, "Frame", 2**31, OverflowError),
        (key, "Frame", 1.5, TypeError),
        (key, "InsKind", 40000, OverflowError),  # stored as 16 bits
        (key, "Value", 1e39, OverflowError),  # a float of 32 bits
        (key, "Value", "1", TypeError),
        (key, "Location", None, TypeError),
        (key, "PtFore", (1.0,), TypeError),
        (key, "PtFore", (1.0, "x"), TypeError),
        (colour, "Color", -1, OverflowError),
        (colour, "Color", 2**32, OverflowError),
        (track, "MinValue", [1.0], TypeError),
    ]
    for obj, field, value, error in cases:
        before = getattr(obj, field)
        with pytest.raises(error):
            setattr(obj, field, value)
        assert getattr(obj, field) == before, (field, value)
    with pytest.raises(AttributeError):
        key.NoSuchField
    with pytest.raises(AttributeError):
        key.Valeu = 1.0  # a misspelt field never becomes a new attribute
    with pytest.raises(ValueError):
        kivfx.create("CWnd")


def test_a_float_field_keeps_its_nan_and_a_colour_its_full_width():
    key = kivfx.create("CKivFXValueKeyFrm")
    key.Value = float("nan")
    assert key.Value != key.Value
    colour = kivfx.create("CKivFXColor32KeyFrm")
    colour.Color = 0xFFFFFFFF
    assert colour.Color == 0xFFFFFFFF
