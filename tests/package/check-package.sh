#!/usr/bin/env bash
# Makes the Debian package from a finished build and checks it: the files it
# installs, its Depends line, the desktop entry and AppStream metainfo with
# their validators, the ABF file type, and that the packaged programs run.
#   check-package.sh BUILD_DIR VERSION
# Exit code 77 (skipped) when a packaging or validation tool is missing.
set -euo pipefail
build=$1
version=$2

for tool in cpack dpkg-deb dpkg-shlibdeps file desktop-file-validate appstreamcli update-mime-database; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "skipped: $tool is not installed"
        exit 77
    fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

(cd "$build" && cpack -G DEB -B "$work/out" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; fail "cpack"; }
deb=$(ls "$work"/out/tessaran_"$version"_*.deb 2>/dev/null | head -n1)
[ -n "$deb" ] || { ls "$work/out"; fail "no tessaran_${version}_<arch>.deb"; }
echo "package: $(basename "$deb")"

dpkg-deb -c "$deb" | awk '{print $NF}' | sed 's|^\./|/|' >"$work/contents"
expected=(
    /usr/bin/tessaran /usr/bin/tessaran-cli
    /usr/share/applications/tessaran.desktop
    /usr/share/icons/hicolor/scalable/apps/tessaran.svg
    /usr/share/mime/packages/tessaran.xml
    /usr/share/metainfo/org.tessaran.Tessaran.metainfo.xml
    /usr/share/man/man1/tessaran.1.gz /usr/share/man/man1/tessaran-cli.1.gz
    /usr/share/doc/tessaran/copyright
)
for size in 16 24 32 48 64 128 256; do
    expected+=("/usr/share/icons/hicolor/${size}x${size}/apps/tessaran.png")
done
for path in "${expected[@]}"; do
    grep -qx "$path" "$work/contents" || fail "the package lacks $path"
done
# Nothing outside /usr, and no test or benchmark program.
if grep -v '^/usr\(/\|$\)\|^/$' "$work/contents" | grep -q .; then fail "files outside /usr"; fi
if grep -q 'test_\|bench_\|make-sample' "$work/contents"; then fail "test programs packaged"; fi

description=$(dpkg-deb -f "$deb" Description)
[ "$(sed -n '2s/^ //p' <<<"$description")" != "$(head -n1 <<<"$description")" ] ||
    fail "the description repeats its summary"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for library in libqt6widgets6 libqt6charts6 libxlsxwriter libc6; do
    [[ $depends == *"$library"* ]] || fail "Depends lacks $library"
done

root="$work/root"
dpkg-deb -x "$deb" "$root"
desktop-file-validate "$root/usr/share/applications/tessaran.desktop" || fail "desktop-file-validate"
grep -qx 'MimeType=application/x-axon-abf;' "$root/usr/share/applications/tessaran.desktop" ||
    fail "the desktop entry does not open ABF recordings"
appstreamcli validate --no-net "$root/usr/share/metainfo/org.tessaran.Tessaran.metainfo.xml" ||
    fail "appstreamcli validate"
grep -q "<release version=\"$version\"" "$root/usr/share/metainfo/org.tessaran.Tessaran.metainfo.xml" ||
    fail "the metainfo has no release $version"

# The file type as shared-mime-info compiles it: the glob and the magic.
mkdir -p "$work/mime/packages"
cp "$root/usr/share/mime/packages/tessaran.xml" "$work/mime/packages/"
# (It notes on stderr that the folder is not on the search path: expected.)
update-mime-database "$work/mime" 2>"$work/mime.log" || { cat "$work/mime.log"; fail "update-mime-database"; }
grep -q 'application/x-axon-abf:\*\.abf' "$work/mime/globs2" || fail "no *.abf glob"
grep -q 'application/x-axon-abf' "$work/mime/magic" || fail "no ABF magic"

for page in tessaran tessaran-cli; do
    gzip -t "$root/usr/share/man/man1/$page.1.gz" || fail "$page.1.gz"
    zcat "$root/usr/share/man/man1/$page.1.gz" | grep -q "^\.TH .* \"Tessaran $version\"" ||
        fail "$page.1 does not carry version $version"
done

[ "$("$root/usr/bin/tessaran-cli" --version)" = "tessaran-cli $version" ] || fail "tessaran-cli --version"
[ "$("$root/usr/bin/tessaran" --version)" = "tessaran $version" ] || fail "tessaran --version"
echo "package checked"
