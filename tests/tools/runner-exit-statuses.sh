#!/usr/bin/env bash
# The runner's exit status for each way a run can end, each on a fresh copy of the demo machine:
# its own failures in the sysexits range, the program's /e code passed on, 0 for a run that ended.
# Usage: runner-exit-statuses.sh NORVANE DEMO_MACHINE
set -uo pipefail
norvane=$1 demo=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf 'frobnicate\n' >"$work/typo.script"
failures=0

# Runs the runner after the named setup on a fresh copy of the demo machine, which @MACHINE in
# the arguments names, and checks its exit status.
#   expect STATUS SETUP ARG...
expect() {
  local status=$1 setup=$2
  shift 2
  rm -rf "$work/m" && cp -rL "$demo" "$work/m"
  case "$setup" in
    removed) "$norvane" --machine "$work/m" --ui none \
               --cmdline '/s /x Corvida Model A, Corvida Model B' >/dev/null 2>&1 ;;
    unsaveable) mkdir "$work/m/registry.reg.saving" ;;
  esac
  "$norvane" "${@//@MACHINE/$work/m}" >"$work/out" 2>&1
  local got=$?
  if [ "$got" != "$status" ]; then
    echo "FAIL [$setup] norvane $*: exit status $got, not $status"
    sed 's/^/  /' "$work/out"
    failures=$((failures + 1))
  fi
}

run='--machine @MACHINE --ui none --cmdline'
# The removal's tenth change comes after one to the registry, which an unsaveable machine cannot
# write back.
# shellcheck disable=SC2086 # $run is split into its words on purpose
{
  expect 0 - $run '/s /x Corvida Model A'
  expect 0 removed $run '/s /x Corvida Model A'
  expect 2 removed $run '/s /e /x Corvida Model A'
  expect 5 - $run '/s /e /q'
  expect 64 - --frobnicate
  expect 64 - --cut-off 0 --machine @MACHINE
  expect 66 - --machine @MACHINE/missing --ui none
  expect 66 - --machine @MACHINE --ui "script:$work"
  expect 65 - --machine @MACHINE --ui "script:$work/typo.script"
  expect 74 unsaveable $run '/s /x Corvida Model A'
  expect 75 - --cut-off 1 $run '/s /x Corvida Model A'
  expect 74 unsaveable --cut-off 10 $run '/s /x Corvida Model A'
}
[ "$failures" = 0 ]
