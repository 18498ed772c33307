#!/usr/bin/env bash
# Pictures of every screen of the desktop application, from the real window under Xvfb, for the README.
set -euo pipefail
cd "$(dirname "$0")/.."
saida=${1:-docs/capturas}
cmake --build build -j2 --target zavoro_capturas
xvfb-run -a -s "-screen 0 1280x900x24" build/bin/zavoro_capturas samples "$saida"
