#!/usr/bin/env bash
# Static checks of our own code, run by the test command after both builds:
#   formatting (clang-format), how the folders include each other, and clang-tidy over the
#   compile databases of both builds. Any finding fails.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

mapfile -t sources < <(find src tests fuzz bench -name '*.cpp' -o -name '*.h' 2>/dev/null | sort)

echo "== clang-format (${#sources[@]} files)"
clang-format --dry-run --Werror "${sources[@]}"

echo "== include structure"
python3 scripts/check_includes.py

# Only our files; GoogleTest's sources are in the databases too.
ours="^$root/(src|tests|fuzz|bench)/.*\.cpp$"
jobs=$(nproc)

echo "== clang-tidy, native build"
run-clang-tidy -quiet -j "$jobs" -p build/native -extra-arg=-Wno-unknown-warning-option "$ours" >build/clang-tidy-native.log 2>&1 ||
    { grep -E 'error:|warning:' -A3 build/clang-tidy-native.log | head -80; exit 1; }

echo "== clang-tidy, win64 build"
# The cross compiler's name does not tell clang the target, and clang does not find the
# C++ library of a MinGW compiler whose version is "12-posix": take the compiler's own
# search list (without its intrinsics, clang brings its own).
cross_includes=()
while read -r dir; do
    case "$dir" in */include|*/include-fixed) [[ "$dir" == */c++* || "$dir" == *mingw32/include ]] || continue ;; esac
    cross_includes+=("-extra-arg=-isystem$dir")
done < <(x86_64-w64-mingw32-g++-posix -E -x c++ - -v </dev/null 2>&1 |
         sed -n '/search starts here:/,/End of search list/p' | grep '^ /' | sed 's/^ //')
run-clang-tidy -quiet -j "$jobs" -p build/win64 \
    -extra-arg-before=--target=x86_64-w64-mingw32 "${cross_includes[@]}" \
    -extra-arg=-Wno-unknown-warning-option -extra-arg=-Wno-unused-command-line-argument \
    "$ours" >build/clang-tidy-win64.log 2>&1 ||
    { grep -E 'error:|warning:' -A3 build/clang-tidy-win64.log | head -80; exit 1; }
echo "lint: clean"
