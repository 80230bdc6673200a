#!/usr/bin/env bash
# Regenerates the sample message files samples/*.BIG from their hex logs in
# samples/hex/ with `brevix-dump --from-hex`, the same conversion as the
# viewer's converter dialog. Usage: samples/make-samples.sh [BREVIX_DUMP]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
dump="${1:-${BREVIX_DUMP:-$here/../build/cli/brevix-dump}}"
if [ ! -x "$dump" ]; then
  echo "make-samples.sh: $dump not found; build it first (cmake --build build --target brevix-dump)" >&2
  exit 1
fi
for hex in "$here"/hex/*.hex; do
  name="$(basename "$hex" .hex)"
  "$dump" --from-hex "$hex" --output "$here/$name.BIG"
done
