#include "carve/domain_quillfern.h"

#include <algorithm>
#include <filesystem>
#include <thread>

#include "carve/storage_view.h"
#include "platform/app_messages.h"

namespace qf {

DomainQuillfern& DomainQuillfern::instance() {
  // Never destroyed: the detached save thread may still wait on its members
  // while the process ends.
  static DomainQuillfern* domain = new DomainQuillfern;
  return *domain;
}

DomainQuillfern::DomainQuillfern() : table_(new_cdr_info()) {
  table_->init(table_);
  std::thread([this] { save_thread_main(); }).detach();
}

DomainQuillfern::~DomainQuillfern() { delete_cdr_info(table_); }

void DomainQuillfern::queue_save(save_request request) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    queue_.push_back(std::move(request));
  }
  queue_signal_.notify_one();
}

void DomainQuillfern::wait_for_saves() {
  std::unique_lock<std::mutex> lock(mutex_);
  const std::uint64_t target = drained_markers_ + 1 + static_cast<std::uint64_t>(std::count_if(
      queue_.begin(), queue_.end(), [](const save_request& r) { return r.window == nullptr; }));
  queue_.push_back(save_request{});
  queue_signal_.notify_one();
  drained_signal_.wait(lock, [&] { return drained_markers_ >= target; });
}

void DomainQuillfern::set_stop_probe(std::function<bool()> probe) {
  std::lock_guard<std::mutex> lock(probe_mutex_);
  stop_probe_ = std::move(probe);
}

bool DomainQuillfern::stop_requested() const {
  std::lock_guard<std::mutex> lock(probe_mutex_);
  return stop_probe_ && stop_probe_();
}

void DomainQuillfern::save_thread_main() {
  for (;;) {
    save_request request;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      queue_signal_.wait(lock, [&] { return !queue_.empty(); });
      request = std::move(queue_.front());
      queue_.pop_front();
    }
    if (request.window) {
      serve(request);
    } else {
      std::lock_guard<std::mutex> lock(mutex_);
      ++drained_markers_;
      drained_signal_.notify_all();
    }
  }
}

void DomainQuillfern::serve(const save_request& request) {
  // A file already previewed is not copied again; the window is told anyway.
  std::error_code error;
  if (!std::filesystem::exists(std::filesystem::u8path(request.target_path), error) && request.item) {
    cdr_found_file* file = request.item->engine;
    const cdr_node* disk = disk_of(file);
    if (disk) table_->save_found_file(table_, file, request.target_path, disk->save_handle, recover_stop_check, nullptr);
  }
  request.window->post(WM_PREVIEW_READY, 0, 0);
}

int recover_stop_check(std::uint64_t, std::uint64_t, cdr_found_file*, void*) {
  return DomainQuillfern::instance().stop_requested() ? kCarveAbort : 0;
}

cdr_node* disk_of(const cdr_found_file* file) {
  if (!file) return nullptr;
  cdr_node* node = file->folder;
  while (node && !node->owns_handles) node = node->parent;
  if (node) return node;
  // A tree built without handle owners: the folder's parent holds the handles.
  return file->folder ? file->folder->parent : nullptr;
}

}  // namespace qf
