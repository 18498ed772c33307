#!/usr/bin/env bash
# Whole-command runs on files of 1,000,000 track points: validation, reports (one and two at a time)
# and both kinds of map and the GeoPackage export, each with its wall time, CPU time and peak memory,
# next to the time plain I/O takes; the full coverage map also as a multiple of its I/O floor (reading
# its input, writing as many bytes as its outputs), in CPU time, the least of five runs each; timed
# with -q, so that only the map itself counts.
set -euo pipefail
cd "$(dirname "$0")/.."
BIN=build/bin
DIR=$(mktemp -d)
trap 'rm -rf "$DIR"' EXIT

"$BIN/bench_relatorio" --gerar-milhao "$DIR"/m1.nvg "$DIR"/m2.nvg "$DIR"/m3.nvg "$DIR"/m4.nvg
"$BIN/bench_validacao" --gerar-maximo "$DIR"/maximo.nvg
medir() { /usr/bin/time -o "$DIR/tempo" -f "%e s (CPU %U + %S s), pico de memória %M KB" "$@" > /dev/null; cat "$DIR/tempo"; }
# CPU seconds (user + system), the least of five runs; the first argument, run before each and not
# timed, removes what the last run wrote (replacing a file costs what writing a new one does not).
cpu_minimo() {
    local limpar=$1 minimo=""
    shift
    for _ in 1 2 3 4 5; do
        sh -c "$limpar"
        /usr/bin/time -o "$DIR/tempo" -f "%U %S" "$@" > /dev/null
        minimo=$(awk -v m="$minimo" '{t = $1 + $2; print (m == "" || t < m) ? t : m}' "$DIR/tempo")
    done
    echo "$minimo"
}

echo "arquivo de 1.000.000 pontos: $(stat -c %s "$DIR"/m1.nvg) bytes"
echo -n "cat (leitura):                    "; medir cat "$DIR"/m1.nvg
echo -n "validar (arquivo máximo, 100 MiB): "; medir "$BIN/zavoro" validar "$DIR"/maximo.nvg
echo -n "relatorio 1 arquivo:              "; medir "$BIN/zavoro" relatorio "$DIR"/m1.nvg
echo -n "relatorio 4 arquivos -j1:         "; medir "$BIN/zavoro" relatorio -j1 "$DIR"/m[1-4].nvg
echo -n "relatorio 4 arquivos -j2:         "; medir "$BIN/zavoro" relatorio -j2 "$DIR"/m[1-4].nvg
# The same with stderr on a terminal (script gives a pty), so the progress line is drawn, and as JSON.
echo -n "relatorio 4 arquivos -j2, progresso: "; medir script -qec "'$BIN/zavoro' relatorio -j2 '$DIR'/m[1-4].nvg > /dev/null" /dev/null
echo -n "relatorio 4 arquivos -j2 --json:  "; medir "$BIN/zavoro" relatorio -j2 --json "$DIR"/m[1-4].nvg
echo -n "mapa --cobertura:                 "; medir "$BIN/zavoro" mapa --cobertura "$DIR"/m1.nvg
echo -n "mapa --velocidade:                "; medir "$BIN/zavoro" mapa --velocidade "$DIR"/m1.nvg
echo "saída: $(stat -c %s "$DIR"/m1_Cobertura.kml) bytes (cobertura), $(stat -c %s "$DIR"/m1_Velocidade.kml) bytes (velocidade)"
echo -n "cat de um arquivo do tamanho da saída: "; medir sh -c "cat '$DIR/m1_Cobertura.kml' > '$DIR/copia.kml'"
conjunto="'$DIR/m1_Cobertura.kml' '$DIR/m1_Cobertura.shp' '$DIR/m1_Cobertura.shx' '$DIR/m1_Cobertura.dbf' '$DIR/m1_Cobertura.prj'"
echo "mapa de cobertura completo (KML e conjunto shapefile): $(sh -c "cat $conjunto" | wc -c) bytes"
mapa=$(cpu_minimo "rm -f $conjunto" "$BIN/zavoro" mapa --cobertura -q "$DIR"/m1.nvg)
piso=$(cpu_minimo "rm -f '$DIR/copia'" sh -c "cat '$DIR/m1.nvg' > /dev/null; cat $conjunto > '$DIR/copia'")
echo "mapa --cobertura: CPU $mapa s; piso de E/S: CPU $piso s; razão $(awk -v a="$mapa" -v b="$piso" 'BEGIN{printf "%.2f", a / b}')"
# The GIS export beside the map of the same file.
echo -n "exportar --formato gpkg:          "; medir "$BIN/zavoro" exportar --formato gpkg "$DIR"/m1.nvg
echo -n "exportar --formato kmz:           "; medir "$BIN/zavoro" exportar --formato kmz "$DIR"/m1.nvg
echo "kmz: $(stat -c %s "$DIR"/m1_Exportacao.kmz) bytes, doc.kml de $(unzip -l "$DIR"/m1_Exportacao.kmz | awk '$4 == "doc.kml" {print $1}') bytes"
echo -n "isoxml (TaskData com time log):   "; medir "$BIN/zavoro" isoxml "$DIR"/m1.nvg
echo "isoxml: zip de $(stat -c %s "$DIR"/m1_ISOXML.zip) bytes"
echo "janela (lógica da janela, avisos tratados nesta thread):"; "$BIN/bench_janela" "$DIR"/m1.nvg "$DIR"/m2.nvg
# Prescription against application: a 400 ha field driven over 26 times in 1,000,000 points against a
# grid of 10,000 zones, beside the coverage map of the same file (goal: under three times its time).
# The plain map also prints the overlap lines (the union of the coverage): on that field and on m1
# (11,199 ha along one strip, nothing covered twice), beside the map alone (-q).
"$BIN/bench_comparacao" --gerar "$DIR"
echo -n "mapa --cobertura -q (400 ha, 26 vezes):       "; medir "$BIN/zavoro" mapa --cobertura -q "$DIR"/campo.nvg
echo -n "mapa --cobertura, sobreposição (400 ha):       "; medir "$BIN/zavoro" mapa --cobertura "$DIR"/campo.nvg
echo -n "mapa --cobertura -q (m1):                      "; medir "$BIN/zavoro" mapa --cobertura -q "$DIR"/m1.nvg
echo -n "mapa --cobertura, sobreposição (m1):           "; medir "$BIN/zavoro" mapa --cobertura "$DIR"/m1.nvg
echo -n "comparar (10.000 zonas):                       "; medir "$BIN/zavoro" comparar --mapa "$DIR"/grade.shp "$DIR"/campo.nvg
for arq in campo m1; do
    limpar="rm -f '$DIR/${arq}_Cobertura'.*"
    so=$(cpu_minimo "$limpar" "$BIN/zavoro" mapa --cobertura -q "$DIR/$arq.nvg")
    com=$(cpu_minimo "$limpar" "$BIN/zavoro" mapa --cobertura "$DIR/$arq.nvg")
    echo "$arq: mapa -q CPU $so s; com sobreposição CPU $com s; razão $(awk -v a="$com" -v b="$so" 'BEGIN{printf "%.2f", a / b}')"
    if [[ $arq == campo ]]; then so_campo=$so; fi
done
comp=$(cpu_minimo "true" "$BIN/zavoro" comparar --mapa "$DIR"/grade.shp "$DIR"/campo.nvg)
echo "comparar: CPU $comp s; mapa -q CPU $so_campo s; razão $(awk -v a="$comp" -v b="$so_campo" 'BEGIN{printf "%.2f", a / b}')"
