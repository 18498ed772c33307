#!/usr/bin/env bash
# Checks the layering of the tree from its #include lines:
#  - the modules (source/<folder>, each public header counted with the module that implements it) form
#    no cycle;
#  - nothing outside the application (source/principal, its Win32 adapter source/principalWin32) and its
#    tests includes source/principal/.
# Prints the module graph with -v. Exit 1 on a violation.
set -euo pipefail
cd "$(dirname "$0")/.."
DETALHE=${1:-}

# Public header -> module. A new header must be added here (the check fails on an unknown one).
declare -A MODULO_CABECALHO=(
    [tipos.h]=base
    [funcoesAuxiliares.h]=funcoesAuxiliares
    [leitorBinario.h]=funcoesAuxiliares
    [textoSaida.h]=funcoesAuxiliares
    [arquivo.h]=arquivo
    [zavoro.h]=zavoro
    [registrosNavegacao.h]=zavoro
    [avisos.h]=avisos
    [legenda.h]=legenda
    [cobertura.h]=cobertura
    [conversor.h]=conversor
    [pontosRelevantes.h]=conversor
    [shapeFile.h]=shapeFile
    [desenhoMapa.h]=shapeFile
    [exportacao.h]=exportacao
    [isoxml.h]=isoxml
    [analise.h]=analise
    [versao.h]=base
)

falhas=0
arestas=$(mktemp)
trap 'rm -f "$arestas"' EXIT

modulo_de_arquivo() {
    local caminho=$1
    case $caminho in
        include/zavoro/*)
            local nome=${caminho#include/zavoro/}
            if [[ -z ${MODULO_CABECALHO[$nome]+x} ]]; then
                echo "cabeçalho sem módulo em scripts/verificar_modulos.sh: $caminho" >&2
                return 1
            fi
            echo "${MODULO_CABECALHO[$nome]}"
            ;;
        source/*/*) local resto=${caminho#source/}; echo "${resto%%/*}" ;;
        *) echo "externo" ;;
    esac
}

modulo_de_include() {
    local alvo=$1
    case $alvo in
        zavoro/*)
            # Private headers of the navigation-file module sit in source/zavoro/.
            if [[ -e include/$alvo ]]; then modulo_de_arquivo "include/$alvo"; else echo zavoro; fi
            ;;
        rc/*) echo rc ;;
        */*) echo "${alvo%%/*}" ;;
        *) echo "local" ;;
    esac
}

while IFS= read -r arquivo; do
    origem=$(modulo_de_arquivo "$arquivo") || { falhas=1; continue; }
    while IFS= read -r alvo; do
        if [[ $alvo == principal/* && $arquivo != source/principal/* && $arquivo != source/principalWin32/* &&
              $arquivo != tests/janela/* &&
              $arquivo != tests/gui/* && $arquivo != tests/support/ServicosFalsos.* &&
              $arquivo != scripts/capturas/* && $arquivo != bench/bench_janela.cpp ]]; then
            echo "inclui a aplicação fora dela: $arquivo -> $alvo" >&2
            falhas=1
        fi
        [[ $arquivo == source/* || $arquivo == include/* ]] || continue
        destino=$(modulo_de_include "$alvo") || { falhas=1; continue; }
        [[ $destino == local || $destino == "$origem" ]] || echo "$origem $destino" >> "$arestas"
    done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$arquivo")
done < <(git ls-files 'include/*.h' 'source/*.h' 'source/*.cpp' 'tests/*.h' 'tests/*.cpp' 'bench/*.cpp' \
                      'scripts/*.cpp')

sort -u "$arestas" -o "$arestas"
if [[ $DETALHE == -v ]]; then
    echo "módulo -> módulos de que depende:"
    awk '{d[$1] = d[$1] " " $2} END {for (m in d) print "  " m ":" d[m]}' "$arestas" | sort
fi
# tsort reports every loop of the graph on standard error.
if ! tsort "$arestas" > /dev/null 2> "$arestas.ciclo"; then
    echo "ciclo entre módulos:" >&2
    sed -e "s|^tsort: $arestas: |  |" -e "s|^tsort: |    |" "$arestas.ciclo" >&2
    falhas=1
fi
rm -f "$arestas.ciclo"
if (( falhas == 0 )); then
    echo "módulos sem ciclos; source/principal incluído só pela aplicação e seus testes"
fi
exit "$falhas"
