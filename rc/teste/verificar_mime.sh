#!/usr/bin/env bash
# The navigation files' MIME type and the desktop entry, as a file manager sees them once installed:
# the type resolves for a navigation file (whatever the case of its extension) and the entry is the
# default application for it. Usage: verificar_mime.sh RC_DIR SAMPLE.nvg. Exit 77 without the tools.
set -euo pipefail
rc=$1
amostra=$2
for ferramenta in xdg-mime update-mime-database update-desktop-database mimetype; do
    command -v "$ferramenta" >/dev/null || { echo "$ferramenta não instalado: tipo MIME não verificado"; exit 77; }
done
dados=$(mktemp -d)
trap 'rm -rf "$dados"' EXIT
mkdir -p "$dados/mime/packages" "$dados/applications"
cp "$rc/quibar-zavoro-mime.xml" "$dados/mime/packages/quibar-zavoro.xml"
cp "$rc/quibar-zavoro.desktop" "$dados/applications/"
update-mime-database "$dados/mime"
update-desktop-database "$dados/applications"
cp "$amostra" "$dados/CAMPO.NVG"
export XDG_DATA_HOME=$dados XDG_DATA_DIRS=/usr/share XDG_CURRENT_DESKTOP=
tipo=$(grep -o 'type="[^"]*"' "$rc/quibar-zavoro-mime.xml" | head -1 | cut -d'"' -f2)
for arquivo in "$amostra" "$dados/CAMPO.NVG"; do
    achado=$(xdg-mime query filetype "$arquivo")
    [[ $achado == "$tipo" ]] || { echo "$arquivo: tipo $achado, esperado $tipo"; exit 1; }
done
padrao=$(xdg-mime query default "$tipo")
[[ $padrao == quibar-zavoro.desktop ]] || { echo "aplicativo padrão de $tipo: '$padrao'"; exit 1; }
echo "$tipo: ok, aberto por $padrao"
