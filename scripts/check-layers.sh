#!/usr/bin/env bash
# Fails on an include that points up a layer. The layers, from the bottom:
# runtime -> simulation -> messages -> run and plot -> the windows' helpers
# and the help -> the windows and the programs. Every include of the project names its folder,
# so the folder tells the layer.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

declare -A allowed=(
  [runtime]="runtime"
  [simulation]="runtime simulation"
  [messages]="runtime simulation messages"
  [run]="runtime simulation messages run"
  [plot]="runtime simulation messages plot"
  [widget_helpers]="runtime simulation messages widget_helpers"
  [help]="help"
  [waveform]="runtime simulation messages run plot widget_helpers help waveform"
  [parameters]="runtime simulation messages run plot widget_helpers help waveform parameters"
  [cli]="runtime simulation messages run plot cli"
)

status=0
while IFS= read -r file; do
  folder="${file%%/*}"
  [[ -n "${allowed[$folder]:-}" ]] || continue
  while IFS=: read -r line target; do
    target_folder="${target%%/*}"
    if [[ "$target" != */* ]]; then
      [[ "$target" == ui_*.h ]] && continue  # generated from the folder's own .ui files
      echo "$file:$line: #include \"$target\" does not name its folder"
      status=1
    elif [[ " ${allowed[$folder]} " != *" $target_folder "* ]]; then
      echo "$file:$line: $folder/ may not include $target ($target_folder/ is not below it)"
      status=1
    fi
  done < <(grep -n '^#include "' "$file" | sed 's/^\([0-9]*\):#include "\([^"]*\)".*/\1:\2/')
done < <(git ls-files -co --exclude-standard '*.cpp' '*.h')
exit "$status"
