#!/usr/bin/env bash
# Plants realistic faults in the domain code one at a time, rebuilds, runs
# the tests that should notice, and reports which faults survive (a fault
# that survives shows a gap in the test suite). Every planted change is
# undone afterwards, also when the script is interrupted.
#
#   scripts/plant-faults.sh [BUILD_DIR]      (default: build)
#
# A fault is one line of the table below: file|text to replace|replacement|
# CTest name pattern of the tests expected to notice it.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}
faults=(
    "src/records/numericcodec.cpp|truncClamped<std::uint32_t>(x * 65536.0|truncClamped<std::uint32_t>(x * 65536.0 + 0.5|records"
    "src/records/metertype.cpp|if (u >= 160)|if (u > 160)|records"
    "src/records/metertype.cpp|return kStoredNul;|return std::uint8_t(0);|records"
    "src/device/seriallink.cpp|if (total > capacity)|if (total > capacity + 1)|device|sim"
    "src/records/meterfilewriter.cpp|.left(qsizetype(kHeaderSerialSize))|.left(qsizetype(kHeaderSerialSize) - 1)|records"
    "src/device/deviceclient.cpp|announcedLength(answer) + kFrameOverhead == answer.size()|announcedLength(answer) + kFrameOverhead <= answer.size()|device"
    "src/meterdb/meterbaseimage.cpp|std::uint16_t(std::lround(value * factor))|std::uint16_t(value * factor)|meterdb"
    "src/meterdb/meterbaseimage.cpp|count > kMaxEntries|count > kMaxEntries + 1|meterdb"
    "src/meterdb/meterbaseimage.cpp|e.serial = (std::uint32_t(wordAt(bytes, r)) << 16)|e.serial = (std::uint32_t(wordAt(bytes, r + 2)) << 16)|meterdb"
    "src/reports/reportfile.cpp|if (version > kReportFileVersion)|if (version > kReportFileVersion + 1)|reports"
    "src/reports/reportfile.cpp|!r.atEnd())|false)|reports"
    'src/export/foldercsv.cpp|QStringLiteral(",\"\r\n")|QStringLiteral(",\"\n")|export'
    'src/export/foldercsv.cpp|QStringLiteral("\"\"")|QStringLiteral("\"")|export'
    "src/export/exportcells.cpp|(c < 0x20 && !allowedControl)|(c < 0x1F && !allowedControl)|export"
)
if [ ! -f "$dir/build.ninja" ]; then
    echo "no build in $dir: run scripts/build.sh first" >&2
    exit 2
fi
for f in "${faults[@]}"; do
    file=${f%%|*}
    if ! git diff --quiet -- "$file"; then
        echo "$file has changes that are not committed; commit them first" >&2
        exit 2
    fi
done
planted=""
restore() { if [ -n "$planted" ]; then git checkout -- "$planted"; planted=""; fi; }
trap restore EXIT INT TERM
export QT_QPA_PLATFORM=offscreen
survived=0
for f in "${faults[@]}"; do
    IFS='|' read -r file from to pattern extra <<<"$f"
    [ -n "${extra:-}" ] && pattern="$pattern|$extra"
    if ! grep -qF -- "$from" "$file"; then
        echo "SKIPPED  $file: text not found: $from"
        continue
    fi
    planted=$file
    python3 - "$file" "$from" "$to" <<'PY'
import sys
path, old, new = sys.argv[1:4]
text = open(path).read()
open(path, 'w').write(text.replace(old, new, 1))
PY
    # Only the test executables that are to notice the fault are rebuilt
    # (their helper programs come with them), not the whole tree.
    targets=$(ctest --test-dir "$dir" -N -R "^($pattern)\." |
        sed -n 's/^ *Test *#[0-9]*: \([a-z]*\)\.\(tst_[a-z0-9_]*\)$/\1_\2/p')
    # shellcheck disable=SC2086 # one target per word
    if ! cmake --build "$dir" --parallel "$(nproc)" ${targets:+--target $targets} >/dev/null 2>&1; then
        echo "CAUGHT   (does not build) $file: $from"
    elif ctest --test-dir "$dir" -R "^($pattern)\." --parallel "$(nproc)" --timeout 300 >/dev/null 2>&1; then
        echo "SURVIVED $file: $from -> $to"
        survived=$((survived + 1))
    else
        echo "CAUGHT   $file: $from"
    fi
    restore
done
cmake --build "$dir" --parallel "$(nproc)" >/dev/null 2>&1 || true
echo "$survived of ${#faults[@]} planted faults survived"
[ "$survived" -eq 0 ]
