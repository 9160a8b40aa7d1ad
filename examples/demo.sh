#!/usr/bin/env bash
# The demonstration: what the module can do so far, on a sandbox drive made
# from examples/drive/.
set -euo pipefail
bin="$1/tools/kovtool/kovtool"
here="$(cd "$(dirname "$0")" && pwd)"
drive="$(mktemp -d /tmp/kovdemo.XXXXXX)"
trap 'rm -rf "$drive"' EXIT
cp -r "$here/drive/." "$drive/" 2>/dev/null || true
mkdir -p "$drive/kovra/bin"
export KOVRA_DRIVE="$drive"
cd "$drive/kovra/bin"

say() { printf '\n== %s\n' "$1"; }
say "Sandbox drive: $drive"
say "Amounts on a receipt"
for v in 1 101 12345 1500100 123456789012; do
  printf '  %14s cents  %-18s %s\n' "$v" "$("$bin" valor "$v")" "$("$bin" extenso "$v")"
done
say "Paths: two spellings of one directory"
mkdir -p "$drive/kovra/config/empresas"
printf '  %s\n  %s\n' "$("$bin" path '/kovra/Config/Empresas/x')" "$("$bin" path '\kovra\config\empresas\x')"
say "Not there yet: the module process, its queues and the transaction flows."
