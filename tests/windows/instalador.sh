#!/usr/bin/env bash
# The Windows installer under Wine: a silent install into a scratch folder, the installed command run
# from there, the Start-menu entries and the .nvg association in place; then a silent uninstall that
# leaves none of them. Usage: instalador.sh INSTALADOR.exe WINEPREFIX VERSAO
set -euo pipefail
instalador=$1
export WINEPREFIX=$2 WINEDEBUG=-all

falha() { echo "FALHA: $*" >&2; exit 1; }
[[ -f "$instalador" ]] || falha "instalador ausente: $instalador"

pasta=$(mktemp -d /tmp/zavoro_instalacao.XXXXXX)
trap 'rm -rf "$pasta"' EXIT
destino="$pasta/QuibarZavoro" # /D= takes no quotes, so no spaces either
menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Quibar Zavoro"
registro() { wine reg query "$1" > /dev/null 2>&1; }

wine "$instalador" /S "/D=$(winepath -w "$destino")"
# Under Wine the elevated installer may still be running when the call returns.
for _ in $(seq 60); do
    [[ -f "$destino/Desinstalar.exe" ]] && break
    sleep 1
done
for arquivo in zavoro.exe zavoro-exportacao.exe quibar-zavoro.exe "Ajuda Quibar Zavoro.pdf" Desinstalar.exe; do
    [[ -f "$destino/$arquivo" ]] || falha "$arquivo não instalado"
done
versao=$(cd "$pasta" && wine "$destino/zavoro.exe" --version | tr -d '\r')
[[ "$versao" == "zavoro $3" ]] || falha "zavoro.exe --version instalado respondeu \"$versao\""
for atalho in "Quibar Zavoro" "Ajuda do Quibar Zavoro" "Desinstalar o Quibar Zavoro"; do
    [[ -f "$menu/$atalho.lnk" ]] || falha "atalho \"$atalho\" do menu Iniciar ausente"
done
registro 'HKLM\Software\Classes\.nvg' || falha "associação .nvg ausente"
registro 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\QuibarZavoro' || falha "registro de desinstalação ausente"

# The uninstaller runs from a copy of itself and returns at once: its work is waited for.
wine "$destino/Desinstalar.exe" /S
for _ in $(seq 60); do
    [[ -e "$destino" ]] || break
    sleep 1
done
[[ ! -e "$destino" ]] || falha "a desinstalação deixou $(ls -A "$destino" | tr '\n' ' ')"
[[ ! -e "$menu" ]] || falha "a desinstalação deixou o menu Iniciar"
! registro 'HKLM\Software\Classes\.nvg' || falha "a desinstalação deixou a associação .nvg"
! registro 'HKLM\Software\Classes\QuibarZavoro.ArquivoNavegacao' || falha "a desinstalação deixou o tipo de arquivo"
! registro 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\QuibarZavoro' || falha "a desinstalação deixou o registro"
echo "instalação, execução e desinstalação silenciosas: OK"
