#!/usr/bin/env bash
# Runs the command of this tree and of an earlier commit over the same inputs and compares every output
# byte for byte: reports, KML maps, shapefile sets, pictures, and what each run printed with its exit
# status. For refactorings that must not change a byte.
#
#   scripts/comparar_saidas.sh [REF]      (REF: the commit to compare with; default HEAD)
#
# Inputs: the samples, the files the fixture builder writes (the fuzz corpora of navigation files) and,
# when bench_relatorio is built, one 1,000,000-point job. This tree must be built first (make build).
set -euo pipefail
cd "$(dirname "$0")/.."
RAIZ=$(pwd)
REF=${1:-HEAD}
BIN=$RAIZ/build/bin
[[ -x "$BIN/zavoro" && -x "$BIN/zavoro_gerar_amostras" ]] || { echo "rode 'make build' antes" >&2; exit 2; }

TMP=$(mktemp -d)
ARVORE_REF="$TMP/ref"
trap 'git -C "$RAIZ" worktree remove --force "$ARVORE_REF" >/dev/null 2>&1 || true; rm -rf "$TMP"' EXIT

echo "== compilando o comando de $REF ($(git rev-parse --short "$REF"))"
git worktree add --detach -q "$ARVORE_REF" "$REF"
LANCADOR=()
command -v ccache >/dev/null && LANCADOR=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -G Ninja -S "$ARVORE_REF" -B "$TMP/build-ref" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${LANCADOR[@]}" > /dev/null
cmake --build "$TMP/build-ref" -j2 --target zavoro > /dev/null

echo "== gerando as entradas"
ENTRADAS="$TMP/entradas"
mkdir -p "$ENTRADAS/corpus" "$ENTRADAS/amostras"
cp samples/*.nvg samples/recomendacao_* "$ENTRADAS/amostras"/
"$BIN/zavoro_gerar_amostras" --corpus "$ENTRADAS/corpus" > /dev/null
cp fuzz/corpus/conversao/*.nvg "$ENTRADAS/corpus"/
if [[ -x "$BIN/bench_relatorio" ]]; then
    mkdir -p "$ENTRADAS/milhao"
    "$BIN/bench_relatorio" --gerar-milhao "$ENTRADAS/milhao/m1.nvg" > /dev/null
fi

# Every run in its own copy of the inputs, with relative paths, so both trees print the same text.
rodar() {
    local zavoro=$1 saida=$2
    cp -r "$ENTRADAS" "$saida"
    (
        cd "$saida"
        n=0
        executar() {
            n=$((n + 1))
            local s=0
            "$zavoro" "$@" > "saida_$n.txt" 2>&1 || s=$?
            printf '%s\n%s\n' "$*" "$s" > "comando_$n.txt"
        }
        for d in amostras corpus milhao; do
            [[ -d $d ]] || continue
            executar validar "$d"/*.nvg
            executar relatorio -j 1 "$d"
            executar mapa --cobertura -j 1 "$d"
            executar mapa --velocidade -j 1 "$d"
        done
        mkdir alvos && cp amostras/*.nvg alvos/
        executar mapa --cobertura --alvos 100,,150,,300 -j 1 alvos
        executar mapa --cobertura --alvos 300,200 -j 1 alvos
        executar desenhar amostras/recomendacao_pulverizacao.shp --campo DOSE --png desenho.png
        executar desenhar amostras/recomendacao_pulverizacao.shp --campo ZONA --png desenho_zona.png
        mkdir taxa && cp amostras/recomendacao_pulverizacao.* amostras/pulverizacao_soja.nvg taxa/
        executar recomendacao --mapa taxa/recomendacao_pulverizacao.shp --campo DOSE --png taxa/taxa \
            taxa/pulverizacao_soja.nvg
        executar procurar amostras
    )
}

echo "== rodando $REF"
rodar "$TMP/build-ref/bin/zavoro" "$TMP/a"
echo "== rodando esta árvore"
rodar "$BIN/zavoro" "$TMP/b"

arquivos=$(cd "$TMP/a" && find . -type f | wc -l)
if diff -r "$TMP/a" "$TMP/b" > "$TMP/diferencas.txt"; then
    echo "idênticas: $arquivos saídas e entradas, byte a byte"
else
    head -40 "$TMP/diferencas.txt"
    echo "DIFERENTES (de $arquivos arquivos)" >&2
    exit 1
fi
