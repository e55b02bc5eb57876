#pragma once
// The lists one parse hands back, with the storage behind them.
#include <string>

#include "records/morvatch/morvatch.h"
#include "records/morvatch/node_store.h"

namespace qf::morvatch {

struct ContactLists {
  NodeChain<LibContactRowNode> rows;
  NodeChain<LibMimeTypeNode> mimetypes;
  TextPool texts;
  int status = 0;  // MORVATCH_* of the parse that filled the lists

  void clear() {
    rows.clear();
    mimetypes.clear();
    texts.clear();
    status = 0;
  }
};

struct MessageList {
  NodeChain<LibMessageNode> messages;
  TextPool texts;
  int status = 0;  // MORVATCH_* of the parse that filled the list

  void clear() {
    messages.clear();
    texts.clear();
    status = 0;
  }
};

// Every row of "data" (mimetype_id, raw_contact_id, data1) and of
// "mimetypes" (_id, mimetype), in table order. `out` is cleared first; an
// unreadable file leaves it empty.
void read_contact_lists(const std::string& utf8_path, ContactLists& out);

// Every row of "sms" (thread_id, address, date, type, body), in table order,
// the date rendered as the local-time text the records carry.
void read_message_list(const std::string& utf8_path, MessageList& out);

}  // namespace qf::morvatch
