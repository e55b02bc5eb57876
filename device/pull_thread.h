#pragma once
// The device check and database pull, run on a worker thread.
#include <functional>

#include "device/adb_runner.h"
#include "device/device_result.h"
#include "device/phone_files.h"
#include "platform/message_sink.h"

namespace qf::device {

// Pulls the six database files into their local paths (contacts first, then
// messages; when no mmssms.db arrived from /data/data the three telephony
// files are pulled from the device-protected path instead) and copies the two
// main files to their backup paths. Local files of an earlier pull are
// removed first, so a stale -wal can never sit beside a newly pulled database
// and no earlier phone's data survives a failed pull. Nothing is reported.
// When `stop` (if given) turns true, no further file is pulled and no backup
// made; a file already begun is finished and its mode on the phone put back.
void pull_phone_databases(const AdbClient& client, const DatabasePaths& paths,
                          const std::function<bool()>& stop = {});

// Thread routine: checks the device, pulls when it is ready, then posts
// WM_PULL_DONE (wParam = the DeviceResult, lParam = 0) exactly once, whatever
// happened. The result reports the device state, not whether the pulls
// brought anything. Returns 1.
int pull_thread(MessageSink& sink, const AdbClient& client, const DatabasePaths& paths);

}  // namespace qf::device
