#!/usr/bin/env bash
# staged_install.sh BUILD_DIR TEST_TABLES: cmake --install into a staging folder, then checks the
# layout and runs the installed tesserix-cli there with a fresh home: its tables live in the XDG
# data folder (never beside the program), --data-dir and TESSERIX_DATA still win, the launcher and
# AppStream data validate, the manual pages and the bash completion work.
set -uo pipefail
build="$1"
tables="$2"
stage="$(mktemp -d)"
trap 'rm -rf "$stage"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
expect_file() { [ -s "$stage/usr/$1" ] || fail "missing $1"; }

DESTDIR="$stage" cmake --install "$build" --prefix /usr >"$stage/install.log" 2>&1 ||
    { cat "$stage/install.log" >&2; echo "FAIL: cmake --install" >&2; exit 1; }
cli="$stage/usr/bin/tesserix-cli"
expect_file bin/tesserix-cli
expect_file share/man/man1/tesserix-cli.1
expect_file share/bash-completion/completions/tesserix-cli
expect_file share/tesserix/installed
desktop=""
if [ -x "$build/app/tesserix" ]; then
    desktop=yes
    expect_file bin/tesserix
    expect_file share/man/man1/tesserix.1
    expect_file share/applications/org.tesserix.Tesserix.desktop
    expect_file share/metainfo/org.tesserix.Tesserix.metainfo.xml
    expect_file share/icons/hicolor/scalable/apps/tesserix.svg
    for size in 16 24 32 48 64 128 256; do expect_file "share/icons/hicolor/${size}x${size}/apps/tesserix.png"; done
fi

# A fresh user: tables go to ~/.local/share/tesserix. The standard tables are copied there
# instead of being built again.
home="$stage/home"
data="$home/.local/share/tesserix"
mkdir -p "$data"
for f in RawFlipSlice flipUDslicex.move phase1PF.prun phase2P.prun fullCornerF.prun fullCornerFs.prun; do
    cp "$tables/$f" "$data/" || fail "copy $f"
done
run() { env -u TESSERIX_DATA -u XDG_DATA_HOME HOME="$home" "$@"; }
out="$(run "$cli" tables </dev/null 2>"$stage/err")" || fail "installed tables: $(cat "$stage/err")"
grep -q "^phase1PF.prun .* loaded" <<<"$out" || fail "tables did not load from the data folder: $out"
[ -z "$(ls "$stage/usr/bin" | grep -v '^tesserix\(-cli\)\?$')" ] || fail "files beside the program: $(ls "$stage/usr/bin")"
[ ! -e "$stage/usr/bin/cube.ini" ] || fail "cube.ini beside the program"
solved="$(echo "@R U" | run "$cli" solve --target 2 2>"$stage/err")" || fail "installed solve: $(cat "$stage/err")"
[ "$solved" = "U' R'  (2f)" ] || fail "solve answered '$solved'"
# XDG_DATA_HOME moves the folder; --data-dir and TESSERIX_DATA win over both.
out="$(env -u TESSERIX_DATA HOME="$home" XDG_DATA_HOME="$home/.local/share" "$cli" tables </dev/null 2>&1)" ||
    fail "tables with XDG_DATA_HOME: $out"
out="$(run "$cli" tables --data-dir "$tables" </dev/null 2>&1)" || fail "tables --data-dir: $out"
solved="$(echo "@R U" | env TESSERIX_DATA="$tables" HOME="$stage/nowhere" "$cli" solve --target 2 2>&1)"
[ "$solved" = "U' R'  (2f)" ] || fail "TESSERIX_DATA solve answered '$solved'"
[ ! -e "$stage/nowhere/.local/share/tesserix/phase1PF.prun" ] || fail "TESSERIX_DATA was not used"

# Version and help of the installed programs; the manual page carries every command's help.
"$cli" --version | grep -q "^tesserix-cli [0-9]" || fail "installed --version"
man="$stage/usr/share/man/man1/tesserix-cli.1"
grep -q '^\.SS solve$' "$man" || fail "no solve section in the manual page"
grep -q '^usage: tesserix\\-cli solve' "$man" || fail "no solve usage in the manual page"
if command -v groff >/dev/null; then
    warnings="$(groff -man -Tutf8 -ww -z "$man" 2>&1)"
    [ -z "$warnings" ] || fail "groff: $warnings"
    page="$(groff -man -Tutf8 -P-cbou "$man" 2>/dev/null)"
    grep -q "tesserix-cli tables" <<<"$page" || fail "manual page text"
    grep -q "^NAME$" <<<"$page" || fail "manual page has no NAME section"
    grep -q "^ *tesserix-cli - command line of Tesserix" <<<"$page" || fail "manual page name line"
    ! grep -q "^;" <<<"$page" || fail "manual page holds list separators"
fi

# Bash completion: commands, then a command's options from its help.
complete_words() {
    bash -c 'source "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); _tesserix_cli; echo "${COMPREPLY[*]}"' \
        _ "$stage/usr/share/bash-completion/completions/tesserix-cli" "$@"
}
[[ " $(PATH="$stage/usr/bin:$PATH" complete_words tesserix-cli so) " == *" solve "* ]] || fail "completion of commands"
[[ " $(PATH="$stage/usr/bin:$PATH" complete_words tesserix-cli solve --ta) " == *" --target "* ]] ||
    fail "completion of options"

if [ -n "$desktop" ]; then
    "$stage/usr/bin/tesserix" --version | grep -q "^tesserix [0-9]" || fail "installed desktop --version"
    if command -v desktop-file-validate >/dev/null; then
        desktop-file-validate "$stage/usr/share/applications/org.tesserix.Tesserix.desktop" ||
            fail "desktop-file-validate"
    fi
    if command -v appstreamcli >/dev/null; then
        appstreamcli validate --no-net "$stage/usr/share/metainfo/org.tesserix.Tesserix.metainfo.xml" >"$stage/as" 2>&1 ||
            fail "appstreamcli validate: $(cat "$stage/as")"
    fi
fi
[ "$failures" -eq 0 ] && echo "staged install: all checks passed"
exit $((failures > 0))
