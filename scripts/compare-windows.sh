#!/usr/bin/env bash
# Runs the same cases through the Linux command line (build/bin/wienbridge-sim, built here if
# missing) and the Windows one under Wine, and compares what they print on stdout and stderr
# and their exit statuses byte for byte, and the pixels of the plots they save with --png.
#
#   compare-windows.sh [WIENBRIDGE-SIM.EXE]
#
# The default is the build's own (build-windows/bin/wienbridge-sim.exe, then with Qt's and the
# MinGW runtime's DLLs on Wine's path); scripts/windows.sh passes the unzipped one, which must
# find every DLL beside it. Ends with "N passed, N failed"; exits non-zero on any difference.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
CACHE="${WIENBRIDGE_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/wienbridge}"
LINUX_SIM="$ROOT/build/bin/wienbridge-sim"
WINDOWS_SIM="$(realpath "${1:-$ROOT/build-windows/bin/wienbridge-sim.exe}")"

if [[ ! -x "$LINUX_SIM" ]]; then
  echo "Building the Linux command line"
  SETUP_TARGETS=wienbridge-sim bash "$ROOT/scripts/setup.sh" >/dev/null
fi
if [[ -n "${1:-}" ]]; then
  windows=(wine)
else
  windows=("$ROOT/scripts/wine-run.sh" "$CACHE/qt6-mingw")
fi
export WINEPREFIX="${WINEPREFIX:-$CACHE/wine}" WINEDEBUG=-all

# name | arguments, one per field after the first, as typed in a shell; "PNG" stands for the
# --png file name, which has letters beyond ASCII so that the Windows side must read its
# command line as Unicode.
CASES=(
  "defaults|"
  "preset 1, damped|--ratio|1.00|--png|PNG"
  "preset 2, sustained|--ratio|2.00|--png|PNG"
  "preset 3, growing|--ratio|3.00|--png|PNG"
  "N = 1|--n|1|--png|PNG"
  "N = 10|--n|10|--png|PNG"
  "N = 1000|--n|1000|--png|PNG"
  "decimal commas|--cr|159,15|--fc|2,5|--ratio|2,05|--png|PNG"
  "comma with exponent|--n|1,5e2|--cr|1,5915e2"
  "leading blanks, trailing text|--cr| 	159.15usec|--n|100abc"
  "samples, N = 1|--n|1|--samples"
  "samples, N = 10, ratio 3|--n|10|--ratio|3|--samples"
  "samples, defaults|--samples"
  "N = 0|--n|0"
  "N = -1|--n|-1"
  "N = 214748365|--n|214748365"
  "CR = 0|--cr|0"
  "CR too small for CR squared|--cr|1e-160"
  "ratio -1|--ratio|-1"
  "1e309 in CR|--cr|1e309"
  "1e309 in fc|--fc|1e309"
  "1e309 in N|--n|1e309"
  "1e309 in the ratio|--ratio|1e309"
  "ratio 1000, growth overflow|--ratio|1000|--png|PNG"
  "fc 0 with --png|--fc|0|--png|PNG"
  "fc too small for the CR|--cr|3.3|--fc|0,01|--png|PNG"
  "unknown option|--frequenza|3"
  "missing value|--n"
  "help|--help"
  "sweep of fc, geometric|--sweep|fc:3:0.0005:12"
  "sweep of CR, geometric, two threads|--sweep|cr:1,5915:15915:7:log|--fc|0.05|--threads|2"
  "sweep of R1/R2, failing point|--sweep|ratio:-1:3:9|--n|50"
  "sweep of N, COUNT beyond 1000|--sweep|n:10:100:1001"
)

WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
mkdir -p "$WORK/linux" "$WORK/windows"
PNG_NAME="grafico-città-ω.png"

passed=0
failed=0
for case in "${CASES[@]}"; do
  IFS='|' read -r -a fields <<<"$case"
  name="${fields[0]}"
  args=("${fields[@]:1}")
  for i in "${!args[@]}"; do
    [[ ${args[$i]} == PNG ]] && args[$i]="$PNG_NAME"
  done
  rm -f "$WORK"/{linux,windows}/*
  set +e
  (cd "$WORK/linux" && "$LINUX_SIM" "${args[@]}" >out 2>err)
  echo $? >"$WORK/linux/status"
  (cd "$WORK/windows" && "${windows[@]}" "$WINDOWS_SIM" "${args[@]}" >out 2>err)
  echo $? >"$WORK/windows/status"
  set -e

  differences=()
  for part in out err status; do
    cmp -s "$WORK/linux/$part" "$WORK/windows/$part" || differences+=("$part")
  done
  if [[ -f "$WORK/linux/$PNG_NAME" || -f "$WORK/windows/$PNG_NAME" ]]; then
    if [[ ! -f "$WORK/linux/$PNG_NAME" || ! -f "$WORK/windows/$PNG_NAME" ]]; then
      differences+=("png written on one side only")
    else
      pixels=$(compare -metric AE "$WORK/linux/$PNG_NAME" "$WORK/windows/$PNG_NAME" null: 2>&1 || true)
      [[ $pixels == 0 ]] || differences+=("png: $pixels pixels")
    fi
  fi

  summary="exit $(cat "$WORK/linux/status"), $(wc -l <"$WORK/linux/out") lines out, $(wc -l <"$WORK/linux/err") err"
  [[ -f "$WORK/linux/$PNG_NAME" ]] && summary+=", png"
  if ((${#differences[@]} == 0)); then
    passed=$((passed + 1))
    printf '  same     %-32s %s\n' "$name" "$summary"
  else
    failed=$((failed + 1))
    printf '  DIFFERS  %-32s %s\n' "$name" "${differences[*]}"
    for part in out err status; do
      if ! cmp -s "$WORK/linux/$part" "$WORK/windows/$part"; then
        diff <(od -c "$WORK/linux/$part" | head -n 20) <(od -c "$WORK/windows/$part" | head -n 20) |
          sed 's/^/           /' || true
      fi
    done
  fi
done
# On a console rather than a pipe, the Windows side must also tell the console that its bytes
# are UTF-8, and write whole characters. Wine's console adds escape sequences and breaks lines
# at 80 columns, so what is compared is the text alone.
on_console() { (cd "$WORK" && script --quiet --return --command "$(printf '%q ' "$@")" /dev/null || true); }
text_only() { sed -E 's/\x1b\[[0-9;?]*[A-Za-z]//g' | tr -d '\r\n'; }
console_args=(--cr 1e-160)
linux_text="$(on_console "$LINUX_SIM" "${console_args[@]}" | text_only)"
windows_text="$(on_console "${windows[@]}" "$WINDOWS_SIM" "${console_args[@]}" | text_only)"
if [[ $linux_text == "$windows_text" ]]; then
  passed=$((passed + 1))
  printf '  same     %-32s %s\n' "accented message on a console" "${console_args[*]}"
else
  failed=$((failed + 1))
  printf '  DIFFERS  %-32s\n           Linux:   %s\n           Windows: %s\n' \
    "accented message on a console" "$linux_text" "$windows_text"
fi

# Ctrl+C in the middle of a long run on a console (Wine sends no other console event; the
# program treats them all alike). A helper on the same console starts the run, waits until the
# run has switched the console to UTF-8 and a little more, sends Ctrl+C and, once the run has
# ended, writes the console's code page to a file: the console's own again. What the run printed
# must show whole: the first lines of the same samples, up to the end of a block of 1024, as
# each block is written at once.
cat >"$WORK/ctrl-c.c" <<'HELPER'
#include <stdio.h>
#include <wchar.h>
#include <windows.h>

static BOOL WINAPI stayAlive(DWORD event) { (void)event; return TRUE; }

/* ctrl-c.exe REPORT DELAY COMMAND... */
int wmain(int argc, wchar_t** argv)
{
    if (argc < 4)
        return 2;
    wchar_t* command = GetCommandLineW();
    for (int word = 0; word < 3; ++word) {
        int quoted = 0;
        while (*command == L' ' || *command == L'\t')
            ++command;
        for (; *command && (quoted || (*command != L' ' && *command != L'\t')); ++command)
            if (*command == L'"')
                quoted = !quoted;
    }
    while (*command == L' ' || *command == L'\t')
        ++command;
    const UINT before = GetConsoleOutputCP();
    UINT during = before;
    SetConsoleCtrlHandler(stayAlive, TRUE);
    STARTUPINFOW startup = {sizeof startup};
    PROCESS_INFORMATION run;
    if (!CreateProcessW(NULL, command, NULL, NULL, TRUE, 0, NULL, NULL, &startup, &run))
        return 3;
    for (int ms = 0; during != CP_UTF8 && ms < 10000; ++ms)
        if (WaitForSingleObject(run.hProcess, 1) == WAIT_TIMEOUT)
            during = GetConsoleOutputCP();
    const BOOL running = WaitForSingleObject(run.hProcess, wcstoul(argv[2], NULL, 10)) == WAIT_TIMEOUT;
    GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0);
    const BOOL ended = WaitForSingleObject(run.hProcess, 20000) == WAIT_OBJECT_0;
    if (!ended)
        TerminateProcess(run.hProcess, 1);
    FILE* report = _wfopen(argv[1], L"wb");
    if (!report)
        return 3;
    fprintf(report, "code page %u before, %u during, %u after; %s\n", before, during,
            GetConsoleOutputCP(), !running ? "ended by itself" : ended ? "ended" : "still running");
    return fclose(report) == 0 ? 0 : 3;
}
HELPER
x86_64-w64-mingw32-gcc-posix -municode -O2 -Wall -o "$WORK/ctrl-c.exe" "$WORK/ctrl-c.c"
ctrl_c_args=(--n 100000000 --samples)
windows_path() { printf 'Z:%s' "${1//\//\\}"; }
on_console "${windows[@]}" "$WORK/ctrl-c.exe" "$(windows_path "$WORK/ctrl-c.report")" 300 \
  "$(windows_path "$WINDOWS_SIM")" "${ctrl_c_args[@]}" |
  sed -E 's/\x1b\[[0-9;?]*[A-Za-z]//g' | tr -d '\r' >"$WORK/ctrl-c.csv"
ctrl_c_status="$(cat "$WORK/ctrl-c.report" 2>/dev/null || echo "the helper failed")"
ctrl_c_lines=$(wc -l <"$WORK/ctrl-c.csv")
ctrl_c_problems=()
[[ $ctrl_c_status =~ ^code\ page\ ([0-9]+)\ before,\ 65001\ during,\ ([0-9]+)\ after\;\ ended$ &&
  ${BASH_REMATCH[1]} == "${BASH_REMATCH[2]}" && ${BASH_REMATCH[1]} != 65001 ]] ||
  ctrl_c_problems+=("$ctrl_c_status")
((ctrl_c_lines > 1 && (ctrl_c_lines - 1) % 1024 == 0)) ||
  ctrl_c_problems+=("$ctrl_c_lines lines, not the header and whole blocks")
cmp -s "$WORK/ctrl-c.csv" <("$LINUX_SIM" "${ctrl_c_args[@]}" | head -n "$ctrl_c_lines") ||
  ctrl_c_problems+=("not the first $ctrl_c_lines lines of the Linux samples, or the last one cut short")
if ((${#ctrl_c_problems[@]} == 0)); then
  passed=$((passed + 1))
  printf '  same     %-32s %s\n' "Ctrl+C on a console" "code page restored, $ctrl_c_lines lines whole"
else
  failed=$((failed + 1))
  printf '  DIFFERS  %-32s %s\n' "Ctrl+C on a console" "$(IFS=';' && echo "${ctrl_c_problems[*]}")"
fi

echo "Linux and Windows command lines: $passed passed, $failed failed"
((failed == 0))
