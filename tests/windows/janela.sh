#!/usr/bin/env bash
# The Windows window under Wine on a virtual display, in a Wine prefix of its own (a display that
# goes away must not take the other tests' Wine server with it). Wine draws the window frames itself,
# as there is no window manager. Usage: janela.sh PROGRAMA.exe WINEPREFIX AMOSTRAS SAIDA
set -euo pipefail
programa=$1 amostras=$3 saida=$4
export WINEPREFIX=$2 WINEDEBUG=-all
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f > /dev/null
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f > /dev/null
wineserver -w
exec xvfb-run -a -s "-screen 0 1280x900x24" wine "$programa" "$amostras" "$saida"
