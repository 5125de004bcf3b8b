#!/usr/bin/env bash
# Builds the release from the committed tree (HEAD; uncommitted edits are not in it) in a temporary
# folder and writes build/release/: Tintsnatch4-<version>-win64.zip (Tintsnatch4.exe and README.txt),
# the same Tintsnatch4.exe beside it and SHA256SUMS for both. The same commit gives the same bytes
# whatever the folder and the time of the build.
# `package.sh --check` builds the release twice, in two temporary folders one after the other, and
# compares the bytes of the two exes and the two zips. Exit status 1 when they differ.
set -euo pipefail
cd "$(dirname "$0")/.."
mode=${1:-}
case $mode in "" | --check) ;; *) echo "usage: package.sh [--check]" >&2; exit 2 ;; esac
bash scripts/deps.sh release

commit=$(git rev-parse HEAD)
# Every time stamp the tools write (the zip entries; compilers that honour it) is the commit's.
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct "$commit")
export SOURCE_DATE_EPOCH TZ=UTC LC_ALL=C

# Builds the committed tree in folder $1 and leaves there Tintsnatch4.exe, README.txt and the zip;
# sets `version` and `zip` (the zip's name).
build_release() {
    local dir=$1
    mkdir -p "$dir/src"
    git archive "$commit" | tar -x -C "$dir/src"
    echo "Building in $dir ..."
    # Stripped (-s): the symbol table and the run-time libraries' debug information are of no use
    # to a user. No tests or benchmarks.
    if ! { cmake -S "$dir/src" -B "$dir/build" \
        -DCMAKE_TOOLCHAIN_FILE="$dir/src/cmake/mingw-w64-x86_64.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_EXE_LINKER_FLAGS=-s -DTS_BENCH=OFF -DTS_GTEST_DIR= &&
        cmake --build "$dir/build" --target Tintsnatch4 -j"${JOBS:-2}"; } >"$dir/build.log" 2>&1
    then
        tail -30 "$dir/build.log"
        echo "package.sh: the build failed (log above)" >&2
        return 1
    fi
    version=$(sed -n 's/^CMAKE_PROJECT_VERSION:[A-Z]*=//p' "$dir/build/CMakeCache.txt")
    zip=Tintsnatch4-$version-win64.zip
    cp "$dir/build/Tintsnatch4.exe" "$dir/build/README.txt" "$dir/"
    # Fixed entry order, the commit's time on each entry (zip times start in 1980), no owner or
    # permission bits: the zip's bytes depend on the two files only.
    python3 - "$dir/$zip" "$SOURCE_DATE_EPOCH" "$dir/Tintsnatch4.exe" "$dir/README.txt" <<'EOF'
import os, sys, time, zipfile
target, epoch, files = sys.argv[1], int(sys.argv[2]), sys.argv[3:]
stamp = time.gmtime(max(epoch, 315532800))[:6]
with zipfile.ZipFile(target, "w") as z:
    for path in files:
        entry = zipfile.ZipInfo(os.path.basename(path), stamp)
        entry.compress_type = zipfile.ZIP_DEFLATED
        entry.create_system = 0  # MS-DOS attributes, as a zip made on Windows
        entry.external_attr = 0
        with open(path, "rb") as f:
            z.writestr(entry, f.read(), compresslevel=9)
EOF
}

tmp=()
cleanup() { [ ${#tmp[@]} -eq 0 ] || rm -rf "${tmp[@]}"; }
trap cleanup EXIT
echo "Tintsnatch 4 release from commit $commit: the committed tree, not the working files."
# A rebuild gives the same bytes with the same tools: name them.
echo "Tools: $(dpkg-query -W -f '${Package} ${Version}, ' g++-mingw-w64-x86-64-posix \
    binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev 2>/dev/null)zlib $(python3 -c \
    'import zlib; print(zlib.ZLIB_RUNTIME_VERSION)')"
[ -z "$(git status --porcelain)" ] ||
    echo "Note: this worktree has uncommitted changes; they are not in the release."

if [ "$mode" = --check ]; then
    tmp+=("$(mktemp -d "${TMPDIR:-/tmp}/ts-release-a.XXXXXX")")
    tmp+=("$(mktemp -d "${TMPDIR:-/tmp}/ts-release-b.XXXXXX")")
    first=${tmp[0]}
    second=${tmp[1]}/a/longer/path  # another folder, of another length
    build_release "$first"
    build_release "$second"
    same=1
    for f in Tintsnatch4.exe "$zip"; do
        a=$(sha256sum <"$first/$f" | cut -d' ' -f1)
        b=$(sha256sum <"$second/$f" | cut -d' ' -f1)
        if [ "$a" = "$b" ]; then
            echo "identical  $f  $a"
        else
            echo "DIFFERENT  $f  $a / $b ($(cmp -l "$first/$f" "$second/$f" | wc -l) bytes differ)"
            same=0
        fi
    done
    if [ $same = 1 ]; then
        echo "Reproducible: two builds of $commit in two folders gave the same bytes."
        exit 0
    fi
    echo "Not reproducible; both builds are kept in ${tmp[*]}"
    tmp=()
    exit 1
fi

tmp+=("$(mktemp -d "${TMPDIR:-/tmp}/ts-release.XXXXXX")")
build_release "${tmp[0]}"
out=build/release
rm -rf "$out"
mkdir -p "$out"
cp "${tmp[0]}/$zip" "${tmp[0]}/Tintsnatch4.exe" "$out/"
(cd "$out" && sha256sum "$zip" Tintsnatch4.exe >SHA256SUMS)
echo
echo "Tintsnatch 4 version $version"
for f in "$zip" Tintsnatch4.exe SHA256SUMS; do echo "  $PWD/$out/$f"; done
echo
cat "$out/SHA256SUMS"
