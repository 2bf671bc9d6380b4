#!/usr/bin/env bash
# quarvel.exe under Wine, worked through its controls by the dialog driver, each scenario with
# the device it needs on Wine's COM1 (COM2 names no device).
# dialogs_under_wine.sh DRIVER_EXE QUARVEL_EXE KTV_SIM PROGRAM
set -euo pipefail
driver=$1
quarvel=$2
ktv_sim=$3
program=$4
here=$(dirname "$0")
export LC_ALL=C.UTF-8

. "$here/com1_device.sh"
work=$(mktemp -d)
trap 'stop_device; rm -rf "$work" "$device_out"' EXIT
# Under a name in three scripts: the dialogs take and pass on names beyond ASCII.
demo="$work/Démo ü 中.a21"
cp "$program" "$demo"
QUARVEL_EXE=$(winepath -w "$quarvel")
QUARVEL_DEMO=$(winepath -w "$demo")
export QUARVEL_EXE QUARVEL_DEMO

failures=0
# scenario TEST [KTV_SIM OPTION]...
scenario() {
    local test=$1
    shift
    start_device "$ktv_sim" "$@"
    "$here/../../scripts/wine-run.sh" "$driver" --gtest_filter="DialogDriver.$test" ||
        failures=$((failures + 1))
    stop_device
}

scenario MainDialogFollowsTemplate102
scenario ProgramFileCarriesItsIconAndVersion
scenario HelpOpensThePageBesideTheProgram
scenario DemoLoadRunsToTheEnd --flash-out "$work/flash.bin"
srec_cat "$program" -fill 0xFF 0 0x80000 -o "$work/expected.bin" -binary
if ! cmp -s "$work/flash.bin" "$work/expected.bin"; then
    echo "FAIL: the flash differs from the demo file" >&2
    failures=$((failures + 1))
fi
scenario RefusedRecordCancelledEndsInError --fault status:2:03:3
scenario RefusedRecordTriedAgainCompletes --fault status:2:03:3
scenario PortWithoutADeviceCannotBeOpened
scenario ExitKeepsTheValuesForTheNextStart
scenario WindowsAnswerAtOnceWhileTheDeviceIsSlow --delay-ms 20000
[[ $failures -eq 0 ]]
