#!/usr/bin/env bash
# The packaging check: `pip install --no-build-isolation .` into a scratch virtual
# environment (seeing Debian's NumPy), then the package imported from there, away from the
# source tree. Usage: pip_install_check.sh [BUILD_DIR]: a build folder configured with
# -DKIVFX_BUILD_PYTHON=ON is reused, so the check costs no compile; without one, pip's
# build backend configures and builds its own.
set -euo pipefail
cd "$(dirname "$0")/../.."
python="${PYTHON:-/usr/bin/python3}"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$python" -m venv --system-site-packages "$work/venv"
if [ -n "${1:-}" ]; then export KIVFX_PIP_BUILD_DIR="$PWD/$1"; fi
"$work/venv/bin/python" -m pip install --quiet --no-build-isolation --no-index --no-deps .
cd "$work"
"$work/venv/bin/python" - "$work/venv" <<'PY'
import sys
import kivfx
assert kivfx.__file__.startswith(sys.argv[1]), f"imported {kivfx.__file__}, not the installed package"
track = kivfx.ScalarTrack()
track.add(frame=0, value=1.0)
track.add(frame=10, value=3.0)
values = track.sample(frames=range(0, 11))
assert values.shape == (11,) and values[10] == 3.0, values
project = kivfx.Project()
project.append(track)
assert kivfx.loads(project.dumps("kfa"), "kfa") == project
print("pip install: kivfx", kivfx.__file__, "works")
PY
