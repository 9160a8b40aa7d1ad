#!/usr/bin/env bash
# The demonstration: a sandbox drive made from examples/drive/, then what the
# module can do so far, told in words a switch operator reads.
#   examples/demo.sh BUILD_DIR
set -euo pipefail
build="$(cd "$1" && pwd)"
tool="$build/tools/kovtool/kovtool"
sim="$build/tools/kovsim/kovsim"
module="$build/src/kovtiquetal/kovtiquetal"
here="$(cd "$(dirname "$0")" && pwd)"

drive="$(mktemp -d /tmp/kovdemo.XXXXXX)"
modpid=""
cleanup() {
  [ -n "$modpid" ] && kill "$modpid" 2>/dev/null || true
  rm -rf "$drive"
}
trap cleanup EXIT
cp -r "$here/drive/." "$drive/"
# Key files must be readable by their owner only; git does not keep modes.
find "$drive" -name '*.key' -exec chmod 600 {} +
mkdir -p "$drive/kovra/bin"
export KOVRA_DRIVE="$drive"
cd "$drive/kovra/bin"

say() { printf '\n== %s\n' "$1"; }
show() { printf '   $ kovtool %s\n' "$*"; "$tool" "$@" 2>&1 | sed 's/^/     /' || true; }

say "Sandbox drive $drive (working directory kovra/bin)"

say "Amounts as the receipts print them"
for v in 1 101 12345 1500100 123456789012; do
  printf '   %14s cents  %-18s %s\n' "$v" "$("$tool" valor "$v")" "$("$tool" extenso "$v")"
done

say "Two spellings of one directory reach the same file"
mkdir -p "$drive/kovra/config/empresas"
show path '/kovra/Config/Empresas/x'
show path '\kovra\config\empresas\x'

say "Configuration read and written through the ini cache"
show ini set '\kovra\config\kovracfg.ini' Tiquetal BloqueioDaCargaTabela 0
show ini int '../config/kovracfg.ini' Tiquetal BloqueioDaCargaTabela 9
show ini sections /kovra/./config/bandeiras.ini

say "Product database and card brands"
show prod cria
show prod codigo 001
show prod dados 050
show bandeira credito 4512345678901234
show bandeira debito 6062821234567890
show multibandeira 00000001 002

say "Link scrambling: the key table an operator compares with the switch"
"$tool" link table | cut -c1-64 | sed 's/^/   table starts /'
show link scramble 3032303030303030

say "A host sale request (0200) decoded"
show iso encode 0200 003=003000 004=000000012345 011=000001 041=TERM0001
hex="$("$tool" iso encode 0200 003=003000 004=000000012345 011=000001 041=TERM0001 2>/dev/null || true)"
[ -n "$hex" ] && show iso decode "$hex"

if [ -x "$module" ] && [ -x "$sim" ]; then
  say "The module process on its queues"
  KOVTRACE=ON "$module" >"$drive/module.out" 2>&1 &
  modpid=$!
  echo "   A PDV closes its terminal (sub-type 2, answered):"
  "$sim" pdv --close --terminal TERM0001 --company 00000001 --subtype 2 --count 2 --wait 5000 2>&1 \
    | sed 's/^/     /' || true
  echo "   A PDV sends a message of an unknown type 3 (never answered):"
  "$sim" pdv --send-hex 000003005445524d30303031303031000000000030303030303030310000 --count 0 --wait 500 2>&1 \
    | sed 's/^/     /' || true
  echo "   The host drivers deliver a message to the module:"
  "$sim" drivers --inject-hex 30383130 --wait 500 2>&1 | sed 's/^/     /' || true
  sleep 0.5
  kill -TERM "$modpid" 2>/dev/null || true
  wait "$modpid" 2>/dev/null && echo "   module stopped on SIGTERM with status 0" || echo "   module stopped with status $?"
  modpid=""
  say "What the module printed on its console (KOVTRACE=ON)"
  grep -E 'Erro Consistencia|RxHost|DEBUG|MSG PDV' "$drive/module.out" | cut -c1-100 | sed 's/^/     /' || true
  say "Operator messages the module spooled"
  show msglog
  say "Audit trail"
  # kovtool takes paths as the system spells them, under the drive root.
  for f in "$drive"/kovra/audit/*; do [ -f "$f" ] && show audit read "/kovra/audit/${f##*/}"; done
else
  say "Not there yet: the module process and the switch stand-ins (kovsim)."
fi

say "Transaction numbers (NSU) and their slots in the day files"
show log nsu --slot 1 --day 5
show log nsu 050001
show log nsu --slot 90000 --day 5

say "Not there yet: sales, confirmations, company initialisation and table loads."
