#!/usr/bin/env bash
# Whole-command runs on files of 1,000,000 track points: validation, reports (one and two at a time)
# both kinds of map and the GIS export, each with its wall time and peak memory, next to the time plain I/O takes.
set -euo pipefail
cd "$(dirname "$0")/.."
BIN=build/bin
DIR=$(mktemp -d)
trap 'rm -rf "$DIR"' EXIT

"$BIN/bench_relatorio" --gerar-milhao "$DIR"/m1.nvg "$DIR"/m2.nvg "$DIR"/m3.nvg "$DIR"/m4.nvg
"$BIN/bench_validacao" --gerar-maximo "$DIR"/maximo.nvg
medir() { /usr/bin/time -o "$DIR/tempo" -f "%e s, pico de memória %M KB" "$@" > /dev/null; cat "$DIR/tempo"; }

echo "arquivo de 1.000.000 pontos: $(stat -c %s "$DIR"/m1.nvg) bytes"
echo -n "cat (leitura):                    "; medir cat "$DIR"/m1.nvg
echo -n "validar (arquivo máximo, 100 MiB): "; medir "$BIN/zavoro" validar "$DIR"/maximo.nvg
echo -n "relatorio 1 arquivo:              "; medir "$BIN/zavoro" relatorio "$DIR"/m1.nvg
echo -n "relatorio 4 arquivos -j1:         "; medir "$BIN/zavoro" relatorio -j1 "$DIR"/m[1-4].nvg
echo -n "relatorio 4 arquivos -j2:         "; medir "$BIN/zavoro" relatorio -j2 "$DIR"/m[1-4].nvg
echo -n "mapa --cobertura:                 "; medir "$BIN/zavoro" mapa --cobertura "$DIR"/m1.nvg
echo -n "mapa --velocidade:                "; medir "$BIN/zavoro" mapa --velocidade "$DIR"/m1.nvg
echo "saída: $(stat -c %s "$DIR"/m1_Cobertura.kml) bytes (cobertura), $(stat -c %s "$DIR"/m1_Velocidade.kml) bytes (velocidade)"
echo -n "cat de um arquivo do tamanho da saída: "; medir sh -c "cat '$DIR/m1_Cobertura.kml' > '$DIR/copia.kml'"
# The GIS export beside the map of the same file (KMZ: GDAL's KML library holds the whole document).
echo -n "exportar --formato gpkg:          "; medir "$BIN/zavoro" exportar --formato gpkg "$DIR"/m1.nvg
echo -n "exportar --formato kmz:           "; medir "$BIN/zavoro" exportar --formato kmz "$DIR"/m1.nvg
echo "janela (lógica da janela, avisos tratados nesta thread):"; "$BIN/bench_janela" "$DIR"/m1.nvg "$DIR"/m2.nvg
