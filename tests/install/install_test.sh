#!/usr/bin/env bash
# Installs the built program into a temporary prefix (mode "prefix") or unpacks the built
# Debian package (mode "package"), then checks that the installed program lists and exports
# the demo database, finds its German and English libraries and help books, and that its
# manual pages render without warnings.
set -euo pipefail
mode=$1 build=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
case "$mode" in
  prefix)
    cmake --install "$build" --prefix "$work/root/usr" >/dev/null
    ;;
  package)
    (cd "$build" && cpack -G DEB -B "$work/pkg" >/dev/null)
    deb=$(ls "$work"/pkg/*.deb)
    # Read once: "dpkg-deb | grep -q" fails under pipefail when grep stops reading early.
    info=$(dpkg-deb --info "$deb")
    grep -q "Package: lumenport" <<<"$info"
    grep -q "Depends:.*libc6" <<<"$info"
    dpkg -x "$deb" "$work/root"
    ;;
esac
root=$work/root/usr
prog=$root/bin/kvbrars
fail() { echo "FAIL: $*" >&2; exit 1; }
[ -x "$prog" ] || fail "no program at $prog"
[ -f "$root/lib/lumenport/kvbrdeu.so" ] || fail "no German library"
[ ! -f "$build/bin/kvbrdesk.so" ] || [ -f "$root/lib/lumenport/kvbrdesk.so" ] || fail "no desktop module"
[ -f "$root/lib/lumenport/kvbrenu.so" ] || fail "no English library"
[ -f "$root/share/lumenport/aris/LOCAL/Demo.xml" ] || fail "no demo database"
[ -f "$root/share/man/man1/kvbrars.1" ] || fail "no manual page"
[ -f "$root/share/man/man5/kvbrars.prf.5" ] || fail "no manual page of the profile"
[ -f "$root/share/doc/lumenport/README.md" ] || fail "no README"
for book in kvbrdeu.htb kvbrenu.htb; do
  [ ! -f "$build/bin/$book" ] || [ -f "$root/share/lumenport/$book" ] || fail "help book $book not installed"
done

export HOME=$work/home LUMENPORT_USER_REG=$work/home/user.reg LUMENPORT_MACHINE_REG=$work/none.reg
unset LUMENPORT_ARIS_SERVERS XDG_DATA_HOME XDG_CONFIG_HOME DISPLAY WAYLAND_DISPLAY
mkdir -p "$HOME"
"$prog" --version | grep -q '^kvbrars ' || fail "--version"
sel=$("$prog" --list /SVR=LOCAL /DB=Demo /LOC=1031 2>/dev/null | paste -sd';')
[ -n "$sel" ] || fail "--list printed no models"
for lang in ENU DEU; do
  printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Veltrane\\Lumenport\\CurrentVersion]\r\n"Language"="%s"\r\n' "$lang" > "$LUMENPORT_USER_REG"
  out=$work/out-$lang/demo.wpx
  mkdir -p "$(dirname "$out")"
  "$prog" --batch --output "$out" /SVR=LOCAL /DB=Demo /USR=system "/SEL=$sel" /LOC=1031 2>"$work/err-$lang" \
    || fail "export with $lang ended with $? : $(cat "$work/err-$lang")"
  [ -f "$out" ] && [ -f "${out%.wpx}.log" ] || fail "export with $lang wrote no files"
done
# The user's own profile is read from the settings folder when none lies beside the program.
mkdir -p "$HOME/.config/lumenport"
printf 'OBJECT_MAPPING PROCESS\n    OBJECT_TYPE = 1\nEND\n' > "$HOME/.config/lumenport/kvbrars.prf"
listed=$("$prog" --list /SVR=LOCAL /DB=Demo /LOC=1033 2>/dev/null)
grep -q ',1$' <<<"$listed" || fail "the user's profile was not read"
rm "$HOME/.config/lumenport/kvbrars.prf"
# A missing language library is reported, which shows the program looks for it beside itself.
printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Veltrane\\Lumenport\\CurrentVersion]\r\n"Language"="FRA"\r\n' > "$LUMENPORT_USER_REG"
set +e
"$prog" --batch /SVR=LOCAL /DB=Demo /USR=x "/SEL=$sel" /LOC=1031 2>/dev/null
[ $? -eq 4 ] || fail "a missing library does not end with 4"
set -e
for page in man1/kvbrars.1 man5/kvbrars.prf.5; do
  warnings=$(MANWIDTH=80 man --warnings -l "$root/share/man/$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "man page warnings in $page: $warnings"
done
echo "install check ($mode): 1 passed, 0 failed"
