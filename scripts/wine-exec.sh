#!/usr/bin/env bash
# Runs a Windows program under the project's Wine prefix; ctest's emulator.
# The first argument, 32 or 64, is the program's build.
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
loader=$(wine_loader "$1") || exit 1
shift
exec "$loader" "$@"
