#!/usr/bin/env bash
# scripts/check-windows-x86 on small stand-ins of the 32-bit build, made here
# with the i686 compiler: it passes a sound one and finds each fault planted
# in a copy of it (a 64-bit DLL, decorated names, a wrong name inside a DLL,
# a missing or an unknown export, a tool without the call thunk or with one
# that does not put the stack pointer back, a stdcall
# variant that is not stdcall, a missing variant).
# Usage: check-windows-x86-faults.sh SOURCE_DIR
set -euo pipefail
source_dir="$(cd "${1:?the source folder}" && pwd)"
check="$source_dir/scripts/check-windows-x86"
cc=i686-w64-mingw32-gcc-posix
cxx=i686-w64-mingw32-g++-posix
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# library NAME OUTPUT [compiler options...]: a DLL exporting the functions of
# NAME (Portway or Chanlink) and the virtual printer's own name.
functions_of() {
  grep -o 'VP_EXPORT([^,]*, *[A-Za-z0-9_]*' "$source_dir/src/vprinter/$1.cpp" | sed 's/.*, *//'
}
library() {
  local name="$1" output="$2"
  shift 2
  local compiler="$cc"
  {
    echo '#ifndef CALL'
    echo '#define CALL'
    echo '#endif'
    echo '__declspec(dllexport) int OrvaneExportWithheld(const char* n) { return n == 0; }'
    for function in $(functions_of "$name"); do
      if [ "$function" != "${SKIP:-}" ]; then
        echo "__declspec(dllexport) unsigned short CALL $function(int a) { return (unsigned short)a; }"
      fi
    done
    if [ -n "${EXTRA:-}" ]; then
      echo "__declspec(dllexport) int $EXTRA(void) { return 0; }"
    fi
  } >"$work/$name.c"
  if [ -n "${COMPILER:-}" ]; then
    compiler="$COMPILER"
  fi
  mkdir -p "$(dirname "$output")"
  "$compiler" -O0 -shared -o "$output" "$work/$name.c" "$@"
}
# tool OUTPUT [with-thunk [THUNK_SOURCE]]: an executable that calls the
# thunk once for each library function, or not at all.
tool() {
  local output="$1" calls=""
  if [ "${2:-}" = with-thunk ]; then
    calls="$(for _ in $(seq 14); do echo "r += OrvaneCallRestoringStack((const void*)&F, w, 1);"; done)"
  fi
  cat >"$work/tool.cpp" <<CPP
#include "link/LibraryCall.h"
using orvane::link::OrvaneCallRestoringStack;
static unsigned short F(int a) { return (unsigned short)a; }
int main() { unsigned r = 0; const uint32_t w[2] = {1, 0}; (void)w; (void)F; $calls return (int)r; }
CPP
  local sources=("$work/tool.cpp")
  if [ "${2:-}" = with-thunk ]; then
    sources+=("${3:-$source_dir/src/link/LibraryCallI686.cpp}")
  fi
  "$cxx" -std=c++20 -O1 -I"$source_dir/src" -o "$output" "${sources[@]}"
}

# The three kinds of tool, made once: with the thunk, without it, and with a
# thunk that leaves ESP where a cdecl callee left it.
tools="$work/tools"
mkdir -p "$tools"
tool "$tools/with-thunk.exe" with-thunk
tool "$tools/without-thunk.exe"
sed '/movl %esi, %esp/d' "$source_dir/src/link/LibraryCallI686.cpp" >"$work/Unrestored.cpp"
tool "$tools/unrestored.exe" with-thunk "$work/Unrestored.cpp"

sound="$work/sound"
library Portway "$sound/Portway.dll"
library Chanlink "$sound/Chanlink.dll"
library Portway "$sound/stdcall/Portway.dll" -DCALL=__stdcall -Wl,--kill-at
library Chanlink "$sound/stdcall/Chanlink.dll" -DCALL=__stdcall -Wl,--kill-at
cp "$tools/with-thunk.exe" "$sound/orvane-service.exe"
cp "$tools/with-thunk.exe" "$sound/orvane-pattern.exe"
cp "$tools/without-thunk.exe" "$sound/orvane-vprinter.exe"

failures=0
# expect NAME PATTERN FOLDER: the check on FOLDER ends with 1 and says PATTERN
# (or, for the sound build, ends with 0).
expect() {
  local name="$1" pattern="$2" folder="$3" output status=0
  output="$("$check" "$folder" 2>&1)" || status=$?
  if [ "$pattern" = sound ]; then
    if [ "$status" -ne 0 ]; then
      echo "FAIL $name: the sound build was refused:"; echo "$output"; failures=$((failures + 1))
      return
    fi
  elif [ "$status" -ne 1 ] || ! grep -q -- "$pattern" <<<"$output"; then
    echo "FAIL $name: expected exit 1 and '$pattern', got $status:"; echo "$output"
    failures=$((failures + 1))
    return
  fi
  echo "ok   $name"
}
# variant NAME: a copy of the sound build to plant a fault in.
variant() {
  cp -r "$sound" "$work/$1"
  echo "$work/$1"
}

expect "a sound build" sound "$sound"

folder="$(variant x64)"
COMPILER=x86_64-w64-mingw32-gcc-posix library Chanlink "$folder/Chanlink.dll"
expect "a 64-bit DLL" "Chanlink.dll is not a PE32 file for i386" "$folder"

folder="$(variant decorated)"
library Chanlink "$folder/stdcall/Chanlink.dll" -DCALL=__stdcall
expect "decorated names" "exports names it should not.*D4Reset@4" "$folder"

folder="$(variant inner-name)"
library Portway "$folder/Portway32.dll"
mv "$folder/Portway32.dll" "$folder/Portway.dll"
expect "a DLL named otherwise inside" "calls itself 'Portway32.dll'" "$folder"

folder="$(variant missing-export)"
SKIP=D4Reset library Chanlink "$folder/Chanlink.dll"
expect "a missing export" "Chanlink.dll does not export: D4Reset" "$folder"

folder="$(variant unknown-export)"
EXTRA=PortDebug library Portway "$folder/Portway.dll"
expect "an unknown export" "exports names it should not.*PortDebug" "$folder"

folder="$(variant no-thunk)"
cp "$tools/without-thunk.exe" "$folder/orvane-pattern.exe"
expect "a tool without the thunk" "orvane-pattern.exe holds no call thunk" "$folder"

folder="$(variant thunk-keeps-esp)"
cp "$tools/unrestored.exe" "$folder/orvane-service.exe"
expect "a thunk that does not restore ESP" "does not put ESP back from ESI right after its call" \
  "$folder"

folder="$(variant cdecl-variant)"
library Portway "$folder/stdcall/Portway.dll" -Wl,--kill-at
expect "a stdcall variant that is cdecl" "PortOpenByPway is not stdcall" "$folder"

folder="$(variant stdcall-ordinary)"
library Portway "$folder/Portway.dll" -DCALL=__stdcall -Wl,--kill-at
expect "ordinary libraries that are stdcall" "PortOpenByPway is not cdecl" "$folder"

folder="$(variant no-variant)"
rm -r "$folder/stdcall"
expect "no stdcall variant" "stdcall/Portway.dll is missing" "$folder"

if [ "$failures" -gt 0 ]; then
  echo "$failures case(s) failed"
  exit 1
fi
echo "all cases passed"
