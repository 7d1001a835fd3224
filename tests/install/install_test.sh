#!/usr/bin/env bash
# Installs the build into a temporary prefix, validates the desktop entry and the AppStream
# metadata, and starts the installed trainer offscreen until its first painted index page, with
# the history in the per-user data folder.
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" > /dev/null

for file in bin/karvena bin/karvena-collection share/karvena/Karvena.dgo \
            share/karvena/index.html share/karvena/ATTRIBUTION.txt \
            share/karvena/LICENSE-problems.txt share/karvena/LICENSE \
            share/karvena/ATTRIBUTION.zh_CN.txt \
            share/applications/org.karvena.Karvena.desktop \
            share/metainfo/org.karvena.Karvena.metainfo.xml \
            share/icons/hicolor/scalable/apps/org.karvena.Karvena.svg; do
    [ -e "$prefix/$file" ] || { echo "not installed: $file"; exit 1; }
done
for size in 16 22 24 32 48 64 128 256; do
    icon="$prefix/share/icons/hicolor/${size}x${size}/apps/org.karvena.Karvena.png"
    [ -s "$icon" ] || { echo "no ${size} px icon"; exit 1; }
done

desktop-file-validate "$prefix/share/applications/org.karvena.Karvena.desktop"
appstreamcli validate --no-net --pedantic "$prefix/share/metainfo/org.karvena.Karvena.metainfo.xml"

# The installed trainer, as a new user starts it.
mkdir -p "$work/runtime" && chmod 700 "$work/runtime"
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share" \
       XDG_CACHE_HOME="$work/home/.cache" XDG_RUNTIME_DIR="$work/runtime" \
       QT_QPA_PLATFORM=offscreen KARVENA_LANG=en KARVENA_STARTUP_TIMING=1
output=$(timeout 60 "$prefix/bin/karvena" 2>/dev/null)
echo "$output" | grep -q "first index page painted" || { echo "no index page: $output"; exit 1; }
# The sound module is the installed one, not the build's.
echo "$output" | grep -q "^sound module: $prefix/lib" || { echo "no installed sound module: $output"; exit 1; }
[ -f "$XDG_DATA_HOME/Tellurix/Karvena/History1.cds" ] || { echo "no history in the data folder"; exit 1; }
[ ! -e "$prefix/bin/History1.cds" ] && [ ! -e "$prefix/share/karvena/History1.cds" ] \
    || { echo "a history beside the installed program"; exit 1; }
"$prefix/bin/karvena" --version | grep -q "^karvena "
echo "installed and started"
