#!/usr/bin/env bash
# The Debian package, built from this build folder and installed with dpkg into a fresh root:
# its programs answer --help, its manual pages read cleanly, the example copied out of it runs
# headless, its desktop entry validates and *.rfx files map to the desktop program.
#   package.sh BUILD_DIR SOURCE_DIR
#
# dpkg --root rather than dpkg -x: the package goes through dpkg's own installation (control
# data, file list, registration in the root's database) without touching this machine's. The
# root holds only the package, so its programs run with this machine's libraries; that those
# are what the package depends on is checked with apt-get --simulate.
set -uo pipefail
build=$(realpath "$1")
skip() { echo "SKIP: $*"; exit 77; }
die() { echo "FAIL: $*"; exit 1; }

grep -q '^ROADFLUX_SANITIZE:BOOL=ON' "$build/CMakeCache.txt" && skip "packages are made from the normal build, not the sanitizer build"
[ -x "$build/roadflux" ] || skip "the desktop program is not built (Qt 6 missing)"
for tool in cpack dpkg dpkg-deb dpkg-shlibdeps help2man man desktop-file-validate update-mime-database \
            update-desktop-database apt-get; do
  command -v "$tool" >/dev/null || skip "$tool is missing (tools/install-deps.sh installs it)"
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

cpack --config "$build/CPackConfig.cmake" -B "$work/out" >cpack.log 2>&1 || { cat cpack.log; die "cpack failed"; }
debs=("$work"/out/roadflux_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || die "cpack made no roadflux_*.deb: ${debs[*]}"
deb=${debs[0]}

depends=$(dpkg-deb -f "$deb" Depends)
for library in libc6 libstdc++6 libqt6widgets6; do
  [[ $depends == *"$library"* ]] || die "Depends lacks $library (dpkg-shlibdeps): $depends"
done
apt-get install --simulate --no-install-recommends "$deb" >apt.log 2>&1 ||
  { cat apt.log; die "apt cannot install the package's dependencies"; }

root="$work/root"
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
touch "$root/var/lib/dpkg/status"
dpkg --root="$root" --log="$work/dpkg.log" --force-depends -i "$deb" >dpkg.log 2>&1 ||
  { cat dpkg.log; die "dpkg could not install the package into a fresh root"; }
dpkg --root="$root" -s roadflux | grep -q '^Status: install ok installed' || die "dpkg does not list the package as installed"

# The programs answer without a display.
bin="$root/usr/bin"
programs=(roadflux roadflux-cli)
[ -x "$build/roadflux-report" ] && programs+=(roadflux-report)
for program in "${programs[@]}"; do
  [ -x "$bin/$program" ] || die "usr/bin/$program is missing"
done
"$bin/roadflux-cli" --help >cli-help.txt 2>&1 || die "roadflux-cli --help failed: $(cat cli-help.txt)"
grep -q '^  example ' cli-help.txt || die "roadflux-cli --help lists no example command"
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$bin/roadflux" --help >gui-help.txt 2>&1 ||
  die "roadflux --help needs a display: $(cat gui-help.txt)"
grep -q '^Usage: roadflux ' gui-help.txt || die "roadflux --help printed no usage: $(cat gui-help.txt)"
version=$(dpkg-deb -f "$deb" Version)
[ "$(env -u DISPLAY -u WAYLAND_DISPLAY "$bin/roadflux" --version)" = "roadflux $version" ] || die "roadflux --version is not $version"

# The manual pages format without a warning and hold their extra sections.
for page in roadflux-cli roadflux; do
  file="$root/usr/share/man/man1/$page.1.gz"
  [ -f "$file" ] || die "usr/share/man/man1/$page.1.gz is missing"
  MANWIDTH=80 man --warnings -l "$file" >"$page.txt" 2>"$page.err" || die "man -l $page failed: $(cat "$page.err")"
  [ -s "$page.err" ] && die "man -l $page warned: $(cat "$page.err")"
  for section in SYNOPSIS OPTIONS 'EXIT STATUS' ENVIRONMENT FILES 'SEE ALSO'; do
    grep -q "^$section" "$page.txt" || die "$page(1) has no $section section"
  done
done
for command in run new show generate example; do
  grep -q "^   Command $command:" roadflux-cli.txt || die "roadflux-cli(1) does not describe the $command command"
done

# The example is copied out of the installed share folder and runs from the copy.
mkdir home && cd home
"$bin/roadflux-cli" example roadflux-example >example.log 2>&1 || die "roadflux-cli example failed: $(cat example.log)"
grep -q "from $root/usr/share/roadflux/examples into" example.log || die "the example did not come from the package: $(cat example.log)"
cd roadflux-example
"$bin/roadflux-cli" run study.rfx >run.log 2>&1 || die "the example's run failed ($?): $(tail -n 5 run.log)"
[ -s output.txt ] || die "the example's run wrote no output traffic file"
ls metrics/*.csv >/dev/null 2>&1 || die "the example's run wrote no measurement files"
"$bin/roadflux-cli" example . >again.log 2>&1 && die "a second copy into the same folder replaced the example"
cd "$work"

# The desktop side: a valid menu entry whose program and icon are installed, and *.rfx mapped
# to that entry through the MIME database the desktop builds from the package's files.
entry="$root/usr/share/applications/roadflux.desktop"
validation=$(desktop-file-validate "$entry" 2>&1) || die "desktop-file-validate: $validation"
[ -z "$validation" ] || die "desktop-file-validate: $validation"
exec_program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
[ -x "$bin/$exec_program" ] || die "the menu entry starts $exec_program, which is not installed"
icon=$(sed -n 's/^Icon=//p' "$entry")
[ -f "$root/usr/share/icons/hicolor/scalable/apps/$icon.svg" ] || die "the scalable icon $icon is missing"
file "$root/usr/share/icons/hicolor/48x48/apps/$icon.png" | grep -q '48 x 48' || die "the 48x48 icon $icon is missing"
update-mime-database "$root/usr/share/mime" >mime.log 2>&1 || die "update-mime-database: $(cat mime.log)"
mime_type=$(awk -F: '$3 == "*.rfx" {print $2}' "$root/usr/share/mime/globs2")
[ -n "$mime_type" ] || die "no MIME type claims *.rfx"
grep -q "^MimeType=.*$mime_type;" "$entry" || die "the menu entry does not open $mime_type"
update-desktop-database "$root/usr/share/applications" || die "update-desktop-database failed"
grep -q "^$mime_type=roadflux.desktop;" "$root/usr/share/applications/mimeinfo.cache" ||
  die "the desktop's cache does not map $mime_type to roadflux.desktop"

size=$(stat -c %s "$deb")
echo "package: $(basename "$deb"), $size bytes, Installed-Size $(dpkg-deb -f "$deb" Installed-Size) KiB"
echo "Depends: $depends"
dpkg-deb -c "$deb" | awk '{print $3, $6}'
echo "package ok"
