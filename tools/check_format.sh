#!/usr/bin/env bash
# Fails when clang-format would change a hand-written C or C++ file of the
# sources or the tests (the generated model tables aside); prints the places.
#   tools/check_format.sh
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' \
    'bench/*.h' 'tools/*.cpp' | grep -v -e '^src/flyer_model\.cpp$' -e '^src/resources/')
clang-format --dry-run -Werror "${files[@]}"
echo "check_format: ${#files[@]} files as .clang-format lays them out"
