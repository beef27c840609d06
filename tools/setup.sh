#!/usr/bin/env bash
# Installs what Quarrow's builds and tests need on Debian 12 and generates the hu_HU locale.
# Idempotent: installs only what is missing.
set -euo pipefail

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

PACKAGES=(
    build-essential cmake git python3 file
    g++-mingw-w64-i686 mingw-w64-i686-dev g++-mingw-w64-x86-64 mingw-w64-x86-64-dev
    wine wine64 wine32:i386 fonts-wine xvfb xauth xdotool imagemagick locales
    libgtest-dev googletest clang clang-format libclang-rt-14-dev
    unixodbc unixodbc-dev odbcinst libodbc2:i386 libodbcinst2:i386 libsqliteodbc libsqliteodbc:i386 sqlite3
    mariadb-server mariadb-client odbc-mariadb
    python3-dbfread libshp-dev shapelib gdal-bin python3-gdal libbenchmark-dev
    ghostscript
)

if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
    NEED_UPDATE=1
fi

missing=()
for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ] || [ -n "${NEED_UPDATE:-}" ]; then
    echo "setup: installing ${missing[*]}"
    $SUDO apt-get update -q
    # Interactive configuration prompts would hang an unattended run.
    $SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}"
fi

# File names with accents need a Hungarian UTF-8 locale under Wine.
if ! locale -a 2>/dev/null | grep -qi '^hu_HU\.utf-\?8$'; then
    $SUDO sed -i 's/^# *\(hu_HU.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^hu_HU.UTF-8 UTF-8' /etc/locale.gen || echo 'hu_HU.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
    $SUDO locale-gen >/dev/null
fi

# Debian installs one architecture of the MariaDB ODBC driver; the 32-bit one that Wine's unixODBC
# loads is unpacked beside the build instead.
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
MARIADB_I386="$ROOT/build/mariadb-i386"
if [ ! -f "$MARIADB_I386/usr/lib/i386-linux-gnu/odbc/libmaodbc.so" ]; then
    mkdir -p "$ROOT/build/debs"
    if (cd "$ROOT/build/debs" && apt-get download -q odbc-mariadb:i386 libmariadb3:i386); then
        for deb in "$ROOT"/build/debs/odbc-mariadb_*_i386.deb "$ROOT"/build/debs/libmariadb3_*_i386.deb; do
            dpkg -x "$deb" "$MARIADB_I386"
        done
    else
        echo "setup: no 32-bit MariaDB driver; its Wine tests are skipped"
    fi
fi
