#!/usr/bin/env bash
# Runs a Windows program under Wine for ctest and test discovery, headless
# and quiet, in a Wine prefix of the build folder (made on first use).
#   wine-run.sh PREFIX PROGRAM.exe [ARGS...]
# Exits with the program's exit code. A program Wine cannot start (a DLL
# missing, say) exits non-zero too; its reason is hidden by WINEDEBUG=-all,
# so rerun with WINEDEBUG=err+all to see it.
set -uo pipefail
prefix=$1
shift

export WINEPREFIX=$prefix
export WINEDEBUG=${INKLINE_WINEDEBUG:--all}
export WINEARCH=win32
# No display: GDI on memory device contexts needs none. No Mono or Gecko
# install prompts when the prefix is made.
unset DISPLAY WAYLAND_DISPLAY
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

if [ ! -f "$prefix/system.reg" ]; then
  mkdir -p "$prefix"
  # Parallel tests share one prefix: the first makes it, the others wait.
  (
    flock 9
    if [ ! -f "$prefix/system.reg" ]; then
      wineboot -i >/dev/null 2>&1
      wineserver -w
    fi
  ) 9>"$prefix.lock"
fi

exec wine "$@"
