"""Projects through files and bytes: byte-exact round trips, and every refusal as the right exception."""

import copy
import os
import subprocess

import pytest

import kivfx
from conftest import SOURCE


@pytest.mark.parametrize("name,fmt", [("demo.kfa", "kfa"), ("demo.xml", "xml")])
def test_demo_round_trips_byte_exactly(demo, tmp_path, name, fmt):
    original = (demo / name).read_bytes()
    project = kivfx.load(demo / name)
    assert project.dumps(fmt) == original
    project.save(tmp_path / name)
    assert (tmp_path / name).read_bytes() == original
    # Both formats hold the same objects; a copy is the same project until one of them changes.
    other = kivfx.loads((demo / ("demo.xml" if fmt == "kfa" else "demo.kfa")).read_bytes(), "xml" if fmt == "kfa" else "kfa")
    assert other == project
    twin = copy.copy(project)
    assert twin == project
    twin[0].Restore = 1 - twin[0].Restore
    assert twin != project


def test_format_by_content_when_the_name_says_nothing(demo, tmp_path):
    for name in ("demo.kfa", "demo.xml"):
        unnamed = tmp_path / (name + ".bak")
        unnamed.write_bytes((demo / name).read_bytes())
        assert kivfx.load(unnamed) == kivfx.load(demo / name)


def test_refusals_carry_the_message_kfx_prints(kfx, tmp_path):
    bad = tmp_path / "bad.kfa"
    bad.write_bytes(b"\x03\x00\xff\xff")
    with pytest.raises(kivfx.FormatError) as caught:
        kivfx.load(bad)
    printed = subprocess.run([kfx, "info", str(bad)], capture_output=True, text=True).stderr
    assert printed == f"kfx: {caught.value}\n"
    assert isinstance(caught.value, ValueError)
    with pytest.raises(kivfx.FormatError, match="no object list"):
        kivfx.loads(b"<KivFXProject/>", "xml")
    with pytest.raises(ValueError, match="format"):
        kivfx.loads(b"", "json")
    with pytest.raises(kivfx.FormatError, match="unknown file type"):
        kivfx.Project().save(tmp_path / "project.json")


def test_file_system_faults_are_os_errors(tmp_path):
    with pytest.raises(FileNotFoundError):
        kivfx.load(tmp_path / "absent.kfa")
    with pytest.raises(IsADirectoryError):
        kivfx.load(tmp_path)
    with pytest.raises(FileNotFoundError):
        kivfx.Project().save(tmp_path / "no" / "such" / "folder.kfa")
    if os.geteuid() != 0:
        locked = tmp_path / "locked"
        locked.mkdir(mode=0o500)
        with pytest.raises(PermissionError):
            kivfx.Project().save(locked / "p.xml")


def test_fuzz_regressions_only_raise():
    inputs = sorted(p for p in (SOURCE / "fuzz" / "regressions").rglob("*") if p.is_file())
    assert inputs, "no fuzz regression inputs found"
    for path in inputs:
        data = path.read_bytes()
        for fmt in ("kfa", "xml"):
            try:
                kivfx.loads(data, fmt).dumps(fmt)
            except (kivfx.FormatError, MemoryError):
                pass
