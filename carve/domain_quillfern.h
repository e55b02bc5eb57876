#pragma once
// The disk-scan domain: the process-wide owner of the storage unit's
// operations table and of the save thread that copies single found files out
// for preview. Created on first use; lives until the process ends.
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>

#include "carve/cdr_info.h"
#include "platform/message_sink.h"

namespace qf {

struct file_view_item;

struct save_request {
  std::string target_path;         // UTF-8
  MessageSink* window = nullptr;   // null: a marker that only signals "drained"
  file_view_item* item = nullptr;
};

class DomainQuillfern {
 public:
  static DomainQuillfern& instance();

  cdr_info_win* table() { return table_; }

  // Appends a preview save; the save thread writes it (once per path) and
  // posts WM_PREVIEW_READY to the request's window.
  void queue_save(save_request request);

  // Blocks until every request queued before this call has been served.
  void wait_for_saves();

  // The recover run's stop flag, asked by saves and exports ("stop now?").
  // The windowed program points it at its run state; by default never stops.
  void set_stop_probe(std::function<bool()> probe);
  bool stop_requested() const;

  DomainQuillfern(const DomainQuillfern&) = delete;
  DomainQuillfern& operator=(const DomainQuillfern&) = delete;

 private:
  DomainQuillfern();
  ~DomainQuillfern();
  void save_thread_main();
  void serve(const save_request& request);

  cdr_info_win* table_;
  std::mutex mutex_;
  std::condition_variable queue_signal_;
  std::condition_variable drained_signal_;
  std::deque<save_request> queue_;
  std::uint64_t drained_markers_ = 0;
  mutable std::mutex probe_mutex_;
  std::function<bool()> stop_probe_;
};

// The save callback of previews and exports: kCarveAbort once the recover
// run's stop is requested, else 0.
int recover_stop_check(std::uint64_t size, std::uint64_t copied, cdr_found_file* file, void* user_data);

// The disk node (owner of the handles) that a found file was carved from.
cdr_node* disk_of(const cdr_found_file* file);

}  // namespace qf
