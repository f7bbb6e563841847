#!/usr/bin/env bash
# Builds the Debian package from a built folder, unpacks it with dpkg-deb -x into a temporary
# root and checks it the way a user of a lab machine meets it: the menu entry and metainfo
# validate, the declared dependencies cover the linked libraries, and the unpacked program,
# started as an ordinary user (nobody, when run as root) with a home of its own from a folder
# without Data, shows the seven start-up textures, keeps its settings in ~/.config and reads
# them back, ends on SIGTERM with one message on standard error when it cannot save, and
# answers --version, --help and unknown options without a display.
#   scripts/package-test.sh [build folder]     (default: build; CTest runs it as PackageTest)
set -euo pipefail
build=$(readlink -f "${1:-build}")
work=$(mktemp -d /tmp/opgl-package.XXXXXX)
xvfb=""
cleanup() {
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
  chmod -R u+w "$work" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
chmod 755 "$work"
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# ---- the package --------------------------------------------------------------------------
(cd "$build" && cpack -G DEB -B "$work/out" >"$work/cpack.log" 2>&1) ||
  { cat "$work/cpack.log"; fail "cpack"; }
deb=$(ls "$work"/out/*.deb)
[ "$(basename "$deb")" = "opglproject_1.0.0.0_$(dpkg --print-architecture).deb" ] ||
  fail "package file name $(basename "$deb")"
depends=$(dpkg-deb -f "$deb" Depends)
root="$work/root"
dpkg-deb -x "$deb" "$root"
chmod 755 "$root"
exe="$root/usr/bin/OpglProject"
id=org.opglproject.OpglProject
share="$root/usr/share"
for f in "$exe" "$share/applications/$id.desktop" "$share/metainfo/$id.metainfo.xml" \
  "$share/icons/hicolor/scalable/apps/$id.svg" "$share/icons/hicolor/256x256/apps/$id.png"; do
  [ -f "$f" ] || fail "missing ${f#"$root"}"
done
[ "$(ls "$share/OpglProject/Data" | wc -l)" = 7 ] || fail "not seven start-up textures"
gm identify -format '%w x %h' "$share/icons/hicolor/256x256/apps/$id.png" | grep -qx '256 x 256' ||
  fail "PNG icon is not 256 pixels"
desktop-file-validate "$share/applications/$id.desktop"
appstreamcli validate --no-net "$share/metainfo/$id.metainfo.xml" >"$work/appstream.log" 2>&1 ||
  { cat "$work/appstream.log"; fail "metainfo"; }

# Each library the executable links comes from a package it depends on.
for lib in $(readelf -d "$exe" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'); do
  path=$(ldd "$exe" | awk -v lib="$lib" '$1 == lib && $3 ~ /^\// {print $3}')
  [ -z "$path" ] && continue # the dynamic loader itself
  owner=""
  # dpkg knows a file by the path its package gave; /lib and /usr/lib are one folder.
  for candidate in "$path" "/usr$path" "${path#/usr}" "$(readlink -f "$path")"; do
    owner=$(dpkg -S "$candidate" 2>/dev/null | head -1 | cut -d: -f1) || true
    [ -n "$owner" ] && break
  done
  [ -n "$owner" ] || fail "no package owns $path"
  sed 's/ *([^)]*)//g; s/, */\n/g' <<<"$depends" | grep -Fqx "$owner" ||
    fail "Depends lacks $owner (for $lib)"
done

# ---- the unpacked program as an ordinary user ------------------------------------------
home="$work/home"
wd="$work/wd" # a working folder without Data
locked="$work/locked"
mkdir -p "$home" "$wd" "$locked"
if [ "$(id -u)" -eq 0 ]; then
  as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
  chown nobody:nogroup "$home" "$wd"
else
  # The package's own folders are root's: neither the program's folder nor the locked one
  # can be written by the user.
  as_user=()
  chmod -R a-w "$root/usr"
fi
chmod 555 "$locked"

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -ac 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  sleep 0.1
done
[ -s "$work/display" ] || fail "Xvfb did not start"
display=":$(head -1 "$work/display")"

# Starts the program with HOME $1 and waits for its start-up report, ends it with SIGTERM and
# waits at most 30 s for it to end; standard output in $work/out.txt, errors in $work/err.txt.
run_once() {
  (cd "$wd" && exec "${as_user[@]}" env -i PATH=/usr/bin:/bin LANG=C.UTF-8 HOME="$1" \
    DISPLAY="$display" OPGL_STARTUP_REPORT=1 "$exe" >"$work/out.txt" 2>"$work/err.txt") &
  local pid=$!
  for _ in $(seq 600); do
    grep -q '^settings=' "$work/out.txt" 2>/dev/null && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  grep -q '^settings=' "$work/out.txt" || { cat "$work/err.txt"; fail "no start-up report"; }
  kill -TERM "$pid"
  for _ in $(seq 300); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$pid" 2>/dev/null; then
    kill -KILL "$pid"
    fail "still running 30 s after SIGTERM"
  fi
  wait "$pid" || fail "exit status $? after SIGTERM"
}

ini="$home/.config/OpglProject/OpglProject.ini"
run_once "$home"
grep -qx "settings=$ini" "$work/out.txt" || fail "settings file: $(grep settings= "$work/out.txt")"
textures=$(sed -n 's/^texture=//p' "$work/out.txt")
expected=""
for name in Block01 Block02 Metal01 Stone01 Stone02 Test TinNon; do
  expected+="$name|$root/usr/share/OpglProject/Data/$name.jpg"$'\n'
done
[ "$textures"$'\n' = "$expected" ] || fail "texture list:"$'\n'"$textures"
[ -f "$ini" ] || fail "no settings file in ~/.config"
[ ! -e "$root/usr/bin/OpglProject.ini" ] || fail "settings written beside the executable"
[ "$(stat -c %a "$home/.config/OpglProject")" = 700 ] || fail "settings folder not private"
grep -qx 'mGLCamera=0' "$ini" || fail "no camera section"
! grep -q 'Unable to write' "$work/err.txt" || fail "$(cat "$work/err.txt")"

# A value changed in the file is read at the next start and written back.
"${as_user[@]}" sed -i 's/^mGLCamera=0$/mGLCamera=4242/' "$ini"
run_once "$home"
grep -qx 'mGLCamera=4242' "$ini" || fail "changed value not read back"

# Nowhere to save: one message on standard error, and the SIGTERM still ends the program.
run_once "$locked/home"
messages=$(grep 'Unable to write' "$work/err.txt" || true)
[ "$messages" = "Unable to write to $locked/home/.config/OpglProject/OpglProject.ini" ] ||
  fail "messages when nothing can be written:"$'\n'"$(cat "$work/err.txt")"

# The command line, without a display.
plain=("${as_user[@]}" env -i PATH=/usr/bin:/bin HOME="$home")
[ "$("${plain[@]}" "$exe" --version)" = "OpglProject 1.0.0.0" ] || fail "--version"
"${plain[@]}" "$exe" --help | grep -q -- '--version' || fail "--help"
status=0
"${plain[@]}" "$exe" --no-such-option >"$work/out.txt" 2>"$work/err.txt" || status=$?
[ "$status" = 2 ] || fail "unknown option: exit status $status"
grep -q "Unknown option 'no-such-option'" "$work/err.txt" || fail "unknown option: no message"
echo "package $(basename "$deb"): all checks passed"
