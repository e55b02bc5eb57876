#!/usr/bin/env bash
# The phone side on built-in demo data: a simulated rooted phone (the phone
# simulator playing the ADB client, holding fixture databases with deleted
# contacts and messages) is checked and pulled by `quillfern phone`, which
# writes Contacts.html and Messages.html into build/demo/phone/.
set -euo pipefail
source "$(dirname "$0")/common.sh"
dir=${QF_DEMO_BUILD:-$build/native}
mkdir -p "$build/logs" "$build/demo"
echo "== building quillfern, the phone simulator and the fixture builder (log: build/logs/build-demo-phone.log)"
{ cmake -S "$root" -B "$dir" -G Ninja && cmake --build "$dir" --target quillfern phone-sim make-fixtures -j "$jobs"; } \
  > "$build/logs/build-demo-phone.log" 2>&1 || { tail -n 30 "$build/logs/build-demo-phone.log"; exit 1; }

scenario=$build/demo/phone-scenario
out=$build/demo/phone
rm -rf "$out"
bash "$root/tools/phone-sim/make-scenario.sh" "$scenario" device "$dir/tools/fixtures/make-fixtures"
echo "== a simulated rooted phone is attached; recovering its contacts and messages"
QF_PHONE_SCENARIO=$scenario "$dir/tools/quillfern/quillfern" phone \
  --adb "$dir/tools/phone-sim/phone-sim" --out "$out"
echo "== what was asked of the phone ($scenario/commands.log):"
sed 's/\t/ /g; s/^/  /' "$scenario/commands.log" | head -n 12
echo "  ..."
echo "== open $out/Contacts.html and $out/Messages.html in a browser"
