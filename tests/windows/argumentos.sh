#!/usr/bin/env bash
# The Windows application started with files on its command line, as Explorer starts it for a .nvg or
# a .shp (full Windows paths, accents and spaces): the window must show them selected. A probe program
# reads the window's boxes from outside and closes it.
# Usage: argumentos.sh quibar-zavoro.exe sondaJanela.exe WINEPREFIX AMOSTRAS
set -euo pipefail
programa=$1 sonda=$2 amostras=$4
export WINEPREFIX=$3 WINEDEBUG=-all
pasta=$(mktemp -d)
trap 'rm -rf "$pasta"' EXIT
mkdir "$pasta/Safra São João 2026"
cp "$amostras/pulverizacao_soja.nvg" "$pasta/Safra São João 2026/Pulverização soja.nvg"
cp "$amostras/colheita.nvg" "$pasta/Safra São João 2026/Colheita talhão 3.nvg"
for extensao in shp shx dbf; do
    cp "$amostras/recomendacao_pulverizacao.$extensao" "$pasta/Safra São João 2026/Recomendação.$extensao"
done
# The prefix made now, and its server gone before the display comes: a server started without one would
# serve the programs below with no display either.
wineboot -i > /dev/null 2>&1 || true
wineserver -w
# The Windows path of a file here: Wine's drive Z: is the root.
windows() { local caminho="$pasta/Safra São João 2026/$1"; echo "Z:${caminho//\//\\}"; }

# Runs the program with its arguments and the probe beside it on one virtual display.
abrir() {
    xvfb-run -a -s "-screen 0 1280x900x24" sh -c '
        programa=$1; sonda=$2; shift 2
        wine "$programa" "$@" &
        wine "$sonda" 60
        wait' sh "$programa" "$sonda" "$@" | tr -d '\r'
}

falhas=0
esperar() { # what, the probe's output, the expected line
    if grep -qxF "$3" <<< "$2"; then echo "ok $1"; else echo "FALHOU $1: esperado \"$3\" em:"; echo "$2"; falhas=1; fi
}

saida=$(abrir "$(windows 'Pulverização soja.nvg')" "$(windows 'Colheita talhão 3.nvg')")
esperar "dois .nvg selecionados" "$saida" 'arquivos: "Pulverização soja.nvg" "Colheita talhão 3.nvg"'
esperar "status da seleção" "$saida" \
    'status: 2 arquivos selecionados. Gere seus relatórios e mapas pressionando os botões acima.'

saida=$(abrir "$(windows 'Recomendação.shp')")
esperar "mapa de recomendação aberto" "$saida" "mapa1: $(windows 'Recomendação.shp')"
exit $falhas
