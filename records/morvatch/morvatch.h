/* The live-record parser library: reads the rows that a phone's contacts
 * database ("data" and "mimetypes") and telephony database ("sms") still hold,
 * and hands them back as singly linked lists that stay valid until the
 * matching release call.
 *
 * On Windows this is morvatch.dll, which exports the four entry points by
 * ordinal (1 parse contacts, 2 release contacts, 3 parse messages, 4 release
 * messages) with the C calling convention; the program imports them by
 * ordinal. Elsewhere the same code is a shared library linked directly.
 *
 * Paths are UTF-8. Texts in the lists are NUL-terminated UTF-8 exactly as
 * stored in the database; a null text pointer stands for the empty text.
 * A file that is missing, empty or not a database gives empty lists (null
 * heads). The library reads a private copy of the file and its -wal, so a
 * file that another connection holds locked gives its committed rows at once,
 * without waiting. One parse of each kind is live at a time: a second parse
 * without a release first releases the earlier lists. Not thread-safe: the
 * loader calls it from one thread. No given file is ever changed or created:
 * the rows of a -wal beside the file are read, but it is never checkpointed,
 * removed or given a -shm.
 */
#ifndef QF_MORVATCH_H
#define QF_MORVATCH_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(_WIN32)
#define MORVATCH_CALL __cdecl
#define MORVATCH_API /* exported by ordinal through morvatch.def */
#else
#define MORVATCH_CALL
#define MORVATCH_API __attribute__((visibility("default")))
#endif

/* One row of the contacts database's "mimetypes" table. */
typedef struct LibMimeTypeNode {
  int32_t id;                   /* mimetypes._id */
  const char* text;             /* mimetypes.mimetype */
  struct LibMimeTypeNode* next; /* null at the end */
} LibMimeTypeNode;

/* One row of the contacts database's "data" table. Ids are 64-bit here (the
 * database's integers are), so no id is ever cut to 32 bits. */
typedef struct LibContactRowNode {
  int32_t mimetype_id;            /* data.mimetype_id, a key of the mimetype list */
  int64_t raw_contact_id;         /* data.raw_contact_id */
  const char* value;              /* data.data1 as text */
  struct LibContactRowNode* next; /* null at the end */
  int32_t value_length;           /* bytes of value: a text may hold NUL bytes */
} LibContactRowNode;

/* One row of the telephony database's "sms" table. */
typedef struct LibMessageNode {
  int64_t thread_id;           /* sms.thread_id */
  const char* address;         /* sms.address */
  const char* date_text;       /* sms.date as local "%Y-%m-%d %H:%M:%S" */
  int32_t type;                /* sms.type: 1 received, anything else sent */
  const char* body;            /* sms.body */
  struct LibMessageNode* next; /* null at the end */
  int32_t body_length;         /* bytes of body: a text may hold NUL bytes */
} LibMessageNode;

/* Ordinal 1. The caller sets all four out-pointers' targets to null. The
 * first two are reserved and left null; the third receives the data rows,
 * the fourth the mimetype list. Any out-pointer may itself be null. */
MORVATCH_API void MORVATCH_CALL morvatch_parse_contacts(const char* utf8_path, void** reserved1,
                                                        void** reserved2,
                                                        LibContactRowNode** rows,
                                                        LibMimeTypeNode** mimetypes);
/* Ordinal 2: frees everything the last morvatch_parse_contacts returned. */
MORVATCH_API void MORVATCH_CALL morvatch_release_contacts(void);

/* Ordinal 3. Three out-pointers; the second receives the message list, the
 * first and third are reserved and left null. */
MORVATCH_API void MORVATCH_CALL morvatch_parse_messages(const char* utf8_path, void** reserved1,
                                                        LibMessageNode** messages,
                                                        void** reserved3);
/* Ordinal 4: frees everything the last morvatch_parse_messages returned.
 * Returns the number of messages freed. */
MORVATCH_API int MORVATCH_CALL morvatch_release_messages(void);

/* Ordinal 5: how the last parse of either kind went. A parse that could not
 * read everything still hands back what it read; this says why the lists may
 * be short, so that the caller can tell the user instead of staying silent. */
#define MORVATCH_OK 0
#define MORVATCH_MISSING 1        /* no such file: nothing to read */
#define MORVATCH_NO_COPY 2        /* the private copy could not be made (temporary folder full?) */
#define MORVATCH_NOT_DATABASE 3   /* SQLite cannot read the file at all */
#define MORVATCH_ROWS_SKIPPED 4   /* damaged pages: the rows on them were skipped */
MORVATCH_API int MORVATCH_CALL morvatch_last_status(void);

typedef void(MORVATCH_CALL* morvatch_parse_contacts_fn)(const char*, void**, void**,
                                                        LibContactRowNode**, LibMimeTypeNode**);
typedef void(MORVATCH_CALL* morvatch_release_contacts_fn)(void);
typedef void(MORVATCH_CALL* morvatch_parse_messages_fn)(const char*, void**, LibMessageNode**,
                                                        void**);
typedef int(MORVATCH_CALL* morvatch_release_messages_fn)(void);
typedef int(MORVATCH_CALL* morvatch_last_status_fn)(void);

#ifdef __cplusplus
}
#endif

#endif /* QF_MORVATCH_H */
