"""Shared fixtures: the kfx program (KIVFX_KFX, set by CTest) and the demo project it writes."""

import os
import pathlib
import subprocess

import pytest

SOURCE = pathlib.Path(os.environ.get("KIVFX_SOURCE_DIR", pathlib.Path(__file__).resolve().parents[2]))


@pytest.fixture(scope="session")
def kfx():
    path = os.environ.get("KIVFX_KFX", str(SOURCE / "build" / "tools" / "kfx" / "kfx"))
    if not os.path.exists(path):
        pytest.fail(f"kfx not found at {path} (set KIVFX_KFX)")
    return path


@pytest.fixture(scope="session")
def demo(kfx, tmp_path_factory):
    """The folder kfx demo wrote: demo.kfa, demo.xml and the samples."""
    folder = tmp_path_factory.mktemp("demo")
    subprocess.run([kfx, "demo", str(folder)], check=True, capture_output=True)
    return folder
