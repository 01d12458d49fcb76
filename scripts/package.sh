#!/usr/bin/env bash
# Builds the release zip from the shipped 32-bit build: Quillet.exe, Setup.exe and
# the Japanese user guide (お読みください.txt) in a folder Quillet-<version>, as
# build/win32/Quillet-<version>.zip. The version is the CMake project version.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32 --target release_zip
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/win32/CMakeCache.txt)
echo "release: build/win32/Quillet-$version.zip"
