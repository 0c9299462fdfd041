"""The build backend of `pip install .`: CMake builds the kivfx module and the library it
links, and the wheel carries both, so the package needs nothing installed beside it.

Works offline with nothing but the standard library (no setuptools, no wheel package).
Environment:
  KIVFX_PIP_BUILD_DIR  a CMake build folder to use (and keep); one already configured with
                       KIVFX_BUILD_PYTHON=ON is reused as it is, so a build that already
                       made the module costs nothing more. Default: a temporary folder.
  KIVFX_PIP_JOBS       parallel build jobs (default: the machine's processors).
"""

import base64
import hashlib
import io
import os
import re
import shutil
import subprocess
import sys
import sysconfig
import tarfile
import tempfile
import zipfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
NAME = "kivfx"


def _version():
    with open(os.path.join(ROOT, "CMakeLists.txt"), encoding="utf-8") as f:
        return re.search(r"project\(KivFXKeyFrm VERSION ([0-9.]+)", f.read()).group(1)


def _metadata():
    return (
        "Metadata-Version: 2.1\n"
        f"Name: {NAME}\nVersion: {_version()}\n"
        "Summary: KivFXKeyFrm's projects, stored objects and keyframe tracks from Python\n"
        "Requires-Python: >=3.9\nRequires-Dist: numpy\n"
    )


def _tag():
    impl = f"cp{sys.version_info[0]}{sys.version_info[1]}"
    platform = sysconfig.get_platform().replace("-", "_").replace(".", "_")
    return f"{impl}-{impl}-{platform}"


def _cache_value(build, key):
    with open(os.path.join(build, "CMakeCache.txt"), encoding="utf-8") as f:
        for line in f:
            if line.startswith(key + ":"):
                return line.split("=", 1)[1].strip()
    return None


def _run(*args):
    print("kivfx build:", " ".join(args), flush=True)
    subprocess.run(args, check=True)


def _configure(build):
    if os.path.exists(os.path.join(build, "CMakeCache.txt")):
        if _cache_value(build, "KIVFX_BUILD_PYTHON") not in ("ON", "TRUE", "1"):
            raise RuntimeError(f"{build} was configured without -DKIVFX_BUILD_PYTHON=ON")
        return
    args = ["cmake", "-S", ROOT, "-B", build, "-DCMAKE_BUILD_TYPE=Release", f"-DPython3_EXECUTABLE={sys.executable}"]
    args += ["-DKIVFX_BUILD_PYTHON=ON", "-DKIVFX_BUILD_TESTS=OFF", "-DKIVFX_BUILD_BENCH=OFF", "-DKIVFX_BUILD_FUZZ=OFF",
             "-DKIVFX_SANITIZE=OFF", "-DKIVFX_BUILD_SDL=OFF"]
    if shutil.which("ninja"):
        args += ["-G", "Ninja"]
    if shutil.which("ccache"):
        args += ["-DCMAKE_CXX_COMPILER_LAUNCHER=ccache", "-DCMAKE_C_COMPILER_LAUNCHER=ccache"]
    _run(*args)


def _stage(build, staging):
    """The package folder as the wheel holds it: the Python files, the module, the libraries."""
    _configure(build)
    jobs = os.environ.get("KIVFX_PIP_JOBS", str(os.cpu_count() or 1))
    _run("cmake", "--build", build, "--target", "_kivfx", "-j", jobs)
    _run("cmake", "--install", build, "--component", "python", "--prefix", staging)
    package = os.path.join(staging, _cache_value(build, "KIVFX_PYTHON_INSTALL_DIR"), NAME)
    # The library's shared objects from the build tree, without the build folder's run path,
    # as an install leaves them: the module, whose run path is its own folder, loads all three.
    with open(os.path.join(build, "python", "wheel-libraries.txt"), encoding="utf-8") as f:
        libraries = [shutil.copy(library, package) for library in f.read().split()]
    script = os.path.join(staging, "rpath.cmake")
    with open(script, "w", encoding="utf-8") as f:
        for library in libraries:
            f.write(f'file(RPATH_REMOVE FILE "{library}")\n')
    _run("cmake", "-P", script)
    suffix = sysconfig.get_config_var("EXT_SUFFIX")
    if not os.path.exists(os.path.join(package, "_kivfx" + suffix)):
        raise RuntimeError(f"{build} holds no module for this interpreter ({suffix}); "
                           "use another KIVFX_PIP_BUILD_DIR or configure it with -DPython3_EXECUTABLE")
    return package


def _record_line(arcname, data):
    digest = base64.urlsafe_b64encode(hashlib.sha256(data).digest()).rstrip(b"=").decode()
    return f"{arcname},sha256={digest},{len(data)}"


def _write_dist_info(directory):
    info = os.path.join(directory, f"{NAME}-{_version()}.dist-info")
    os.makedirs(info, exist_ok=True)
    files = {
        "METADATA": _metadata(),
        "WHEEL": f"Wheel-Version: 1.0\nGenerator: kivfx_build\nRoot-Is-Purelib: false\nTag: {_tag()}\n",
        "top_level.txt": NAME + "\n",
    }
    for name, text in files.items():
        with open(os.path.join(info, name), "w", encoding="utf-8") as f:
            f.write(text)
    return os.path.basename(info)


# ---- PEP 517 hooks ----

def get_requires_for_build_wheel(config_settings=None):
    return []


def get_requires_for_build_sdist(config_settings=None):
    return []


def prepare_metadata_for_build_wheel(metadata_directory, config_settings=None):
    return _write_dist_info(metadata_directory)


def build_wheel(wheel_directory, config_settings=None, metadata_directory=None):
    wheel = f"{NAME}-{_version()}-{_tag()}.whl"
    with tempfile.TemporaryDirectory(prefix="kivfx-wheel-") as scratch:
        build = os.environ.get("KIVFX_PIP_BUILD_DIR") or os.path.join(scratch, "build")
        package = _stage(os.path.abspath(build), os.path.join(scratch, "staging"))
        info = _write_dist_info(os.path.join(scratch, "meta"))
        record = []
        with zipfile.ZipFile(os.path.join(wheel_directory, wheel), "w", zipfile.ZIP_DEFLATED) as z:
            for base, prefix in ((package, NAME), (os.path.join(scratch, "meta", info), info)):
                for name in sorted(os.listdir(base)):
                    with open(os.path.join(base, name), "rb") as f:
                        data = f.read()
                    arcname = f"{prefix}/{name}"
                    info_entry = zipfile.ZipInfo(arcname)
                    info_entry.external_attr = (0o755 if data[:4] == b"\x7fELF" else 0o644) << 16
                    info_entry.compress_type = zipfile.ZIP_DEFLATED
                    z.writestr(info_entry, data)
                    record.append(_record_line(arcname, data))
            record.append(f"{info}/RECORD,,")
            z.writestr(f"{info}/RECORD", "\n".join(record) + "\n")
    return wheel


def build_sdist(sdist_directory, config_settings=None):
    """The tracked files of the repository (git ls-files), as NAME-VERSION/..."""
    base = f"{NAME}-{_version()}"
    files = subprocess.run(["git", "-C", ROOT, "ls-files", "-z"], check=True, capture_output=True).stdout.decode().split("\0")
    path = os.path.join(sdist_directory, base + ".tar.gz")
    with tarfile.open(path, "w:gz") as tar:
        for name in filter(None, files):
            tar.add(os.path.join(ROOT, name), arcname=f"{base}/{name}", recursive=False)
        meta = _metadata().encode()
        entry = tarfile.TarInfo(f"{base}/PKG-INFO")
        entry.size = len(meta)
        tar.addfile(entry, io.BytesIO(meta))
    return os.path.basename(path)
