#!/usr/bin/env bash
# Installs the build into a temporary prefix, moves the prefix elsewhere (an
# installation must not depend on where it was made), then, from the moved
# prefix: builds the C example through pkg-config and through the CMake
# package and runs both, runs the installed command by its bare name from
# another folder, and imports the installed Python package.
# Usage: install_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$(realpath "$1")
source=$(realpath "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() { echo "install test: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$work/staged" >/dev/null
mv "$work/staged" "$work/prefix"
prefix=$work/prefix

[ -f "$prefix/include/d72506.h" ] || fail "no header"
[ -f "$prefix/share/d72506/X72506.xls" ] || fail "no macro workbook"
[ -f "$prefix/share/d72506/exercises/07250601.xls" ] || fail "no exercise files"
[ -f "$prefix/share/man/man1/d72506.1" ] || fail "no manual page"
libdir=$(dirname "$(find "$prefix" -name 'libd72506.so' | head -n 1)")
[ -n "$libdir" ] || fail "no library"

# expect_verdict PROGRAM ARGS...: the right answer gives "" and status 0.
expect_right() {
  local out
  out=$("$@") || fail "$1 failed: $out"
  grep -q 'CauseErreur=""' <<<"$out" || fail "$1: unexpected verdict: $out"
}

# The example through pkg-config.
export PKG_CONFIG_PATH=$libdir/pkgconfig
cc -std=c11 -Wall -Werror -o "$work/play_pc" "$source/examples/play_601.c" \
  $(pkg-config --cflags --libs d72506) -Wl,-rpath,"$(pkg-config --variable=libdir d72506)"
expect_right "$work/play_pc"
set +e
wrong=$("$work/play_pc" 'Range("D1").Value = "09854895"')
status=$?
set -e
[ $status -eq 1 ] && grep -q 'CauseErreur="C"' <<<"$wrong" || fail "wrong answer: status $status: $wrong"

# The example through find_package(d72506).
cmake -S "$source/examples" -B "$work/examples" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$work/examples" >/dev/null
expect_right "$work/examples/play_601"

# The command, found on PATH, run from a folder of its own.
printf 'Range("D1").Value = "'"'"'09854895"\n' >"$work/answer.bas"
(cd "$work" && PATH="$prefix/bin:$PATH" expect_right d72506 play 601 --trainee answer.bas)
"$prefix/bin/d72506" --version | grep -q "1.0.0" || fail "--version"

# The Python package, from the prefix's site folder.
PYTHONPATH=$prefix/lib/python3/dist-packages /usr/bin/python3 -c \
  'import d72506, sys; sys.exit(d72506.version() != "1.0.0")' || fail "python package"
echo "install test: passed"
