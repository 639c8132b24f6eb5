"""Builds the Python module huelinx with CMake for the interpreter running pip.

Only the module's target is built (no tests, benchmarks or windows), in
Release, into build-pip/ beside this file, so a second install compiles
nothing. HUELINX_CMAKE_BUILD names an existing build folder to reuse instead,
when its module was built for this interpreter. The data files the module
reads go into huelinx-data/ beside it, where the module looks for them.
"""

import os
import re
import shutil
import subprocess
import sys
import sysconfig

from setuptools import Extension, setup
from setuptools.command.build_ext import build_ext

HERE = os.path.dirname(os.path.abspath(__file__))

# What the module reads: the Munsell table, the ISCC-NBS names, the real
# chips, the chart's spectra for photographs, and the illuminants and
# observers for reflectance spectra.
DATA_FILES = ["Vadoro.dat", "iscc-nbs-blocks.csv", "iscc-nbs-names.csv",
              "munsell-renotation-real.csv"] + [
    os.path.join("photo", name) for name in
    ("chart-reflectance.csv", "illuminants.csv", "cmf-1931-2deg.csv", "cmf-1964-10deg.csv",
     "README.md", "LICENSE-bsd-3.txt", "LICENSE-apache-2.0.txt")]


def version():
    with open(os.path.join(HERE, "CMakeLists.txt"), encoding="utf-8") as f:
        found = re.search(r"project\(Huelinx VERSION ([0-9.]+)", f.read())
    if not found:
        raise RuntimeError("CMakeLists.txt names no project version")
    return found.group(1)


def module_file(build_dir):
    """The module in a build folder, if it was built for this interpreter."""
    path = os.path.join(build_dir, "python", "huelinx" + sysconfig.get_config_var("EXT_SUFFIX"))
    return path if os.path.isfile(path) else None


class CMakeBuild(build_ext):
    def build_extension(self, ext):
        reused = os.environ.get("HUELINX_CMAKE_BUILD")
        build_dir = os.path.abspath(reused) if reused else os.path.join(HERE, "build-pip", sys.implementation.cache_tag)
        if not (reused and module_file(build_dir)):
            build_dir = os.path.join(HERE, "build-pip", sys.implementation.cache_tag)
            self.configure(build_dir)
        self.spawn(["cmake", "--build", build_dir, "--target", "huelinx_python",
                    "--parallel", str(os.cpu_count() or 1)])
        built = module_file(build_dir)
        if not built:
            raise RuntimeError(f"CMake built no module for {sys.executable} in {build_dir}")
        target = os.path.abspath(self.get_ext_fullpath(ext.name))
        os.makedirs(os.path.dirname(target), exist_ok=True)
        shutil.copyfile(built, target)
        data = os.path.join(os.path.dirname(target), "huelinx-data")
        for name in DATA_FILES:
            os.makedirs(os.path.dirname(os.path.join(data, name)), exist_ok=True)
            shutil.copyfile(os.path.join(HERE, "data", name), os.path.join(data, name))

    def configure(self, build_dir):
        command = ["cmake", "-S", HERE, "-B", build_dir, "-DCMAKE_BUILD_TYPE=Release",
                   "-DHUELINX_TESTS=OFF", "-DHUELINX_BENCH=OFF", "-DHUELINX_PYTHON=ON",
                   "-DHUELINX_WERROR=OFF", f"-DPython3_EXECUTABLE={sys.executable}"]
        if shutil.which("ninja"):
            command += ["-G", "Ninja"]
        if shutil.which("ccache") and "CMAKE_CXX_COMPILER_LAUNCHER" not in os.environ:
            command.append("-DCMAKE_CXX_COMPILER_LAUNCHER=ccache")
        self.spawn(command)


# setuptools' own folders go under build-pip/ too: build/ is CMake's.
setup(version=version(), ext_modules=[Extension("huelinx", sources=[])],
      cmdclass={"build_ext": CMakeBuild},
      options={"build": {"build_base": os.path.join("build-pip", "setuptools")},
               "egg_info": {"egg_base": "build-pip"}})
