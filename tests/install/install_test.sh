#!/usr/bin/env bash
# Installs the built program into a temporary prefix (mode "prefix") or unpacks the built
# Debian packages (mode "package"), then checks that the installed program lists and exports
# the demo database, finds its German and English libraries and help books, takes its language
# from the locale, and that its manual page renders without warnings and its German example
# works on a fresh account. In mode "package" it also checks the packages with lintian and,
# as root, installs, runs and removes them.
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
    deb=$(ls "$work"/pkg/lumenport_*.deb)
    desk=$(ls "$work"/pkg/lumenport-desktop_*.deb 2>/dev/null || true)
    [ -n "$desk" ] || [ ! -f "$build/bin/kvbrdesk.so" ] || { echo "FAIL: no desktop package" >&2; exit 1; }
    # Read once: "dpkg-deb | grep -q" fails under pipefail when grep stops reading early.
    info=$(dpkg-deb --info "$deb")
    grep -q "Package: lumenport$" <<<"$info"
    depends=$(dpkg-deb -f "$deb" Depends)
    grep -q "libc6" <<<"$depends"
    # The batch program pulls in no window toolkit, neither through its dependencies nor by
    # carrying the desktop module.
    gui='wx|gtk|gdk|libx11|libxcb|cairo|pango|glib|atk|libsm'
    ! grep -Eiq "$gui" <<<"$depends" || { echo "FAIL: lumenport depends on a GUI library: $depends" >&2; exit 1; }
    ! grep -q kvbrdesk.so <<<"$(dpkg-deb -c "$deb")" || { echo "FAIL: lumenport carries the desktop module" >&2; exit 1; }
    if [ -n "$desk" ]; then
      grep -q "^lumenport (= $(dpkg-deb -f "$deb" Version))" <<<"$(dpkg-deb -f "$desk" Depends)" \
        || { echo "FAIL: the desktop package does not depend on its program" >&2; exit 1; }
      grep -q 'usr/lib/lumenport/kvbrdesk.so$' <<<"$(dpkg-deb -c "$desk")" || { echo "FAIL: no module in $desk" >&2; exit 1; }
    fi
    # No error and no warning from lintian (tools/install-deps.sh installs it).
    command -v lintian >/dev/null || { echo "FAIL: lintian is not installed" >&2; exit 1; }
    tags=$(lintian --allow-root $deb $desk 2>&1 | grep -E '^[EW]: ' || true)
    [ -z "$tags" ] || { echo "FAIL: lintian: $tags" >&2; exit 1; }
    for p in $deb $desk; do dpkg -x "$p" "$work/root"; done
    ;;
esac
root=$work/root/usr
prog=$root/bin/kvbrars
fail() { echo "FAIL: $*" >&2; exit 1; }

# As root: install the packages with apt-get as a user would, run the installed program, open
# its windows with both packages, and remove them again. Left out without root, and when a
# lumenport package is installed already (what the machine has is left alone).
install_remove_check() {
  if [ "$(id -u)" != 0 ] || ! command -v apt-get >/dev/null; then
    echo "not root: installing and removing the packages not checked"
    return
  fi
  if dpkg-query -W -f='${Status}\n' lumenport lumenport-desktop 2>/dev/null | grep -q 'ok installed'; then
    echo "lumenport is installed on this machine: installing and removing the packages not checked"
    return
  fi
  export DEBIAN_FRONTEND=noninteractive
  local inst=$work/installed status
  mkdir -p "$inst"
  apt-get install -y -q -o DPkg::Lock::Timeout=300 --no-install-recommends "$deb" >"$work/apt.log" 2>&1 \
    || fail "apt-get install $deb: $(tail -n 5 "$work/apt.log")"
  ! grep -Eiq "^(Setting up|Unpacking) ($gui)" "$work/apt.log" || fail "installing lumenport brought a GUI library"
  /usr/bin/kvbrars --version | grep -q '^kvbrars ' || fail "the installed program does not start"
  out=$(env -u LUMENPORT_USER_REG HOME="$inst/home" LANG=de_DE.UTF-8 /usr/bin/kvbrars --list /SVR=LOCAL \
        /DB=NoSuchDatabase /LOC=1031 2>&1 || true)
  grep -q "Unbekannter Fehler" <<<"$out" || fail "installed, LANG=de_DE.UTF-8 --list is not German: $out"
  /usr/bin/kvbrars --batch --output "$inst/demo.wpx" /SVR=LOCAL /DB=Demo /USR=system "/SEL=$sel" /LOC=1031 \
    2>/dev/null && [ -s "$inst/demo.wpx" ] || fail "the installed program does not export the demo"
  if [ -n "$desk" ]; then
    apt-get install -y -q -o DPkg::Lock::Timeout=300 --no-install-recommends "$desk" >"$work/apt.log" 2>&1 \
      || fail "apt-get install $desk: $(tail -n 5 "$work/apt.log")"
    [ -f /usr/lib/lumenport/kvbrdesk.so ] || fail "no desktop module installed"
    if command -v xvfb-run >/dev/null; then
      # With both packages the program opens its options dialog and waits there for the user.
      set +e
      out=$(xvfb-run -a -s "-screen 0 1024x768x24" timeout 10 /usr/bin/kvbrars /SVR=LOCAL /DB=Demo /USR=x \
            "/SEL=$sel" /LOC=1031 2>&1 </dev/null)
      status=$?
      set -e
      [ $status -eq 124 ] || fail "with both packages no window stayed open (status $status): $out"
      ! grep -q "kvbrdesk" <<<"$out" || fail "with both packages: $out"
    fi
    apt-get remove -y -q -o DPkg::Lock::Timeout=300 --purge lumenport-desktop >"$work/apt.log" 2>&1 || fail "removing lumenport-desktop: $(tail -n 5 "$work/apt.log")"
    [ ! -e /usr/lib/lumenport/kvbrdesk.so ] && [ ! -e /usr/share/doc/lumenport-desktop ] \
      || fail "lumenport-desktop left files behind"
  fi
  apt-get remove -y -q -o DPkg::Lock::Timeout=300 --purge lumenport >"$work/apt.log" 2>&1 || fail "removing lumenport: $(tail -n 5 "$work/apt.log")"
  for left in /usr/bin/kvbrars /usr/lib/lumenport /usr/share/lumenport /usr/share/doc/lumenport \
              /usr/share/man/man1/kvbrars.1.gz; do
    [ ! -e "$left" ] || fail "lumenport left $left behind"
  done
  echo "packages installed, run and removed"
}
[ -x "$prog" ] || fail "no program at $prog"
[ -f "$root/lib/lumenport/kvbrdeu.so" ] || fail "no German library"
[ ! -f "$build/bin/kvbrdesk.so" ] || [ -f "$root/lib/lumenport/kvbrdesk.so" ] || fail "no desktop module"
[ -f "$root/lib/lumenport/kvbrenu.so" ] || fail "no English library"
[ -f "$root/share/lumenport/aris/LOCAL/Demo.xml" ] || fail "no demo database"
man=$root/share/man/man1/kvbrars.1.gz
[ -f "$man" ] || fail "no manual page"
gzip -t "$man" || fail "the manual page is no gzip file"
[ -f "$root/share/man/man5/kvbrars.prf.5.gz" ] || fail "no manual page of the profile"
gzip -t "$root/share/man/man5/kvbrars.prf.5.gz" || fail "the profile's manual page is no gzip file"
[ -f "$root/share/doc/lumenport/README.md" ] || fail "no README"
for book in kvbrdeu.htb kvbrenu.htb; do
  [ ! -f "$build/bin/$book" ] || [ -f "$root/share/lumenport/$book" ] || fail "help book $book not installed"
done

export HOME=$work/home LUMENPORT_USER_REG=$work/home/user.reg LUMENPORT_MACHINE_REG=$work/none.reg
unset LUMENPORT_ARIS_SERVERS XDG_DATA_HOME XDG_CONFIG_HOME DISPLAY WAYLAND_DISPLAY LC_ALL LC_MESSAGES LANGUAGE
export LANG=C.UTF-8
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
for page in "$man" "$root/share/man/man5/kvbrars.prf.5.gz"; do
  warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "man page warnings in $page: $warnings"
done

# Without a Language value the locale picks the language; a set value wins over it.
missing_db() { env "$@" "$prog" --batch /SVR=LOCAL /DB=NoSuchDatabase /USR=x /SEL=x /LOC=1031 2>&1 || true; }
rm -f "$LUMENPORT_USER_REG"
for row in "de_DE.UTF-8:Unbekannter Fehler" "de_AT:Unbekannter Fehler" "en_GB.UTF-8:Unknown error" \
           "fr_FR.UTF-8:Unknown error" "C:Unknown error"; do
  out=$(missing_db LANG="${row%%:*}")
  grep -q "${row#*:}" <<<"$out" || fail "LANG=${row%%:*} did not give \"${row#*:}\": $out"
done
out=$(missing_db LANG=C LC_MESSAGES=de_DE.UTF-8)
grep -q "Unbekannter Fehler" <<<"$out" || fail "LC_MESSAGES is not read: $out"
out=$(missing_db LANG=de_DE.UTF-8 LC_ALL=en_US.UTF-8)
grep -q "Unknown error" <<<"$out" || fail "LC_ALL does not come first: $out"
printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Veltrane\\Lumenport\\CurrentVersion]\r\n"Language"="ENU"\r\n' > "$LUMENPORT_USER_REG"
out=$(missing_db LANG=de_DE.UTF-8)
grep -q "Unknown error" <<<"$out" || fail "a set Language does not win over the locale: $out"

# The manual's German example, as the manual page shows it, on a fresh account: its folder
# and settings file do not exist yet.
fresh=$work/fresh
mkdir -p "$fresh/bin" "$fresh/run"
ln -s "$prog" "$fresh/bin/kvbrars"
example=$(MANWIDTH=200 man -l "$man" 2>/dev/null | sed -n '/^ *d=\${XDG_CONFIG_HOME/,/LOC=1031$/p' | sed 's/^ *//')
[ -n "$example" ] || fail "no German example in the manual page"
(cd "$fresh/run" && env -u LUMENPORT_USER_REG HOME="$fresh/home" PATH="$fresh/bin:$PATH" bash -e -c "$example") \
  2>"$work/example.err" || fail "the manual's German example fails: $(cat "$work/example.err")"
grep -q '"Language"="DEU"' "$fresh/home/.config/lumenport/user.reg" || fail "the example set no Language"
[ -s "$fresh/run/bestellung.wpx" ] && [ -s "$fresh/run/bestellung.log" ] || fail "the example exported nothing"
( cd "$fresh/run" && env -u LUMENPORT_USER_REG HOME="$fresh/home" LANG=C "$prog" --batch /SVR=LOCAL /DB=NoSuchDatabase \
  /USR=x /SEL=x /LOC=1031 2>&1 || true ) | grep -q "Unbekannter Fehler" || fail "the example's Language is not used"

if [ "$mode" = package ]; then
  # A start that asks for windows without the desktop module says so in one line and goes on
  # in batch mode (the unpacked program package alone).
  alone=$work/alone
  dpkg -x "$deb" "$alone"
  out=$(DISPLAY=:99 "$alone/usr/bin/kvbrars" --list /SVR=LOCAL /DB=Demo /LOC=1031 2>&1 >/dev/null; \
        DISPLAY=:99 "$alone/usr/bin/kvbrars" --output "$work/alone.wpx" /SVR=LOCAL /DB=Demo /USR=x "/SEL=$sel" /LOC=1031 2>&1)
  [ "$(grep -c 'lumenport-desktop' <<<"$out")" = 1 ] || fail "no one-line note on the missing desktop package: $out"
  [ -s "$work/alone.wpx" ] || fail "without the desktop package the export did not run in batch mode"
  install_remove_check
fi
echo "install check ($mode): 1 passed, 0 failed"
