#!/usr/bin/env bash
# Installs the build into a temporary root and checks what a Linux desktop reads from it: the
# desktop entry and the metainfo validate, they and the icons carry the application id, the
# icon is there in every size and is that size, and the entry starts the installed program,
# whose window the desktop can tie back to the entry.
#   check_install.sh <cmake> <build dir>     (run inside xvfb-run)
set -euo pipefail
cmake=$1
build=$2
id=org.veltrano.Veltrano
fail() { echo "FAIL: $*"; exit 1; }
for tool in desktop-file-validate appstreamcli file xdotool xprop; do
    command -v "$tool" >/dev/null || fail "$tool is not installed"
done

[ -n "${DISPLAY:-}" ] || fail "no X display (run under xvfb-run)"

root=$(mktemp -d)
pid=
trap '[ -z "$pid" ] || kill "$pid" 2>/dev/null || true; rm -rf "$root"' EXIT
"$cmake" --install "$build" --prefix "$root/usr" >/dev/null
share=$root/usr/share
entry=$share/applications/$id.desktop
metainfo=$share/metainfo/$id.metainfo.xml
[ -f "$entry" ] || fail "no desktop entry $id.desktop"
[ -f "$metainfo" ] || fail "no metainfo $id.metainfo.xml"

# Hints count as failures too: a clean entry prints nothing.
output=$(desktop-file-validate "$entry" 2>&1) || fail "desktop-file-validate: $output"
[ -z "$output" ] || fail "desktop-file-validate: $output"
echo "desktop-file-validate: clean"
output=$(appstreamcli validate --no-net "$metainfo" 2>&1) || fail "appstreamcli validate: $output"
echo "appstreamcli validate: ${output##*$'\n'}"
# The whole tree: metainfo against its desktop entry and icons.
output=$(appstreamcli validate-tree --no-net "$root/usr" 2>&1) || fail "appstreamcli validate-tree: $output"
echo "appstreamcli validate-tree: ${output##*$'\n'}"

key() { sed -n "s/^$1=//p" "$entry"; } # the untranslated value of a key
exec_line=$(key Exec)
program=${exec_line%% *}
[ "$exec_line" = "$program" ] || fail "Exec passes arguments to a program that takes none: $exec_line"
[ -x "$root/usr/bin/$program" ] || fail "Exec names $program, which is not installed in bin"
[ "$(key Icon)" = "$id" ] || fail "Icon is '$(key Icon)', not $id"
grep -q '^Comment\[ru\]=.' "$entry" || fail "no Russian comment"
grep -q '^Comment=.' "$entry" || fail "no English comment"
grep -q '^Categories=.*Office;' "$entry" || fail "not in the Office category"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" \
    || fail "the metainfo does not launch $id.desktop"
grep -q "<binary>$program</binary>" "$metainfo" || fail "the metainfo does not provide $program"

icons=$share/icons/hicolor
for size in 16 32 48 64 128; do
    icon=$icons/${size}x$size/apps/$id.png
    [ -f "$icon" ] || fail "no ${size}x$size icon"
    file -b "$icon" | grep -q "^PNG image data, $size x $size," \
        || fail "the ${size}x$size icon is $(file -b "$icon")"
done
file -b "$icons/scalable/apps/$id.svg" | grep -q '^SVG' || fail "no scalable icon"
echo "icons: 16 32 48 64 128 scalable"

# Started as the entry says, the window's WM_CLASS is what the entry expects: that is how
# X11 desktops give the window the entry's name and icon.
wm_class=$(key StartupWMClass)
[ -n "$wm_class" ] || fail "no StartupWMClass"
mkdir "$root/home"
HOME=$root/home PATH="$root/usr/bin:$PATH" $exec_line &
pid=$!
window=
for ((i = 0; i < 200; i++)); do
    window=$(xdotool search --onlyvisible --pid "$pid" --name '^Veltrano$' 2>/dev/null | head -1) || true
    [ -z "$window" ] || break
    sleep 0.05
done
[ -n "$window" ] || fail "the installed program showed no window"
classes=$(xprop -id "$window" WM_CLASS)
[[ $classes == *"\"$wm_class\""* ]] || fail "StartupWMClass=$wm_class, but the window has $classes"
xprop -id "$window" _NET_WM_ICON | grep -q 'Icon (' || fail "the window has no icon"
echo "window: $classes"
