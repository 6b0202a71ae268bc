#!/usr/bin/env bash
# Checks Kelvra as it is installed, from an existing build (nothing is rebuilt):
#   - the desktop entry (desktop-file-validate) and the AppStream metadata (appstreamcli);
#   - an installation into a temporary prefix: the files a desktop needs are there, the
#     installed kelvra-cli describes the installed default sets, the installed kelvra starts
#     on the offscreen platform with a private HOME and keeps its settings under
#     $XDG_CONFIG_HOME/kelvra/, the MIME package tells a level set by its magic; then every
#     file install_manifest.txt lists is removed and nothing else is left;
#   - the Debian package (cpack -G DEB): its layout and relations, and lintian with no error
#     or warning (the ones accepted are overridden and explained in packaging/README.md).
#
#   bash scripts/package-check.sh [BUILD_DIR]      (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(cd "${1:-build}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
  echo "package-check: FAILED: $*" >&2
  exit 1
}

desktop-file-validate "$build/packaging/kelvra.desktop" || fail "desktop entry"
appstreamcli validate --no-net packaging/org.example.kelvra.metainfo.xml || fail "metainfo"

# Installation into a prefix.
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
expect=(bin/kelvra bin/kelvra-cli share/applications/kelvra.desktop
  share/mime/packages/kelvra.xml share/metainfo/org.example.kelvra.metainfo.xml
  share/man/man6/kelvra.6.gz share/man/man6/kelvra-cli.6.gz share/doc/kelvra/copyright
  share/kelvra/ReadMe.htm)
for size in 16 24 32 48 64 128 256; do
  expect+=("share/icons/hicolor/${size}x$size/apps/kelvra.png")
  for kind in brickfall monsters burrower high-scores; do
    expect+=("share/icons/hicolor/${size}x$size/mimetypes/kelvra-$kind.png")
  done
done
for f in "${expect[@]}"; do [ -s "$prefix/$f" ] || fail "not installed: $f"; done
[ ! -e "$prefix/share/kelvra/ContactSheet.png" ] || fail "the contact sheet is installed"
cmp -s "$prefix/share/applications/kelvra.desktop" "$build/packaging/kelvra.desktop" ||
  fail "installed desktop entry differs from the generated one"
for page in kelvra kelvra-cli; do
  man -l "$prefix/share/man/man6/$page.6.gz" 2>&1 >/dev/null | grep . && fail "man page $page"
done

for set in Brickfall/Default.BrL Monsters/Default.MoL Burrower/Default.BuL; do
  kind=${set%%/*}
  info=$(env -u KELVRA_DATA_DIR "$prefix/bin/kelvra-cli" info "$prefix/share/kelvra/Levels/$set") ||
    fail "kelvra-cli info $set"
  grep -qx "kind: $kind" <<<"$info" || fail "kelvra-cli info $set: $info"
  echo "installed $set: $(grep '^levels:' <<<"$info")"
done

# The installed program, offscreen, with every user folder private; stopped after a few
# seconds by SIGTERM, which closes its window as the close box does.
home=$work/home
mkdir -p "$home" && mkdir -m 700 "$work/runtime"
status=0
env -i PATH="$PATH" HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" \
  XDG_STATE_HOME="$home/state" XDG_CACHE_HOME="$home/cache" XDG_RUNTIME_DIR="$work/runtime" \
  QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy \
  timeout -s TERM 5 "$prefix/bin/kelvra" >"$work/kelvra.log" 2>&1 || status=$?
[ "$status" -eq 124 ] || { cat "$work/kelvra.log"; fail "kelvra ended by itself (status $status)"; }
# Starting cleanly: no message but the offscreen platform's own notice.
if grep -v "^This plugin does not support propagateSizeHints()$" "$work/kelvra.log"; then
  fail "kelvra printed the lines above"
fi
[ -s "$home/config/kelvra/kelvra.ini" ] || { cat "$work/kelvra.log"; fail "no settings saved"; }
grep -q "Levels/Brickfall/Default.BrL" "$home/config/kelvra/kelvra.ini" ||
  fail "the installed default sets were not opened"
echo "installed kelvra ran 5 s offscreen and saved $home/config/kelvra/kelvra.ini"

# The MIME package: a Monsters set under a wrong extension is told by its magic.
mkdir -p "$work/mime-data/mime/packages"
cp "$prefix/share/mime/packages/kelvra.xml" "$work/mime-data/mime/packages/"
XDG_DATA_HOME="$work/mime-data" update-mime-database "$work/mime-data/mime"
cp "$prefix/share/kelvra/Levels/Monsters/Default.MoL" "$work/monsters.BrL"
cp "$prefix/share/kelvra/Levels/Burrower/Default.BuL" "$work/burrower.dat"
for file in monsters.BrL:application/x-kelvra-MoL burrower.dat:application/x-kelvra-BuL; do
  type=$(env -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION -u KDE_FULL_SESSION \
    XDG_DATA_HOME="$work/mime-data" XDG_DATA_DIRS=/usr/share xdg-mime query filetype "$work/${file%%:*}")
  [ "$type" = "${file#*:}" ] || fail "xdg-mime types ${file%%:*} as $type"
  echo "xdg-mime: ${file%%:*} is $type"
done

# Uninstallation: what the manifest lists goes, and nothing else was installed.
xargs -d '\n' rm -f <"$build/install_manifest.txt"
left=$(find "$prefix" -type f -o -type l)
[ -z "$left" ] || fail "left after removing the manifest's files: $left"
echo "installed $(wc -l <"$build/install_manifest.txt") files into a prefix and removed them"

# The Debian package.
(cd "$build" && rm -f kelvra_*.deb && cpack -G DEB >"$work/cpack.log") ||
  { cat "$work/cpack.log"; fail "cpack"; }
deb=$(ls "$build"/kelvra_*.deb)
contents=$(dpkg-deb -c "$deb")
for f in usr/games/kelvra usr/games/kelvra-cli usr/share/doc/kelvra/copyright \
  usr/share/doc/kelvra/changelog.Debian.gz usr/share/kelvra/Levels/Monsters/Default.MoL; do
  grep -q " \./$f\$" <<<"$contents" || fail "$f is not in the package"
done
depends=$(dpkg-deb -f "$deb" Depends)
grep -q "timgm6mb-soundfont" <<<"$depends" || fail "no soundfont in Depends: $depends"
grep -q "libqt6widgets6" <<<"$depends" || fail "no computed library dependencies: $depends"
[ "$(dpkg-deb -f "$deb" Recommends)" = musescore-general-soundfont-small ] || fail "Recommends"
lintian --fail-on error,warning "$deb" ||
  fail "lintian"
echo "package-check: $(basename "$deb") built; desktop entry, metainfo, installation and package passed"
