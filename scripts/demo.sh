#!/usr/bin/env bash
# Copies the sample navigation files into demo-saida/ and runs the command over the copies,
# so every output lands there and samples/ stays untouched.
set -euo pipefail
cd "$(dirname "$0")/.."

ZAVORO=build/bin/zavoro
SAIDA=demo-saida

shopt -s nullglob
amostras=(samples/*.nvg)
if (( ${#amostras[@]} == 0 )); then
    echo "Nenhum arquivo .nvg em samples/ (gere com 'make samples')." >&2
    exit 1
fi
[[ -x "$ZAVORO" ]] || { echo "$ZAVORO nao existe; rode 'make build'." >&2; exit 1; }

rm -rf "$SAIDA"
mkdir -p "$SAIDA"
cp "${amostras[@]}" "$SAIDA"/
echo "== ${#amostras[@]} arquivo(s) de navegacao copiados para $SAIDA/"

echo "== $ZAVORO validar $SAIDA/*.nvg"
status=0
"$ZAVORO" validar "$SAIDA"/*.nvg || status=$?
# Exit 1 only says some sample is invalid (the samples may include broken files on purpose).
if (( status > 1 )); then
    echo "zavoro validar terminou com erro ($status)" >&2
    exit "$status"
fi

echo
echo "== Saidas em $(pwd)/$SAIDA/:"
ls -l "$SAIDA"
