# Shared by the scripts that run the Windows programs under Wine (smoke-test, replay-matches,
# run-in-wine, check-setup) and by check-exe: which program a file is, which Wine loader runs it,
# and a prefix of the caller's own that is made, and stopped, within bounded waits.
# Source it from bash; the functions print a reason on standard error, after the calling script's
# name, and return non-zero when something is missing or fails.

# The little-endian unsigned value of LENGTH bytes at OFFSET of FILE.
pax_le() {
  local file=$1 offset=$2 length=$3 bytes value=0 i
  read -ra bytes < <(od -An -v -tu1 -j "$offset" -N "$length" "$file")
  ((${#bytes[@]} == length)) || { echo 0; return; }
  for ((i = length - 1; i >= 0; i--)); do value=$((value * 256 + bytes[i])); done
  echo "$value"
}

# pax_pe_bits FILE: prints 32 for a program for the 80386 and 64 for one for x86-64, from the
# machine field of the COFF header that follows "PE\0\0" (whose offset is at 0x3c).
pax_pe_bits() {
  local file=$1 pe
  [[ -f $file && $(head -c 2 "$file") == MZ ]] || { echo "${0##*/}: $file is not a Windows program" >&2; return 1; }
  pe=$(pax_le "$file" 60 4)
  case $(pax_le "$file" $((pe + 4)) 2) in
    332) echo 32 ;;
    34404) echo 64 ;;
    *) echo "${0##*/}: $file is a Windows program for neither i386 nor x86-64" >&2; return 1 ;;
  esac
}

# pax_wine_use BITS: chooses the Wine loader for programs of that width (PAX_WINE) and the kind
# of prefix they need (WINEARCH). The loader is named directly rather than through the `wine`
# script, which would take 32-bit Wine whenever it is installed, even where it cannot execute.
pax_wine_use() {
  local bits=$1 candidate
  PAX_WINE=""
  if ((bits == 64)); then
    for candidate in "$(command -v wine64 || true)" /usr/lib/wine/wine64; do
      [[ -n $candidate && -x $candidate ]] && { PAX_WINE=$candidate; break; }
    done
    [[ -n $PAX_WINE ]] || { echo "${0##*/}: 64-bit Wine is missing; run tools/install-deps win64" >&2; return 2; }
    export WINEARCH=win64
  else
    [[ -x /usr/lib/wine/wine ]] || {
      echo "${0##*/}: 32-bit Wine is missing; run tools/install-deps win32 (only a host that runs 32-bit" \
        "programs can have it)" >&2
      return 2
    }
    PAX_WINE=/usr/lib/wine/wine
    export WINEARCH=win32
  fi
  command -v wineserver >/dev/null || { echo "${0##*/}: wineserver is missing; run tools/install-deps win$bits" >&2; return 2; }
  # Wine starts its helpers (wineboot, services) through WINELOADER: the same loader.
  export WINELOADER=$PAX_WINE WINEDEBUG=${WINEDEBUG:--all}
  # No Mono or Gecko download dialogs in a fresh prefix.
  export WINEDLLOVERRIDES="mscoree,mshtml="
}

# pax_wine_boot PREFIX LOG: makes a fresh prefix at PREFIX (WINEPREFIX from now on), with crash
# dialogs off, so that a crash ends the process with "Unhandled" on standard error instead of
# waiting on a window, and with Wine's own fonts in its Fonts folder. Needs pax_wine_use first.
pax_wine_boot() {
  export WINEPREFIX=$1
  local log=$2
  if ! timeout -k 5 120 "$PAX_WINE" wineboot -i >"$log" 2>&1; then
    echo "${0##*/}: making the Wine prefix $WINEPREFIX failed or took over 120 s; its log:" >&2
    tail -n 20 "$log" >&2
    return 1
  fi
  timeout -k 5 60 "$PAX_WINE" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog \
    /t REG_DWORD /d 0 /f >>"$log" 2>&1 || {
    echo "${0##*/}: switching off crash dialogs in $WINEPREFIX failed; its log:" >&2
    tail -n 20 "$log" >&2
    return 1
  }
  mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
  cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
}

# pax_wine_stop PREFIX: ends every process of that prefix and its server, within a bound.
pax_wine_stop() {
  [[ -d $1 ]] || return 0
  WINEPREFIX=$1 timeout -k 2 10 wineserver -k 2>/dev/null || true
  WINEPREFIX=$1 timeout -k 2 10 wineserver -w 2>/dev/null || true
}
