#!/usr/bin/env bash
# Copies the sample navigation files into demo-saida/ and runs the command over the copies, so every
# output lands there and samples/ stays untouched.
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
[[ -x "$ZAVORO" ]] || { echo "$ZAVORO não existe; rode 'make build'." >&2; exit 1; }

rm -rf "$SAIDA"
mkdir -p "$SAIDA"
cp "${amostras[@]}" "$SAIDA"/
cp samples/recomendacao_*.* "$SAIDA"/ 2>/dev/null || true
echo "== ${#amostras[@]} arquivo(s) de navegação copiados para $SAIDA/"

echo "== $ZAVORO validar $SAIDA/*.nvg (resultado também em $SAIDA/validacao.txt)"
"$ZAVORO" validar "$SAIDA"/*.nvg | tee "$SAIDA/validacao.txt"

echo
echo "== $ZAVORO relatorio $SAIDA (relatórios de trabalho .txt ao lado de cada arquivo)"
"$ZAVORO" relatorio "$SAIDA"

echo
echo "== $ZAVORO mapa --cobertura $SAIDA e --velocidade (mapas KML _Cobertura.kml e _Velocidade.kml)"
"$ZAVORO" mapa --cobertura "$SAIDA" > "$SAIDA/mapas_cobertura.txt"
"$ZAVORO" mapa --velocidade "$SAIDA" > "$SAIDA/mapas_velocidade.txt"
grep -h ": OK" "$SAIDA"/mapas_*.txt || true

echo
echo "== Leitores de referência (xmllint e ogrinfo) abrindo cada mapa"
for kml in "$SAIDA"/*.kml; do
    xmllint --noout "$kml"
    ogrinfo -ro -q -al -so "$kml" > /dev/null
    echo "$kml: ok"
done

echo
echo "== Conjuntos Shapefile da cobertura (.shp, .shx, .dbf, .prj) abertos pelo ogrinfo"
for shp in "$SAIDA"/*.shp; do
    contagem=$(ogrinfo -ro -al -so "$shp" | grep 'Feature Count' || true)
    echo "$shp: ${contagem:-não abriu}"
done

echo
echo "== $ZAVORO exportar $SAIDA (dados para SIG: um GeoPackage por arquivo, camadas listadas pelo ogrinfo)"
"$ZAVORO" exportar "$SAIDA" > "$SAIDA/exportacao.txt"
for gpkg in "$SAIDA"/*_Exportacao.gpkg; do
    echo "$gpkg:"
    ogrinfo -ro -q "$gpkg" | sed 's/^/    /'
done

echo
echo "== $ZAVORO isoxml $SAIDA (ISOXML TaskData _ISOXML.zip por arquivo; XML conferido pelo xmllint)"
"$ZAVORO" isoxml "$SAIDA" | tee "$SAIDA/isoxml.txt"
for zip in "$SAIDA"/*_ISOXML.zip; do
    unzip -p "$zip" TASKDATA/TASKDATA.XML | xmllint --noout - && echo "$zip: TASKDATA.XML ok"
done

echo
echo "== $ZAVORO recomendacao: taxa variável (mapa de recomendação e trabalho realizado), em $SAIDA/taxa_variavel/"
TAXA="$SAIDA/taxa_variavel"
mkdir -p "$TAXA"
cp samples/recomendacao_pulverizacao.* samples/pulverizacao_soja.nvg "$TAXA"/
"$ZAVORO" recomendacao --mapa "$TAXA/recomendacao_pulverizacao.shp" --campo DOSE --png "$TAXA/taxa_variavel" \
    "$TAXA/pulverizacao_soja.nvg"
xmllint --noout "$TAXA/pulverizacao_soja_Cobertura.kml"
ogrinfo -ro -q -al -so "$TAXA/pulverizacao_soja_Cobertura.shp" > /dev/null
echo "$TAXA/pulverizacao_soja_Cobertura.kml e .shp: ok"

echo
echo "== $ZAVORO comparar: recomendação x trabalho realizado, zona a zona (tabela e mapa de diferença em $TAXA/)"
"$ZAVORO" comparar --mapa "$TAXA/recomendacao_pulverizacao.shp" --campo DOSE --csv "$TAXA/comparacao.csv" \
    --png "$TAXA/comparacao" "$TAXA/pulverizacao_soja.nvg"

echo
echo "== Saídas em $(pwd)/$SAIDA/:"
ls -l "$SAIDA"
echo
echo "== Imagens da taxa variável (mapa 1: recomendação, mapa 2: trabalho realizado; painel 355 x 335 e ampliada 550 x 550):"
ls -1 "$(pwd)/$TAXA"/*.png
echo
echo "== Aplicativo de desktop: 'make build' compila build/bin/quibar-zavoro e a ajuda \"build/bin/Ajuda Quibar Zavoro.pdf\""
