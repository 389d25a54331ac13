#!/bin/sh
# Installs every build, test and run-time dependency from Debian's packages.
# Run as root on Debian 12; packages already present are skipped.
set -eu

PACKAGES="
build-essential cmake pkg-config
qt6-base-dev qt6-base-dev-tools libqt6printsupport6 qt6-translations-l10n qt6-qpa-plugins
libgl-dev
libsqlcipher-dev sqlcipher sqlite3 libssl-dev
libpq-dev postgresql
libxlsxwriter-dev
libgtest-dev libgmock-dev googletest libbenchmark-dev
xvfb xauth x11-utils libxcb1-dev
fonts-dejavu-core fonts-liberation2
poppler-utils unzip
lintian desktop-file-utils
"

missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done

if [ -n "$missing" ]; then
    SUDO=""
    if [ "$(id -u)" -ne 0 ]; then
        if command -v sudo >/dev/null 2>&1; then
            SUDO="sudo"
        else
            echo "setup: missing packages:$missing" >&2
            echo "setup: run this script as root to install them" >&2
            exit 1
        fi
    fi
    echo "setup: installing$missing"
    $SUDO env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    # shellcheck disable=SC2086
    $SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing
fi
