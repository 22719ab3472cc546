#!/usr/bin/env bash
# Installs the program with `cmake --install` into a temporary prefix and from its Debian package into a clean
# root; checks the installed files, the desktop validators and the package's fields; then starts each installed
# copy under Xvfb with a fresh HOME and checks that it keeps its settings in ~/.config/Tarvelin2/ and nowhere else.
# Usage: install_test.sh BUILD_FOLDER SOURCE_FOLDER CMAKE CPACK
set -euo pipefail
build="$1" source="$2" cmake="$3" cpack="$4"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

expected_files() {
    {
        printf '%s\n' bin/tarvelin2 share/applications/tarvelin2.desktop share/mime/packages/tarvelin2.xml \
            share/metainfo/example.tarvelin2.Tarvelin2.metainfo.xml share/tarvelin2/TARVELIN2.html \
            share/icons/hicolor/scalable/apps/tarvelin2.svg share/doc/tarvelin2/copyright share/doc/tarvelin2/changelog.gz
        for size in 16 22 24 32 48 64 128 256; do echo "share/icons/hicolor/${size}x${size}/apps/tarvelin2.png"; done
        for image in "$source"/resources/help/images/*.png; do echo "share/tarvelin2/images/${image##*/}"; done
    } | sort
}

files_under() { (cd "$1" && find . -type f | sed 's|^\./||' | sort); }
# The caches a direct install has the desktop's tools write.
desktop_caches() { grep -Ev '^share/mime/[^p]|^share/mime/packages/.+/|^share/applications/mimeinfo\.cache$'; }

# check_tree PREFIX live|staged: a live install has told the desktop about the list type, a staged one has not.
check_tree() {
    local prefix="$1" how="$2"
    diff <(files_under "$prefix" | desktop_caches) <(expected_files) || fail "installed files in $prefix"
    if [ "$how" = live ]; then
        grep -qx 'application/x-tarvelin2-list:\*\.kxd' "$prefix/share/mime/globs" || fail "MIME database not updated"
        grep -q '^application/x-tarvelin2-list=tarvelin2\.desktop' "$prefix/share/applications/mimeinfo.cache" ||
            fail "desktop database not updated"
    else
        [ ! -e "$prefix/share/mime/globs" ] && [ ! -e "$prefix/share/applications/mimeinfo.cache" ] ||
            fail "a staged install wrote the desktop's caches"
    fi
    desktop-file-validate --no-hints "$prefix/share/applications/tarvelin2.desktop" || fail "desktop-file-validate"
    appstreamcli validate-tree --no-net "$prefix" >"$work/appstream.log" || { cat "$work/appstream.log"; fail "appstreamcli"; }
    rm -rf "$work/mime" && cp -r "$prefix/share/mime" "$work/mime"
    update-mime-database "$work/mime"
    grep -qx 'application/x-tarvelin2-list:\*\.kxd' "$work/mime/globs" || fail "*.kxd is not a list file type"
}

# Starts the installed program with HOME at a new folder, waits for its window, ends it with SIGTERM.
run_installed() {
    local prefix="$1" home="$work/home-$2"
    mkdir -p "$home"
    local before
    before="$(files_under "$prefix")"
    env -u TARVELIN2_DIR -u XDG_CONFIG_HOME HOME="$home" xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
        "$1" & pid=$!
        window=$(timeout 30 xdotool search --sync --onlyvisible --name "^Tarvelin2$" | head -n 1)
        [ -n "$window" ] || { echo "no window titled Tarvelin2"; kill -KILL "$pid"; exit 1; }
        kill -TERM "$pid"
        wait "$pid"
    ' _ "$prefix/bin/tarvelin2" || fail "running $prefix/bin/tarvelin2"
    [ "$(files_under "$prefix")" = "$before" ] || fail "the program wrote into $prefix"
    # Qt and fontconfig may keep caches in ~/.cache; the program's own files all go to ~/.config/Tarvelin2/.
    local written
    written="$(cd "$home" && find . -type f -not -path './.cache/*' | sed 's|^\./||' | sort)"
    [ "$written" = ".config/Tarvelin2/KX2cfg.ini" ] || fail "files written under HOME: $written"
    head -c 24 "$home/.config/Tarvelin2/KX2cfg.ini" | cmp -s - <(printf '[Window]\r\nState=Normal\r\n') ||
        fail "settings file: $(od -c "$home/.config/Tarvelin2/KX2cfg.ini" | head -3)"
}

"$cmake" --install "$build" --prefix "$work/prefix" >/dev/null
check_tree "$work/prefix" live
run_installed "$work/prefix" prefix
echo "cmake --install: files, validators and settings folder passed"

(cd "$build" && "$cpack" -G DEB -B "$work/deb" >"$work/cpack.log") || { cat "$work/cpack.log"; fail "cpack"; }
deb=("$work"/deb/tarvelin2_*.deb)
[ -f "${deb[0]}" ] || fail "no package built"
fields="$(dpkg-deb -f "${deb[0]}" Package Version Architecture Section)"
expected_fields="$(printf 'Package: tarvelin2\nVersion: 2.0\nArchitecture: %s\nSection: utils' "$(dpkg --print-architecture)")"
[ "$fields" = "$expected_fields" ] || fail "control fields: $fields"
depends="$(dpkg-deb -f "${deb[0]}" Depends)"
for needed in 'libqt6widgets6 (>= 6' 'libqt6svg6 (>= 6.4)' 'qt6-qpa-plugins (>= 6.4)' 'fonts-ipafont-gothic | fonts-noto-cjk'; do
    [[ "$depends" == *"$needed"* ]] || fail "Depends lacks $needed: $depends"
done
diff <(dpkg-deb -c "${deb[0]}" | awk '$1 ~ /^-/ { print $6 }' | sed 's|^\./usr/||' | sort) <(expected_files) ||
    fail "package file list"
dpkg-deb -x "${deb[0]}" "$work/root"
check_tree "$work/root/usr" staged
if command -v lintian >/dev/null; then
    lintian --fail-on error "${deb[0]}" >"$work/lintian.log" 2>&1 ||
        { cat "$work/lintian.log"; fail "lintian"; }
fi
run_installed "$work/root/usr" package
echo "install test passed"
