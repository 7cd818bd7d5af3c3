#!/usr/bin/env bash
# Fails when the engine library exports any symbol that is not an Eng_ name.
set -euo pipefail
lib=$1
symbols=$(nm -D --defined-only "$lib" | awk '{print $3}')
[[ -n "$symbols" ]] || { echo "no exported symbols in $lib"; exit 1; }
strays=$(grep -v -E '^Eng_' <<<"$symbols" || true)
if [[ -n "$strays" ]]; then
  echo "exported symbols other than Eng_ functions:"; echo "$strays"; exit 1
fi
for required in Eng_OpenProject Eng_CloseProject Eng_FreeMem Eng_GetVersion Eng_Ordinals Eng_GetBody; do
  grep -qx "$required" <<<"$symbols" || { echo "missing export $required"; exit 1; }
done
echo "$(wc -l <<<"$symbols") exports, all Eng_"
