#!/usr/bin/env bash
# Builds the Debian package from a built tree into a scratch folder and has lintian judge it: no error
# and no warning (overrides only with their reason beside them). Also checks that what the package
# promises is in it. Exit 77 (skipped) without lintian or dpkg-deb.
# Usage: verificar_pacote.sh BUILD_DIR
set -euo pipefail
build=$1
for ferramenta in lintian dpkg-deb cpack; do
    command -v "$ferramenta" >/dev/null || { echo "$ferramenta não instalado: pacote não verificado"; exit 77; }
done
saida=$(mktemp -d)
trap 'rm -rf "$saida"' EXIT
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$saida" >"$saida/cpack.log" 2>&1 || { cat "$saida/cpack.log"; exit 1; }
deb=$(ls "$saida"/*.deb)

conteudo=$(dpkg-deb -c "$deb")
for arquivo in usr/bin/zavoro usr/bin/quibar-zavoro usr/share/man/man1/zavoro.1.gz \
               usr/share/man/man1/quibar-zavoro.1.gz usr/share/doc/quibar-zavoro/copyright \
               usr/share/doc/quibar-zavoro/changelog.gz usr/share/bash-completion/completions/zavoro \
               usr/share/mime/packages/quibar-zavoro.xml usr/share/applications/quibar-zavoro.desktop; do
    grep -q " \./$arquivo\$" <<<"$conteudo" || { echo "ausente do pacote: $arquivo"; exit 1; }
done
versao=$(dpkg-deb -f "$deb" Version)
[[ $(dpkg-deb -f "$deb" Recommends) == *fonts-liberation2* ]] || { echo "Recommends sem as fontes"; exit 1; }
# One version: the package's is the one the man pages and --version show.
dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/man/man1/zavoro.1.gz | gzip -dc | grep -q "\"zavoro $versao\"" \
    || { echo "a página de manual não mostra a versão $versao"; exit 1; }

# Tags are printed as "E: pacote: tag ..." and "W: ..."; pedantic and info notes are left out.
relatorio=$(lintian --tag-display-limit 0 "$deb" 2>&1 || true)
echo "$relatorio"
if grep -q '^[EW]: ' <<<"$relatorio"; then
    exit 1
fi
echo "lintian: nenhum erro nem aviso em $(basename "$deb")"
