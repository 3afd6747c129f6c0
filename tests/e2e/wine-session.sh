# shellcheck shell=bash
# A Wine session for running the real Windows launcher on Linux: a virtual X screen
# (Xvfb), a fresh Wine prefix and a Wine server kept alive between programs, and the
# means to find and dismiss the launcher's windows. Sourced by tests/e2e/wine-e2e
# and tools/screenshots; every function works on the session folder $SESSION.
#
#   session_requirements     installs what is missing; returns 77 with the reason
#                            printed when it cannot be had
#   session_start            the screen and the prefix; the reason printed on failure
#   session_resume           the variables of a session started by another process
#   session_stop             ends the Wine server and the screen
#   wait_window TITLE SECS   the id of the shown window titled exactly TITLE
#   press_return ID          presses Return in the window (its default button)
#   dismiss_window TITLE SECS  waits for the window and presses Return in it until
#                            it is gone

session_repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

# The Wine programs: Debian's wine64 package installs them outside the PATH.
session_find_wine() {
  WINE=$(command -v wine64 || true)
  [[ -z $WINE && -x /usr/lib/wine/wine64 ]] && WINE=/usr/lib/wine/wine64
  WINESERVER=$(command -v wineserver || true)
  [[ -z $WINESERVER && -x /usr/lib/wine/wineserver ]] && WINESERVER=/usr/lib/wine/wineserver
  [[ -n $WINE && -n $WINESERVER ]]
}

session_requirements() {
  local missing=()
  session_find_wine || missing+=(wine64)
  command -v Xvfb >/dev/null || missing+=(Xvfb)
  command -v xdotool >/dev/null || missing+=(xdotool)
  ((${#missing[@]} == 0)) && return 0
  if ! "$session_repo/tools/install-deps" e2e >"$SESSION/install.log" 2>&1; then
    echo "skipped: ${missing[*]} missing and could not be installed ($(tail -1 "$SESSION/install.log"))"
    return 77
  fi
  if ! session_find_wine || ! command -v Xvfb >/dev/null || ! command -v xdotool >/dev/null; then
    echo "skipped: ${missing[*]} still missing after tools/install-deps e2e"
    return 77
  fi
}

session_environment() {
  export WINEPREFIX=$SESSION/prefix
  # No debug channels, and no offer to fetch Mono or Gecko: nothing is downloaded. No
  # menu builder either: it would copy every start-menu shortcut the launcher makes
  # into the host's own menu.
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  DISPLAY=:$(cat "$SESSION/display")
  export DISPLAY
}

session_start() {
  session_find_wine || { echo "Wine is not installed"; return 1; }
  # The screen picks a free display number and writes it to its descriptor 3.
  setsid Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp \
    3>"$SESSION/display" </dev/null >"$SESSION/xvfb.log" 2>&1 &
  echo $! >"$SESSION/xvfb.pid"
  local waited=0
  until [[ -s $SESSION/display ]]; do
    sleep 0.1
    ((++waited < 100)) || { echo "Xvfb did not start: $(tail -1 "$SESSION/xvfb.log")"; return 1; }
  done
  session_environment
  # A fresh prefix, with a server that stays up until session_stop, so that every
  # program after the first starts at once.
  mkdir -p "$WINEPREFIX"
  "$WINESERVER" -p </dev/null >"$SESSION/wineserver.log" 2>&1
  if ! timeout 300 "$WINE" wineboot -i </dev/null >"$SESSION/wineboot.log" 2>&1; then
    echo "wineboot failed: $(tail -1 "$SESSION/wineboot.log")"
    return 1
  fi
  # The clerks' workstations run Windows 10 22H2 (10.0.19045); a new prefix says
  # Windows 7. Wine's own "win10" setting says 10.0.18362, a build too old for .NET
  # Framework 4.8's installer, so the version is the system's registry values, which
  # Wine reports when it is given no setting of its own.
  local version='HKLM\Software\Microsoft\Windows NT\CurrentVersion'
  if ! session_reg add "$version" /v CurrentVersion /d 10.0 /f ||
     ! session_reg add "$version" /v CurrentBuildNumber /d 19045 /f ||
     ! session_reg delete "$version" /v CSDVersion /f; then
    echo "cannot set the prefix to Windows 10"
    return 1
  fi
  # A relay trace, when a case asks for one, shows only the calls that register fonts.
  if ! session_reg add 'HKCU\Software\Wine\Debug' /v RelayInclude /d gdi32.AddFontResourceA /f; then
    echo "cannot restrict the relay trace"
    return 1
  fi
  # The runtimes a current workstation has: both VC runtimes and .NET Framework 4.8,
  # where their installers leave them, so that the dependency step finds them current.
  local key
  for key in 'HKLM\SOFTWARE\Wow6432Node\Microsoft\VisualStudio\14.0\VC\Runtimes\x86' \
             'HKLM\SOFTWARE\Wow6432Node\Microsoft\VisualStudio\14.0\VC\Runtimes\x64'; do
    session_reg add "$key" /v Installed /t REG_DWORD /d 1 /f /reg:64 &&
      session_reg add "$key" /v Version /d v14.40.33810.00 /f /reg:64 ||
      { echo "cannot record the VC runtimes"; return 1; }
  done
  session_record_netfx || { echo "cannot record .NET Framework 4.8"; return 1; }
  # The product's configuration location, which a clerk's workstation has from the
  # product's installation; the backup sets go below it.
  mkdir -p "$WINEPREFIX/drive_c/ProgramData/Veltrix"
  touch "$SESSION/ready"
}

# The key .NET Framework 4.8's installer leaves; a case that takes it away puts it back
# with this.
readonly session_netfx_key='HKLM\SOFTWARE\Microsoft\NET Framework Setup\NDP\v4\Full'
# `reg` in the prefix, its output in wineboot.log; tried three times, as a busy
# machine now and then makes a wineserver request time out.
session_reg() {
  local attempt
  for attempt in 1 2 3; do
    "$WINE" reg "$@" </dev/null >>"$SESSION/wineboot.log" 2>&1 && return 0
    sleep 1
  done
  return 1
}

session_record_netfx() {
  session_reg add "$session_netfx_key" /v Install /t REG_DWORD /d 1 /f /reg:64 &&
    session_reg add "$session_netfx_key" /v Release /t REG_DWORD /d 528372 /f /reg:64
}

session_resume() {
  session_find_wine && [[ -f $SESSION/ready ]] || return 1
  session_environment
}

session_stop() {
  if [[ -f $SESSION/display ]] && session_find_wine; then
    session_environment
    "$WINESERVER" -k >/dev/null 2>&1 || true
  fi
  if [[ -f $SESSION/xvfb.pid ]]; then
    kill "$(cat "$SESSION/xvfb.pid")" 2>/dev/null || true
    rm -f "$SESSION/xvfb.pid"
  fi
  rm -f "$SESSION/ready"
}

wait_window() {
  local title=$1 deadline=$((SECONDS + $2)) id
  while ((SECONDS < deadline)); do
    for id in $(xdotool search --onlyvisible --name . 2>/dev/null); do
      if [[ $(xdotool getwindowname "$id" 2>/dev/null) == "$title" ]]; then
        echo "$id"
        return 0
      fi
    done
    sleep 0.2
  done
  return 1
}

press_return() {
  xdotool windowfocus --sync "$1" 2>/dev/null || true
  xdotool key --window "$1" Return
}

# Wine may replace a new window's X window while it activates it, so a key sent to
# the first one can get lost: the window is looked up again until it has gone.
dismiss_window() {
  local title=$1 id tries
  id=$(wait_window "$title" "$2") || return 1
  for ((tries = 0; tries < 10; ++tries)); do
    press_return "$id" 2>/dev/null || true
    sleep 0.5
    id=$(wait_window "$title" 1) || return 0
  done
  return 1
}
