#pragma once
// The recover run's worker: writes the selected contacts and messages as
// reports into their category folders and the selected carved files of each
// disk into its disk folder, counting only what was really written and
// listing what was not. The progress dialog starts it on its own thread and
// shows `recover_progress` on a timer; the worker tells it the run is over by
// posting WM_RECOVER_FINISHED (wParam 4).
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/message_sink.h"
#include "ui/recover_plan.h"
#include "ui/recover_texts.h"

namespace qf::ui {

enum class RecoverRun : int { Idle = 0, Running = 1, StopRequested = 3, Finished = 4 };

// Process-wide: set to StopRequested by the dialog, polled by the worker and
// (through the domain's stop probe) by the disk export inside each file.
extern std::atomic<RecoverRun> RecoverRunState;

// Points the disk-scan domain's stop probe at RecoverRunState.
void wire_recover_stop_probe();

// Written by the worker, read by the dialog's timer; the label is replaced
// as a whole so a reader never sees half a text. `failures` is the worker's
// alone until it has posted its end.
class recover_progress {
 public:
  std::atomic<std::int64_t> total{0};
  std::atomic<std::uint64_t> done{0};
  std::vector<recover_failure> failures;

  void set_label(std::string label);
  std::string label() const;

 private:
  std::shared_ptr<const std::string> label_ = std::make_shared<const std::string>("None");
};

// The whole run, on the calling thread; posts WM_RECOVER_FINISHED (wParam 4)
// to `dialog` at its end, also when stopped.
void run_recover(const recover_plan& plan, recover_progress& progress, MessageSink* dialog);

// One category's report into <output>/<category folder>: the number of
// records written (0 when none were selected or the report failed, which
// then goes into `failures`).
std::int64_t export_selected_contacts(const recover_plan& plan, const recover_item& item,
                                      std::vector<recover_failure>& failures);
std::int64_t export_selected_messages(const recover_plan& plan, const recover_item& item,
                                      std::vector<recover_failure>& failures);

}  // namespace qf::ui
