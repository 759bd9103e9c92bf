#!/usr/bin/env bash
# Installs the build into a temporary prefix, as the package would lay it out, and checks what a
# user gets: the files a desktop looks for, the command-line balancer, and the window program,
# which must start on the offscreen platform and read its pictures.
#   installed_program.sh BUILD-DIR
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

fail() { echo "FAIL: $*" >&2; exit 1; }
for file in bin/qivara-balancer bin/qivara-balancer-cli share/applications/qivara-balancer.desktop \
            share/metainfo/example.qivara.balancer.metainfo.xml \
            share/icons/hicolor/scalable/apps/qivara-balancer.svg share/icons/hicolor/128x128/apps/qivara-balancer.png \
            share/man/man1/qivara-balancer.1 share/man/man1/qivara-balancer-cli.1; do
    [ -e "$prefix/$file" ] || fail "$file is not installed"
done

result=$("$prefix/bin/qivara-balancer-cli" 'MnO2+KBr+H2SO4=MnSO4+KHSO4+Br2+H2O')
[ "$result" = 'MnO2+2KBr+3H2SO4=MnSO4+2KHSO4+Br2+2H2O' ] || fail "the installed CLI printed '$result'"

# Each manual page names every option its program's --help names, and the CLI's page every JSON key.
for program in qivara-balancer qivara-balancer-cli; do
    page="$prefix/share/man/man1/$program.1"
    "$prefix/bin/$program" --version | grep -qx "$program [0-9.]*" || fail "$program --version"
    for option in $("$prefix/bin/$program" --help | grep -o -- '--[a-z]\+' | sort -u); do
        grep -qF -- "${option//-/\\-}" "$page" || fail "the manual page of $program lacks $option"
    done
done
for key in equation kind kind_value title icon message result solutions; do
    grep -qx ".B $key" "$prefix/share/man/man1/qivara-balancer-cli.1" || fail "the CLI's manual page lacks the JSON key $key"
    "$prefix/bin/qivara-balancer-cli" --json H2+O2=H2O | grep -qF "\"$key\":" || fail "the CLI's JSON lacks $key"
done

# The window program waits for a click on its splash: still running after three seconds is a
# start. It says on stderr when a picture cannot be read.
status=0
QT_QPA_PLATFORM=offscreen timeout 3 "$prefix/bin/qivara-balancer" 2>"$prefix/stderr" || status=$?
[ "$status" -eq 124 ] || fail "the installed program ended with status $status: $(cat "$prefix/stderr")"
if grep -q 'cannot be read' "$prefix/stderr"; then fail "$(cat "$prefix/stderr")"; fi
echo "installed program: files, CLI and window start checked in $prefix"
