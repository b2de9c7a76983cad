#!/usr/bin/env bash
# The Debian package as cpack makes it from this build, checked as Debian
# checks packages: any error or warning of lintian fails (each tag the package
# overrides says why in packaging/lintian-overrides); so does a changelog whose
# latest version is not the package's, a program without its manual page, or
# AppStream metadata that does not validate. The package is made in a folder
# of its own; the build's own package, if any, stays as it is.
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

(cd "$build" && cpack -G DEB -B "$work" > "$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; exit 1; }
debs=("$work"/*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { echo "cpack made no single .deb"; cat "$work/cpack.log"; exit 1; }
deb=${debs[0]}

lintian --tag-display-limit 0 --display-info --pedantic "$deb" > "$work/lintian.txt" 2>&1 || true
cat "$work/lintian.txt"
if grep -qE '^[EW]: ' "$work/lintian.txt"; then
  echo "lintian: errors or warnings above"
  exit 1
fi

dpkg-deb -x "$deb" "$work/root"
version=$(dpkg-deb -f "$deb" Version)
top=$(zcat "$work/root/usr/share/doc/quorvel/changelog.Debian.gz" | head -n1)
[[ $top == "quorvel ($version) "* ]] || { echo "changelog's latest entry \"$top\" is not version $version"; exit 1; }

for page in quorvel towngen osm2town townroute; do
  [ -f "$work/root/usr/share/man/man1/$page.1.gz" ] || { echo "no manual page for $page"; exit 1; }
done

if command -v appstreamcli > /dev/null; then
  appstreamcli validate --no-net "$work"/root/usr/share/metainfo/*.metainfo.xml
fi
echo "package $(basename "$deb"): lintian clean"
