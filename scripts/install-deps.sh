#!/usr/bin/env bash
# Installs the Debian packages that building and testing need, only those
# that are missing; runs "apt-get update" once, and only when needed.
set -euo pipefail

packages=(cmake g++ make pkg-config ccache
          qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools
          qt6-svg-dev libqt6svg6 qt6-qpa-plugins qt6-translations-l10n
          libgtest-dev libgmock-dev libbenchmark-dev xdg-utils fonts-dejavu-core
          clang libclang-rt-14-dev
          help2man desktop-file-utils appstream dpkg-dev file lintian
          ser2net)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo_cmd=()
[[ $(id -u) -ne 0 ]] && sudo_cmd=(sudo)
echo "Installing: ${missing[*]}"
"${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
"${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -q --no-install-recommends "${missing[@]}"
