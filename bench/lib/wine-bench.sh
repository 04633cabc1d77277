# Shared by the Wine benchmarks (sourced): a bench prefix, timed runs with the
# peak resident memory, medians and ratios.
# shellcheck shell=bash

bench_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
wine_prefix="$bench_root/scripts/wine-prefix"
# ORVIX_EXE picks another build, e.g. out/win64/orvix.exe (see README.md).
orvix_exe=$(realpath "${ORVIX_EXE:-$bench_root/out/win32/orvix.exe}")

die() { echo "${0##*/}: $*" >&2; exit 1; }

[ -x /usr/bin/time ] || die "GNU time is missing (scripts/setup installs it)"
[ -f "$orvix_exe" ] || die "$orvix_exe is missing: build the Windows programs first (scripts/build)"

# A fresh prefix with a wineserver that stays up, so that no run pays for its
# start; it is removed when the script ends.
bench_prefix_create() {
  prefix=$(mktemp -d "${TMPDIR:-/tmp}/orvix-bench-XXXXXX")
  trap bench_prefix_destroy EXIT
  "$wine_prefix" create "$prefix"
  WINEPREFIX="$prefix" wineserver -p
}

bench_prefix_destroy() { [ -z "${prefix:-}" ] || "$wine_prefix" destroy "$prefix"; }

# A host path as Windows programs see it, on Wine's Z: drive.
windows_path() { local path; path=$(realpath -m "$1"); echo "Z:${path//\//\\}"; }

# Runs a Windows program in the bench prefix, its output dropped.
wine_run() { "$wine_prefix" exec "$prefix" "$@" >/dev/null 2>&1; }

# Runs a command with its output dropped and prints "MS PEAK_KB": its wall
# time in milliseconds and, from GNU time, the peak resident set of the
# process (for `wine-prefix exec` the one that becomes the Windows program,
# see README.md) and of the descendants it waited for.
measure() {
  local peak_file start end status
  peak_file=$(mktemp)
  start=$(date +%s%N)
  /usr/bin/time -f %M -o "$peak_file" "$@" >/dev/null 2>&1 && status=0 || status=$?
  end=$(date +%s%N)
  [ "$status" = 0 ] || { cat "$peak_file" >&2; rm -f "$peak_file"; die "failed ($status): $*"; }
  echo "$(( (end - start) / 1000000 )) $(tail -n 1 "$peak_file")"
  rm -f "$peak_file"
}

# The median of the numbers on standard input, one a line.
median() {
  sort -n | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# A / B with two decimals.
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

# The numbers of a list, one a line, as "min .. max".
spread() { sort -n | awk 'NR == 1 { lo = $1 } { hi = $1 } END { print lo " .. " hi }'; }

# The same for the numbers of a text, apart by spaces ("1 5 3 ").
median_of() { tr ' ' '\n' <<<"$1" | grep . | median; }
spread_of() { tr ' ' '\n' <<<"$1" | grep . | spread; }

bench_header() {
  echo "# $1"
  echo "# $(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) cores, $(wine --version 2>/dev/null || /usr/lib/wine/wine64 --version), load average $(cut -d' ' -f1-3 /proc/loadavg)"
}

# The wall time of a command or shell function in milliseconds, its output
# dropped (measure gives peak memory too, but only of a program).
elapsed_ms() {
  local start end
  start=$(date +%s%N)
  "$@" >/dev/null 2>&1 || die "failed: $*"
  end=$(date +%s%N)
  echo $(( (end - start) / 1000000 ))
}
