#!/usr/bin/env bash
# Installs what is missing, builds (Release) into build/ and makes the Debian package
# build/opglproject_<version>_<arch>.deb with CPack.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh
opgl_install_packages
opgl_build -DOPGL_TESTS=OFF -DOPGL_BENCH=OFF
cd build
cpack -G DEB
echo "Package: $(ls "$PWD"/opglproject_*.deb)"
