#!/usr/bin/env bash
# Makes sure a Debian 12 machine has what the build, the tests, fuzzing and the benchmarks need.
set -euo pipefail

PACKAGES=(
    cmake g++ make ninja-build pkg-config           # build
    libgtest-dev libgmock-dev libbenchmark-dev       # tests and benchmarks
    clang libclang-rt-14-dev                         # libFuzzer and sanitizer runtimes for clang
    libxml2-utils gdal-bin shapelib                  # peer readers: xmllint, ogrinfo (GEOS through its SpatiaLite
                                                     # SQL, LIBKML), shpinfo/dbfdump/shprewind
    libgeos-dev                                      # prescription against application (zavoro comparar)
    libgdal-dev sqlite3                              # GIS export (zavoro exportar); sqlite3 reads its GeoPackage in tests
    libminizip-dev unzip                             # ISOXML zip (zavoro isoxml)
    time                                             # /usr/bin/time for whole-command measurements
    gcovr                                            # line coverage (make cobertura)
    qt6-base-dev fonts-dejavu-core                   # Qt 6 Gui drawing surface (headless rendering), its sans font
    fonts-liberation2                                # narrow sans face of the window's controls (metrics of the dialog font)
    xvfb xauth                                       # desktop app screenshots under a virtual display
    poppler-utils desktop-file-utils                 # pdfinfo/pdftoppm check the help PDF; desktop entry check
    dpkg-dev                                         # dpkg-shlibdeps for the .deb's dependencies (make package)
    nlohmann-json3-dev                               # zavoro --json lines
    lintian python3-jsonschema                       # the package judged; the --json lines against their schema
    shared-mime-info xdg-utils libfile-mimeinfo-perl # the .nvg MIME type resolved as a file manager does
)
# --windows: what the Windows cross build adds (make windows); a plain Linux build never pulls Wine in.
if [[ "${1:-}" == "--windows" ]]; then
    PACKAGES=(
        g++-mingw-w64-x86-64-posix                   # cross compiler, posix thread model (std::thread)
        wine64 wine                                  # runs the Windows programs and their tests
        nsis                                         # makensis: the installer
        googletest                                   # GoogleTest sources, built with the cross compiler
        xvfb xauth                                   # the Windows window under a virtual display
    )
fi

# Node.js and npm run the ISOXML export's peer reader. A machine may carry its own Node.js with npm
# inside (whose package conflicts with Debian's npm): Debian's are installed only where none is.
command -v node >/dev/null || PACKAGES+=(nodejs)
command -v npm >/dev/null || PACKAGES+=(npm)

# The peer reader of the ISOXML export: the isoxml npm package in a folder of the project.
instalar_isoxml() {
    local pasta
    pasta="$(dirname "$0")/../tools/isoxml"
    if [[ ! -d "$pasta/node_modules/isoxml" ]] && command -v npm >/dev/null; then
        (cd "$pasta" && npm install --no-audit --no-fund --loglevel=error) || echo "Aviso: npm não instalou isoxml"
    fi
}
trap instalar_isoxml EXIT

missing=()
for package in "${PACKAGES[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$package")
done

if (( ${#missing[@]} == 0 )); then
    exit 0
fi

echo "Pacotes ausentes: ${missing[*]}"
if (( EUID != 0 )); then
    echo "Instale com:"
    echo "  sudo apt-get update && sudo apt-get install -y --no-install-recommends ${missing[*]}"
    exit 1
fi

apt-get update
DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
