#!/usr/bin/env bash
# Checks what a user installs, for the build in BUILD_DIR (default build):
#  - the desktop entry and the AppStream metainfo validate;
#  - an install into a scratch DESTDIR works from there: the installed
#    programs print their version, and the installed orvane finds the English
#    catalogue and the manual in the installed layout (../share/orvane), as
#    orvanectl finds the catalogue; orvanectl links no Qt GUI library, and
#    its systemd examples are there;
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
# In a terminal without a display, as on a server or over ssh.
[[ $(env -u QT_QPA_PLATFORM -u DISPLAY -u WAYLAND_DISPLAY "$stage/usr/bin/orvane" --version) == \
    "Orvane $version" ]] || fail "orvane --version"
env -u QT_QPA_PLATFORM -u DISPLAY -u WAYLAND_DISPLAY "$stage/usr/bin/orvane" --help |
    grep -q -- --version || fail "orvane --help"
for tool in orvane-emulator orvane-trace orvanectl; do
    [[ $("$stage/usr/bin/$tool" --version) == "$tool (Orvane) $version" ]] ||
        fail "$tool --version"
done
found=$("$stage/usr/bin/orvane" --check-files) || fail "orvane --check-files: $found"
echo "$found"
grep -qxF "English catalogue: $stage/usr/share/orvane/OrvaneEng.qm" <<<"$found" ||
    fail "the installed program does not use the installed catalogue"
grep -qxF "Manual: $stage/usr/share/orvane/Orvane-Handbuch.pdf" <<<"$found" ||
    fail "the installed program does not use the installed manual"

# orvanectl: headless (QtCore at most), English when the settings say so,
# from the installed catalogue, and the examples of a nightly collection.
if ldd "$stage/usr/bin/orvanectl" | grep -E 'libQt6(Gui|Widgets)'; then
    fail "orvanectl links a Qt GUI library"
fi
mkdir -p "$stage/config/Meridel Applikationen"
printf '[Settings]\nSprache=1\n' >"$stage/config/Meridel Applikationen/Orvane.conf"
"$stage/usr/bin/orvanectl" --help | grep -q '^Exit status:' ||
    fail "the installed orvanectl does not use the installed catalogue"
for example in orvane-collect.service orvane-collect.timer orvane-readers.ini; do
    [[ -f $stage/usr/share/doc/orvane/examples/$example ]] || fail "$example is not installed"
done
# The units are sound; only orvanectl itself is not in /usr/bin here.
verify=$(systemd-analyze verify --man=no "$stage"/usr/share/doc/orvane/examples/orvane-collect.* \
    2>&1 || true)
verify=$(grep -v 'Command /usr/bin/orvanectl is not executable' <<<"$verify" || true)
[[ -z $verify ]] || fail "systemd-analyze verify: $verify"

echo "$deb:"
dpkg-deb -c "$deb"
missing=$(comm -23 <(cd "$stage" && find usr \( -type f -o -type l \) | sort) \
                   <(dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./||' | sort))
[[ -z $missing ]] || fail "missing from the package:"$'\n'"$missing"

lintian --fail-on error --tag-display-limit 0 "$deb"
