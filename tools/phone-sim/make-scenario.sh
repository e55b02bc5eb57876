#!/usr/bin/env bash
# make-scenario.sh DIR KIND [MAKE_FIXTURES]
# Writes a phone-simulator scenario folder DIR (put it beside the simulator as
# "phone-scenario", or point QF_PHONE_SCENARIO at it). KIND is one of:
#   device  unauthorized  offline  no-permissions  two-devices  no-device
#   no-root  user-de  hang  flood
# The phone's databases come from the fixture builder (make-fixtures, the
# third argument) for device, no-root and user-de.
set -euo pipefail
dir=$1 kind=$2 fixtures=${3:-make-fixtures}
rm -rf "$dir"
mkdir -p "$dir"
serial=0123456789ABCDEF
attach() { printf '%s\t%s\n' "$serial" "$1" > "$dir/devices"; }
databases() {
  local tmp; tmp=$(mktemp -d)
  "$fixtures" --wal --keep-wal "$tmp" >/dev/null
  mkdir -p "$dir/phone/data/data/com.android.providers.contacts/databases" "$dir/phone/$1"
  cp "$tmp"/contacts2.db* "$dir/phone/data/data/com.android.providers.contacts/databases/"
  cp "$tmp"/mmssms.db* "$dir/phone/$1/"
  rm -rf "$tmp"
}
case $kind in
  device) attach device; databases data/data/com.android.providers.telephony/databases ;;
  user-de) attach device; databases data/user_de/0/com.android.providers.telephony/databases ;;
  no-root) attach device; touch "$dir/no-root"; databases data/data/com.android.providers.telephony/databases ;;
  unauthorized|offline) attach "$kind" ;;
  no-permissions) attach "no permissions (user in plugdev group; are your udev rules wrong?); see [http://developer.android.com/tools/device.html]" ;;
  two-devices) printf 'A1\toffline\n%s\tdevice\n' "$serial" > "$dir/devices" ;;
  no-device) : > "$dir/devices" ;;
  hang) attach device; echo 600 > "$dir/hang" ;;
  flood) attach device; echo 4194304 > "$dir/flood" ;;
  *) echo "unknown kind: $kind" >&2; exit 2 ;;
esac
