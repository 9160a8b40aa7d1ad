#!/usr/bin/env bash
# Starts the module on a sandbox drive kept in .kovdrive/ of the project (made
# from examples/drive/ the first time), in the foreground; Ctrl-C stops it.
#   examples/run.sh BUILD_DIR
set -euo pipefail
build="$(cd "$1" && pwd)"
here="$(cd "$(dirname "$0")" && pwd)"
drive="$here/../.kovdrive"
if [ ! -d "$drive" ]; then
  mkdir -p "$drive"
  cp -r "$here/drive/." "$drive/"
  find "$drive" -name '*.key' -exec chmod 600 {} +
  mkdir -p "$drive/kovra/bin"
  (cd "$drive/kovra/bin" && KOVRA_DRIVE="$drive" "$build/tools/kovtool/kovtool" prod cria >/dev/null)
fi
drive="$(cd "$drive" && pwd)"
echo "kov run: drive $drive; queues under $drive/kovra/mailslot"
echo "kov run: talk to it with KOVRA_DRIVE=$drive $build/tools/kovsim/kovsim pdv ..."
export KOVRA_DRIVE="$drive"
cd "$drive/kovra/bin"
exec "$build/src/kovtiquetal/kovtiquetal"
