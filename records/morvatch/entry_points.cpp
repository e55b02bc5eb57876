// The four exported entry points. Each parse replaces the lists of the last
// parse of its kind; the release frees them. Nothing escapes across the C
// boundary: a failure (even running out of memory) gives empty lists.
#include <new>

#include "records/morvatch/live_lists.h"
#include "records/morvatch/morvatch.h"

namespace {

qf::morvatch::ContactLists& contact_lists() {
  static qf::morvatch::ContactLists lists;
  return lists;
}

qf::morvatch::MessageList& message_list() {
  static qf::morvatch::MessageList list;
  return list;
}

// How the last parse of either kind went.
int& last_status() {
  static int status = MORVATCH_OK;
  return status;
}

template <typename T>
void set_out(T** out, T* value) {
  if (out != nullptr) *out = value;
}

}  // namespace

extern "C" {

MORVATCH_API void MORVATCH_CALL morvatch_parse_contacts(const char* utf8_path, void** reserved1,
                                                        void** reserved2,
                                                        LibContactRowNode** rows,
                                                        LibMimeTypeNode** mimetypes) {
  set_out<void>(reserved1, nullptr);
  set_out<void>(reserved2, nullptr);
  set_out<LibContactRowNode>(rows, nullptr);
  set_out<LibMimeTypeNode>(mimetypes, nullptr);
  auto& lists = contact_lists();
  try {
    if (utf8_path != nullptr) {
      qf::morvatch::read_contact_lists(utf8_path, lists);
    } else {
      lists.clear();
    }
  } catch (...) {
    lists.clear();
    last_status() = MORVATCH_NOT_DATABASE;
    return;
  }
  last_status() = lists.status;
  set_out(rows, lists.rows.head());
  set_out(mimetypes, lists.mimetypes.head());
}

MORVATCH_API void MORVATCH_CALL morvatch_release_contacts(void) { contact_lists().clear(); }

MORVATCH_API void MORVATCH_CALL morvatch_parse_messages(const char* utf8_path, void** reserved1,
                                                        LibMessageNode** messages,
                                                        void** reserved3) {
  set_out<void>(reserved1, nullptr);
  set_out<void>(reserved3, nullptr);
  set_out<LibMessageNode>(messages, nullptr);
  auto& list = message_list();
  try {
    if (utf8_path != nullptr) {
      qf::morvatch::read_message_list(utf8_path, list);
    } else {
      list.clear();
    }
  } catch (...) {
    list.clear();
    last_status() = MORVATCH_NOT_DATABASE;
    return;
  }
  last_status() = list.status;
  set_out(messages, list.messages.head());
}

MORVATCH_API int MORVATCH_CALL morvatch_release_messages(void) {
  auto& list = message_list();
  const int freed = static_cast<int>(list.messages.size());
  list.clear();
  return freed;
}

MORVATCH_API int MORVATCH_CALL morvatch_last_status(void) { return last_status(); }

}  // extern "C"
