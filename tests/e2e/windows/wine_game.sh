#!/usr/bin/env bash
# Starts the Windows build of the game (VEKOTRA_EXE) under Wine with the
# arguments given, its DLLs found in VEKOTRA_DLL_DIRS (colon-separated Unix
# folders, given to Wine's PATH). exec keeps the process id: the Windows
# process is this one, so a test's kill and wait reach the game itself.
set -euo pipefail
path=
IFS=: read -ra dirs <<<"${VEKOTRA_DLL_DIRS:-}"
for dir in "${dirs[@]}"; do
  path+="$(winepath -w "$dir" 2>/dev/null);"
done
WINEPATH=$path exec wine "$VEKOTRA_EXE" "$@"
