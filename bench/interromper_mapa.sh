#!/usr/bin/env bash
# Kills `zavoro mapa` with SIGKILL at random moments while it writes the map of a 1,000,000-point job
# over the map set of a small one of the same name, and checks after each kill that the set on disk is
# wholly the small job's or wholly the large job's, once the next run into the folder has finished or
# undone the interrupted publication, and that nothing of the system is left in the folder.
#     bench/interromper_mapa.sh [VEZES]      (100 by default; needs build/bin)
set -euo pipefail
cd "$(dirname "$0")/.."
BIN=build/bin
VEZES=${1:-100}
DIR=$(mktemp -d)
trap 'rm -rf "$DIR"' EXIT
mkdir "$DIR/ref" "$DIR/trab"
"$BIN/bench_relatorio" --gerar-milhao "$DIR/grande.nvg" > /dev/null
cp samples/pulverizacao_soja.nvg "$DIR/pequeno.nvg"
cp samples/plantio.nvg "$DIR/trab/outro.nvg"

assinatura() { (cd "$1" && md5sum job_Cobertura.kml job_Cobertura.shp job_Cobertura.shx job_Cobertura.dbf job_Cobertura.prj 2>&1 | awk '{print $1}' | tr '\n' ' '); }
# The two sets a reader may find.
for t in pequeno grande; do
    cp "$DIR/$t.nvg" "$DIR/ref/job.nvg"
    "$BIN/zavoro" mapa "$DIR/ref/job.nvg" > /dev/null
    declare "ASS_$t=$(assinatura "$DIR/ref")"
done
DURACAO=$( { /usr/bin/time -f %e "$BIN/zavoro" mapa "$DIR/ref/job.nvg" > /dev/null; } 2>&1 )

velhos=0 novos=0 mistos=0 restos=0
for ((i = 1; i <= VEZES; i++)); do
    cp "$DIR/pequeno.nvg" "$DIR/trab/job.nvg"
    "$BIN/zavoro" mapa "$DIR/trab/job.nvg" > /dev/null
    cp "$DIR/grande.nvg" "$DIR/trab/job.nvg"
    atraso=$(awk -v s="$RANDOM" -v d="$DURACAO" 'BEGIN { srand(s); printf "%.3f", rand() * d * 1.1 }')
    "$BIN/zavoro" mapa "$DIR/trab/job.nvg" > /dev/null & p=$!
    sleep "$atraso"
    kill -KILL "$p" 2> /dev/null || true
    wait "$p" 2> /dev/null || true
    # The next run that writes into the folder.
    "$BIN/zavoro" relatorio "$DIR/trab/outro.nvg" > /dev/null
    a=$(assinatura "$DIR/trab")
    if [[ "$a" == "$ASS_pequeno" ]]; then velhos=$((velhos + 1));
    elif [[ "$a" == "$ASS_grande" ]]; then novos=$((novos + 1));
    else mistos=$((mistos + 1)); echo "misto após ${atraso}s: $a"; fi
    if ls -A "$DIR/trab" | grep -q '^[.]zvr'; then restos=$((restos + 1)); ls -A "$DIR/trab"; fi
done
echo "$VEZES interrupções (mapa de ${DURACAO}s): $velhos conjuntos antigos, $novos novos, $mistos mistos, $restos com restos"
[[ $mistos -eq 0 && $restos -eq 0 ]]
