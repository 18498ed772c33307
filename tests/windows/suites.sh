#!/usr/bin/env bash
# The Windows build's own suites (unit, window logic, corpus replays, installer, window) under Wine,
# from the Linux tree's label "windows". Exit 77 (skipped) with the reason when they cannot run here.
set -uo pipefail
pasta=$1
if ! command -v wine > /dev/null; then
    echo "ignorado: Wine não instalado (scripts/setup.sh --windows)"
    exit 77
fi
if [[ ! -f "$pasta/CTestTestfile.cmake" ]]; then
    echo "ignorado: $pasta não construído (make windows)"
    exit 77
fi
exec ctest --test-dir "$pasta" --output-on-failure --no-tests=error -j2
