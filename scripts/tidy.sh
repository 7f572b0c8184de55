#!/usr/bin/env bash
# clang-tidy (the checks in .clang-tidy) and clazy's Qt checks of levels 0 and 1 over our C++ files, with the
# compile commands of a built build folder (the tests include moc's output, so it must exist).
#
#   scripts/tidy.sh BUILD [BASE]
#
# Without BASE, every .cpp file. With BASE (a commit), what changed since it: the changed .cpp files, and
# for a changed header its own .cpp, or else the .cpp files that include it. Any finding fails.
# A finding that is wrong is silenced where it stands, with the reason: // NOLINT(check): why, or
# // clazy:exclude=check for clazy.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "$1")
base=${2:-}
jobs=${JOBS:-$(nproc)}

# The layering test's sample tree is never compiled.
all_cpp() { git ls-files '*.cpp' | grep -v '^tests/layering/'; }

if [ -z "$base" ]; then
    files=$(all_cpp)
else
    files=$(
        for f in $(git diff --name-only --diff-filter=d "$base" -- '*.cpp' '*.h' | grep -v '^tests/layering/'); do
            case $f in
            *.cpp) echo "$f" ;;
            *.h)
                if [ -f "${f%.h}.cpp" ]; then
                    echo "${f%.h}.cpp"
                else
                    all_cpp | xargs grep -l "#include \"\(.*/\)\?$(basename "$f")\"" || true
                fi
                ;;
            esac
        done | sort -u
    )
fi
if [ -z "$files" ]; then
    echo "tidy: no C++ files changed since $base"
    exit 0
fi
echo "tidy: $(echo "$files" | wc -l) files, clang-tidy and clazy, $jobs at a time"

# -w: the compiler's own warnings are GCC's to give (the build makes them errors); clang's differ.
check_files() {
    local status=0
    local tidy_out
    tidy_out=$(clang-tidy -p "$TIDY_BUILD" --quiet --extra-arg=-w "$@" 2>&1) || status=1
    [ -z "$tidy_out" ] || grep -v ' warnings\? generated\.$' <<<"$tidy_out" || true
    local clazy_out
    clazy_out=$(clazy-standalone -p "$TIDY_BUILD" --checks="$CLAZY_CHECKS" --header-filter='/(src|tests|bench)/' \
        --extra-arg=-w --extra-arg=-Wno-error "$@" 2>&1) || status=1
    [ -z "$clazy_out" ] || grep -v ' warnings\? generated\.$' <<<"$clazy_out" || true
    if grep -q 'Wclazy-\|error:' <<<"$clazy_out"; then status=1; fi
    return $status
}
export -f check_files
# non-pod-global-static is left out: every GoogleTest TEST registers itself through a static, so it flags
# each test case, and a constant QString table costs the programs nothing that matters at start.
export CLAZY_CHECKS=level0,level1,no-non-pod-global-static
export TIDY_BUILD=$build

if echo "$files" | xargs -P "$jobs" -n 2 bash -c 'check_files "$@"' check_files; then
    echo "tidy: no findings"
else
    echo "tidy: findings above (fix them, or silence one where it stands with the reason)" >&2
    exit 1
fi
