"""Builds and installs the zarno Python package: the pure Python modules, the compiled engine
module (zarno._engine, built with CMake from the project's own sources) and the deck document's
layout (deck-schema.json) that the Deck classes are formed from.

    python3 -m venv --system-site-packages .venv
    .venv/bin/pip install --no-build-isolation ./python

Nothing is downloaded: the build uses the setuptools, pybind11, numpy and pandas already
installed (scripts/setup-debian.sh installs them as Debian packages). Set ZARNO_CMAKE_BUILD_DIR
to an already configured build tree to reuse its compiled engine instead of building one.
"""

import os
import pathlib
import re
import shutil
import subprocess
import sys

from setuptools import Extension, setup
from setuptools.command.build_ext import build_ext

HERE = pathlib.Path(__file__).resolve().parent
ROOT = HERE.parent
os.chdir(HERE)  # setuptools takes the package's paths relative to this file


def _version():
    text = (ROOT / "CMakeLists.txt").read_text(encoding="utf-8")
    return re.search(r"project\(zarno VERSION ([0-9.]+)", text).group(1)


class CMakeExtension(Extension):
    def __init__(self, name):
        super().__init__(name, sources=[])


class CMakeBuild(build_ext):
    """Builds the extension with the project's CMake build (target zarno_python) and places
    it, with the deck schema and the input reference (the ranges of the classes' help), in the
    package being built."""

    def build_extension(self, ext):
        given = os.environ.get("ZARNO_CMAKE_BUILD_DIR")
        build = pathlib.Path(given).resolve() if given else \
            pathlib.Path(self.build_temp).resolve() / "cmake"
        if not (build / "CMakeCache.txt").exists():
            build.mkdir(parents=True, exist_ok=True)
            subprocess.run(["cmake", "-S", str(ROOT), "-B", str(build),
                            "-DCMAKE_BUILD_TYPE=Release", "-DZARNO_BUILD_TESTS=OFF",
                            "-DZARNO_BUILD_BENCH=OFF", "-DZARNO_BUILD_PYTHON=ON",
                            f"-DPython3_EXECUTABLE={sys.executable}"], check=True)
        jobs = str(os.cpu_count() or 1)
        subprocess.run(["cmake", "--build", str(build), "--target", "zarno_python",
                        "-j", jobs], check=True)
        built = sorted((build / "python" / "zarno").glob("_engine*.so"))
        if not built:
            sys.exit(f"zarno: the CMake build in {build} made no _engine module (are Python's "
                     "development files and pybind11 installed? see scripts/setup-debian.sh)")
        target = pathlib.Path(self.get_ext_fullpath(ext.name))
        target.parent.mkdir(parents=True, exist_ok=True)
        shutil.copy2(built[-1], target)
        for name in ("deck-schema.json", "input-reference.md"):
            shutil.copy2(ROOT / "docs" / name, target.parent / name)


setup(
    name="zarno",
    version=_version(),
    description="Lateral analysis of single piles and drilled shafts by the p-y method",
    long_description=__doc__,
    packages=["zarno"],
    ext_modules=[CMakeExtension("zarno._engine")],
    cmdclass={"build_ext": CMakeBuild},
    python_requires=">=3.9",
    install_requires=["numpy", "pandas", "matplotlib", "tqdm"],
    extras_require={"dask": ["distributed"]},
    zip_safe=False,
)
