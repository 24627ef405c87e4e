#!/usr/bin/env bash
# Checks what a user installs, for the build in BUILD_DIR (default build):
#  - the desktop entry and the AppStream metainfo validate;
#  - an install into a scratch DESTDIR works from there: the installed
#    programs print their version, and the installed orvane finds the English
#    catalogue and the manual in the installed layout (../share/orvane);
#  - the Debian package (scripts/package.sh) holds every file of that install;
#  - lintian reports no errors on it (its warnings are printed).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}

fail() {
    echo "check-install.sh: $*" >&2
    exit 1
}

desktop-file-validate dist/*.desktop
appstreamcli validate --no-net dist/*.metainfo.xml

deb=$(scripts/package.sh | tail -n 1)

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir -m 700 "$stage/runtime"
DESTDIR=$stage cmake --install "$build" --prefix /usr >/dev/null

project_version=$(sed -n 's/^CMAKE_PROJECT_VERSION:[A-Z]*=//p' "$build/CMakeCache.txt")
IFS=. read -r major minor patch <<<"$project_version"
version="$major.$minor$patch"
export QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 XDG_CONFIG_HOME=$stage/config \
       XDG_RUNTIME_DIR=$stage/runtime
[[ $("$stage/usr/bin/orvane" --version) == "Orvane $version" ]] || fail "orvane --version"
for tool in orvane-emulator orvane-trace; do
    [[ $("$stage/usr/bin/$tool" --version) == "$tool (Orvane) $version" ]] ||
        fail "$tool --version"
done
found=$("$stage/usr/bin/orvane" --check-files) || fail "orvane --check-files: $found"
echo "$found"
grep -qxF "English catalogue: $stage/usr/share/orvane/OrvaneEng.qm" <<<"$found" ||
    fail "the installed program does not use the installed catalogue"
grep -qxF "Manual: $stage/usr/share/orvane/Orvane-Handbuch.pdf" <<<"$found" ||
    fail "the installed program does not use the installed manual"

echo "$deb:"
dpkg-deb -c "$deb"
missing=$(comm -23 <(cd "$stage" && find usr \( -type f -o -type l \) | sort) \
                   <(dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./||' | sort))
[[ -z $missing ]] || fail "missing from the package:"$'\n'"$missing"

lintian --fail-on error --tag-display-limit 0 "$deb"
