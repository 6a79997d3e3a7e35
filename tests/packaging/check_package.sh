#!/usr/bin/env bash
# Builds the Debian package with CPack and checks what apt would see: exactly the program's
# files under /usr with sane owners and modes, a stripped program, and control fields whose
# Depends bring the Qt libraries, the X11 platform plugin, libjpeg and the fonts.
#   check_package.sh <cpack> <CPackConfig.cmake> <work dir> <version>
set -euo pipefail
cpack=$1
config=$2
work=$3
version=$4
id=org.veltrano.Veltrano
fail() { echo "FAIL: $*"; exit 1; }
for tool in dpkg-deb dpkg-shlibdeps file; do
    command -v "$tool" >/dev/null || fail "$tool is not installed"
done

rm -rf "$work"
mkdir -p "$work"
"$cpack" --config "$config" -G DEB -B "$work" >"$work/cpack.log" 2>&1 \
    || { cat "$work/cpack.log"; fail "cpack failed"; }
shopt -s nullglob
debs=("$work"/veltrano_*.deb)
[ ${#debs[@]} -eq 1 ] || fail "expected one veltrano_*.deb, found ${#debs[@]}"
deb=${debs[0]}
echo "built $(basename "$deb"), $(stat -c %s "$deb") bytes"

# The file list: nothing missing, nothing extra, all owned by root.
expected=(
    "-rwxr-xr-x ./usr/bin/veltrano"
    "-rw-r--r-- ./usr/share/applications/$id.desktop"
    "-rw-r--r-- ./usr/share/metainfo/$id.metainfo.xml"
    "-rw-r--r-- ./usr/share/icons/hicolor/scalable/apps/$id.svg"
)
for size in 16 32 48 64 128; do
    expected+=("-rw-r--r-- ./usr/share/icons/hicolor/${size}x$size/apps/$id.png")
done
listing=$(dpkg-deb -c "$deb")
actual=$(awk '$1 !~ /^d/ { print $1, $6 }' <<<"$listing" | sort)
wanted=$(printf '%s\n' "${expected[@]}" | sort)
[ "$actual" = "$wanted" ] || fail "file list differs:
$(diff <(echo "$wanted") <(echo "$actual") || true)"
awk '$2 != "root/root" { bad = 1; print "not root/root:", $0 } END { exit bad }' <<<"$listing" \
    || fail "files not owned by root"
awk '$6 != "./" && $6 !~ /^\.\/usr\// { bad = 1; print "outside /usr:", $0 } END { exit bad }' \
    <<<"$listing" || fail "entries outside /usr"
echo "files: ${#expected[@]}, as expected"

dpkg-deb -x "$deb" "$work/root"
program_type=$(file -b "$work/root/usr/bin/veltrano")
[[ $program_type == ELF* ]] || fail "the program is $program_type"
[[ $program_type == *", stripped"* ]] || fail "the program is not stripped: $program_type"

# Control fields.
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = veltrano ] || fail "Package is '$(field Package)'"
[[ $(field Version) =~ ^${version//./\\.}(-[0-9]+)?$ ]] || fail "Version '$(field Version)' is not $version"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] \
    || fail "Architecture '$(field Architecture)' is not $(dpkg --print-architecture)"
[[ $(field Maintainer) =~ ^[^\<]+\ \<[^@\>]+@[^\>]+\>$ ]] || fail "Maintainer '$(field Maintainer)' is no name and address"
description=$(field Description)
summary=${description%%$'\n'*}
if [ -z "$summary" ] || [ ${#summary} -gt 80 ]; then fail "Description's first line '$summary'"; fi
[ "$(wc -l <<<"$description")" -ge 2 ] || fail "Description has no long text"
# Package managers show the long text as it is: lines that fit a terminal.
! awk 'length > 79' <<<"$description" | grep . || fail "Description lines longer than 79 columns"
[ -n "$(field Section)" ] || fail "no Section"

# Depends and Recommends as bare package names, alternatives included.
names() { tr ',|' '\n' <<<"$1" | sed 's/(.*)//; s/:any//; s/^ *//; s/ *$//' | sed '/^$/d' | sort -u; }
depends=$(names "$(field Depends)")
echo "Depends: $(field Depends)"
for package in libqt6core6 libqt6gui6 libqt6widgets6 libjpeg62-turbo fonts-liberation \
               xdg-utils libc6 libstdc++6; do
    grep -qx "$package" <<<"$depends" || fail "Depends lacks $package"
done
# No window opens without a platform plugin, and no library names it: whichever package
# holds the X11 one here must be a dependency.
xcb_plugin=$(dpkg -S '*/qt6/plugins/platforms/libqxcb.so' 2>/dev/null | head -1) \
    || fail "the Qt X11 platform plugin is not installed here"
xcb_package=${xcb_plugin%%:*}
grep -qx "$xcb_package" <<<"$depends" || fail "Depends lacks $xcb_package, which holds the X11 platform plugin"
! grep -E -- '-dev$|gtest|gmock|benchmark' <<<"$depends" || fail "Depends names build-only packages"
grep -qx qt6-wayland <<<"$(names "$(field Recommends)")" || fail "Recommends lacks qt6-wayland"
# A misspelt name would make the package uninstallable: every one must be known here.
for package in $depends $(names "$(field Recommends)"); do
    dpkg-query -W "$package" >/dev/null 2>&1 || apt-cache show "$package" >/dev/null 2>&1 \
        || fail "$package is no Debian package known here"
done
echo "control fields as expected"
