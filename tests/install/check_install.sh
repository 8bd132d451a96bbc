#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a desktop would pick up from it.
set -euo pipefail
build=$1
id=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" > /dev/null

share=$prefix/share
for file in bin/quillmarch share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
            share/icons/hicolor/scalable/apps/$id.svg share/man/man1/quillmarch.1; do
  [ -f "$prefix/$file" ] || { echo "not installed: $file"; exit 1; }
done
for size in 16 32 48 64 128 256; do
  icon=$share/icons/hicolor/${size}x${size}/apps/$id.png
  [ -f "$icon" ] || { echo "not installed: $icon"; exit 1; }
  # An icon of the wrong size is scaled by the desktop and looks blurred.
  dims=$(od -An -tu1 -j16 -N8 "$icon" | awk '{print $3*256+$4 "x" $7*256+$8}')
  [ "$dims" = "${size}x${size}" ] || { echo "$icon is $dims"; exit 1; }
done

desktop-file-validate "$share/applications/$id.desktop"
appstreamcli validate --no-net "$share/metainfo/$id.metainfo.xml"
grep -q "^Icon=$id$" "$share/applications/$id.desktop" || { echo "the entry names another icon"; exit 1; }

# The installed program starts from its own place, not from the build folder.
version=$(HOME=$prefix XDG_CONFIG_HOME=$prefix/cfg XDG_DATA_HOME=$prefix/data "$prefix/bin/quillmarch" --version)
case "$version" in *[0-9].[0-9]*) ;; *) echo "--version said: $version"; exit 1 ;; esac

# Every job the program lists is documented in the manual page.
manual=$(MANWIDTH=200 man -l "$share/man/man1/quillmarch.1" 2>/dev/null)
jobs=$(HOME=$prefix XDG_CONFIG_HOME=$prefix/cfg "$prefix/bin/quillmarch" --help |
       sed -n '/^Jobs:/,/^Options:/p' | awk '/^  [a-z]/ {print $1}')
[ -n "$jobs" ] || { echo "no jobs in --help"; exit 1; }
for job in $jobs; do
  grep -q "^       $job\b" <<< "$manual" || { echo "the manual page lacks the job $job"; exit 1; }
done
options=$(HOME=$prefix XDG_CONFIG_HOME=$prefix/cfg "$prefix/bin/quillmarch" --help |
          sed -n '/^Options:/,$p' | grep -o '^  --[a-z-]*')
for option in $options; do
  grep -q -- "$option" <<< "$manual" || { echo "the manual page lacks $option"; exit 1; }
done
echo "installed tree, validators, --version and manual page: all well"
