"""The picture in docs/PYTHON.md: its script runs on the demo and writes a PNG."""

import subprocess
import sys

from conftest import SOURCE


def test_plot_script_writes_the_png(demo, tmp_path):
    out = tmp_path / "tracks.png"
    subprocess.run([sys.executable, str(SOURCE / "examples" / "plot_demo_tracks.py"), str(demo / "demo.kfa"), str(out)], check=True)
    assert out.read_bytes()[:8] == b"\x89PNG\r\n\x1a\n"
