/*
 * The engine library's public interface.
 *
 * Every export runs on its caller's thread and hands its work to the engine
 * thread of the open project as a command; results come back as integers and
 * as result buffers that the caller releases, together with every string
 * address inside them, with Eng_FreeMem.
 */
#ifndef SITELARK_ENGINE_H
#define SITELARK_ENGINE_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define ENG_EXPORT __attribute__((visibility("default")))

/* The version text of this engine. */
#define ENG_VERSION "1.0.4.0"

/* Results of Eng_OpenProject and of exports called with no project open. */
#define ENG_NOT_OPEN (-1)
#define ENG_ALREADY_OPEN (-2)
#define ENG_OPEN_FAILED (-3)
#define ENG_NO_DATABASE_ENGINE (-8)

/*
 * A window: anything that can take a posted message. post may be called from
 * any thread and returns non-zero when the message was queued. A null
 * EngWnd pointer means "no window".
 */
typedef struct EngWnd {
    int (*post)(struct EngWnd *self, uint32_t msg, uintptr_t wParam, intptr_t lParam);
} EngWnd;

/* Called while an application export waits; dispatches the caller's own events. */
typedef void (*EngPump)(void);

/* Message box flags passed to the UI host. */
#define ENG_MB_ICONEXCLAMATION 0x00000030u
#define ENG_MB_TOPMOST 0x00040000u

/* Kinds of a credentials prompt: a server's 401, or a proxy's 407 (an FTP
 * login counts as the proxy kind). */
#define ENG_PROMPT_SERVER 1u
#define ENG_PROMPT_PROXY 2u
/* The size of each answer buffer of a credentials prompt; the engine takes
 * the first 50 bytes of the NUL-terminated text written there. */
#define ENG_CREDENTIAL_SIZE 256u

/* What a credentials prompt shows. */
typedef struct EngCredentialsPrompt {
    uint32_t id;   /* names the prompt for cancelPrompt */
    uint32_t kind; /* ENG_PROMPT_SERVER or ENG_PROMPT_PROXY */
    const char *site;
    const char *realm;
    /* The stored answer the prompt opens with, or both NULL when it opens empty. */
    const char *userName;
    const char *password;
} EngCredentialsPrompt;

/*
 * The application's user-interface services, used by the engine for its
 * message boxes and credential prompts. Without a host the engine writes
 * "Lark Engine: <text>" to standard error and goes on, and refuses every
 * challenge. The struct only ever grows at its end: zero-initialise it, so
 * that services a host does not offer are NULL.
 */
typedef struct EngUiHost {
    void *context;
    /* Shows a message box; may be called on any thread. */
    void (*messageBox)(void *context, const char *caption, const char *text, uint32_t flags);
    /* Asks for a user name and password; called on the worker thread that met
     * the challenge, which waits for the answer, one prompt at a time. Answers
     * 1 for OK with both texts written into the buffers (ENG_CREDENTIAL_SIZE
     * bytes each), 0 for Cancel. NULL refuses every challenge. */
    int32_t (*promptCredentials)(void *context, const EngCredentialsPrompt *prompt, char *userName, char *password);
    /* Closes the prompt with that id as if Cancel had been pressed (a
     * download was aborted). May come from any thread, before the prompt
     * shows (it then answers Cancel at once) or after it was answered
     * (nothing happens); must not wait for the prompt. */
    void (*cancelPrompt)(void *context, uint32_t id);
} EngUiHost;

/* Notifications posted to the notification window (wParam = length, lParam = buffer). */
#define ENG_NOTIFY_PROGRESS 33615u
#define ENG_NOTIFY_STATISTICS 33616u
#define ENG_NOTIFY_URLRES 33617u
#define ENG_NOTIFY_INDEX 33619u
#define ENG_NOTIFY_SEARCH 33620u
#define ENG_NOTIFY_TASK_CHANGED 33621u
#define ENG_NOTIFY_EXPORT 33625u
#define ENG_NOTIFY_ONLINE 33626u
#define ENG_NOTIFY_TASK_ADDED 33630u

/* Statistics record of ENG_NOTIFY_STATISTICS (40 bytes). */
#pragma pack(push, 1)
typedef struct EngStatisticsRecord {
    uint32_t bytesReceived; /* since the last reset */
    uint32_t averageSpeed;  /* bytes per second */
    uint32_t bytesLastSecond;
    double remainingTime; /* days */
    double elapsedTime;   /* days */
    uint32_t queued;
    uint32_t done;
    uint32_t errors;
} EngStatisticsRecord;

/* Download states of a progress record. */
#define ENG_DOWNLOAD_CREATED 1
#define ENG_DOWNLOAD_STARTED 2
#define ENG_DOWNLOAD_RECEIVING 3
#define ENG_DOWNLOAD_FINISHED 4
#define ENG_DOWNLOAD_NO_THREAD 5

/* Progress record of ENG_NOTIFY_PROGRESS (53 bytes); its strings are released with Eng_FreeMem. */
typedef struct EngDownloadProgressRecord {
    uint32_t urlResId;
    double started;
    char *url;
    char *postData;
    char *contentType;
    uint8_t state;
    uint32_t lastChunk;
    uint32_t received;
    uint32_t contentLength;
    uint32_t resumeOffset;
} EngDownloadProgressRecord;

/* Phases of an Eng_IndexDatabase run. */
#define ENG_INDEX_STARTING 1
#define ENG_INDEX_EXTRACTING 2
#define ENG_INDEX_IMPORTING 3

/* Progress record of ENG_NOTIFY_INDEX (20 bytes). */
typedef struct EngIndexProgressRecord {
    int32_t phase;  /* ENG_INDEX_* */
    int32_t bodies; /* to index */
    int32_t done;
    int32_t words;    /* written so far */
    int32_t reserved; /* always 0 */
} EngIndexProgressRecord;

/* States of an Eng_SearchItems run. */
#define ENG_SEARCH_STARTED 1
#define ENG_SEARCH_FAILED 4

/* Progress record of ENG_NOTIFY_SEARCH (16 bytes). */
typedef struct EngSearchProgressRecord {
    int32_t state; /* ENG_SEARCH_* */
    int32_t error; /* the system's last error code when the search failed, else 0 */
    int32_t reserved1;
    int32_t reserved2;
} EngSearchProgressRecord;

/* Phases of an export. */
#define ENG_EXPORT_STARTED 1
#define ENG_EXPORT_COLLECTING 5 /* total: the task's items; current: resources taken so far */
#define ENG_EXPORT_WRITING 6    /* total: the nodes of the tree, its root included; current: nodes done */
#define ENG_EXPORT_FINISHED 7   /* the last record of a run, an EngExportSummaryRecord */

/* Flags of Eng_ExportTask, Eng_ExportRes and Eng_ExportDatabase. */
#define ENG_EXPORT_HTML_EXTENSION 1u /* pages end in ".html" */
#define ENG_EXPORT_NAME_LENGTH 2u    /* names are cut to the nameLength given */
#define ENG_EXPORT_PAGE_ONLY 4u      /* Eng_ExportRes: the page alone, every link absolute */

/* Progress record of ENG_NOTIFY_EXPORT (16 bytes). */
typedef struct EngExportProgressRecord {
    int32_t phase; /* ENG_EXPORT_* */
    int32_t total;
    int32_t current;
    int32_t reserved; /* always 0 */
} EngExportProgressRecord;

/* The record of ENG_EXPORT_FINISHED (40 bytes): a progress record whose
 * total and current are the files written, then what the export did. */
typedef struct EngExportSummaryRecord {
    EngExportProgressRecord progress;
    uint64_t bytes;         /* written */
    uint32_t localLinks;    /* links rewritten to exported files */
    uint32_t absoluteLinks; /* links left to or made into absolute addresses */
    uint32_t notWritten;    /* files left out: a folder not made, a name taken */
    uint32_t reserved;      /* always 0 */
} EngExportSummaryRecord;

/* Host state of Eng_GetPingSocketsState (16 bytes), one per pinged host with
   a result; the host is released with Eng_FreeMem. */
typedef struct EngPingStateRecord {
    char *host;
    int32_t replied;    /* 1 when the last ping got its reply, else 0 */
    uint32_t roundTrip; /* milliseconds, of the last reply */
} EngPingStateRecord;

/* Folder record (20 bytes); the name is released with Eng_FreeMem. */
typedef struct EngFolderRecord {
    uint32_t folder;
    uint32_t parent;
    uint32_t subfolders; /* number of direct subfolders */
    char *name;
} EngFolderRecord;

/* Crawl states of a URL resource. */
#define ENG_STATE_DONE 2
#define ENG_STATE_QUEUED 3
#define ENG_STATE_DOWNLOADING 4
#define ENG_STATE_SUSPENDED 5

/* Link kinds: how a stored link is used by its page. A hyperlink leads one
 * level deeper; every other kind is embedded and fetched on its page's level. */
#define ENG_LINK_HYPERLINK 0
#define ENG_LINK_IMAGE 1
#define ENG_LINK_BACKGROUND 2
#define ENG_LINK_TABLE_BACKGROUND 3
#define ENG_LINK_FRAME 4
#define ENG_LINK_IFRAME 5
#define ENG_LINK_SCRIPT 6
#define ENG_LINK_SOUND 7
#define ENG_LINK_INPUT_IMAGE 8
#define ENG_LINK_EMBED 9
#define ENG_LINK_APPLET 10
#define ENG_LINK_STYLESHEET 11
#define ENG_LINK_REFRESH 12
#define ENG_LINK_CELL_BACKGROUND 13
#define ENG_LINK_HEADER_BACKGROUND 14
#define ENG_LINK_LAST ENG_LINK_HEADER_BACKGROUND

/* Relation groups of Eng_GetRelItems: the embedded files of a page (kinds
 * 1 to 14), its hyperlinks, and the pages that link to it. */
#define ENG_REL_EMBEDDED 1
#define ENG_REL_HYPERLINKS 2
#define ENG_REL_LINKED_BY 3

/* URL resource record (81 bytes); its strings are released with Eng_FreeMem. */
typedef struct EngUrlResRecord {
    char *url;
    char *formData;
    uint32_t id;
    uint8_t state;
    int32_t status;
    char *errorText; /* of the last error; "Ok." for status 499 */
    uint32_t contentLength;
    uint32_t size;
    uint32_t error;
    char *contentType;
    double lastModified;
    double doneTime;
    int32_t type;
    char *title;
} EngUrlResRecord;

/* Item record (24 bytes): a task's membership of one address. */
typedef struct EngItemRecord {
    uint32_t item;
    uint32_t task;
    int32_t level;
    double created;
    int32_t tag;
} EngItemRecord;

/* Task states. */
#define ENG_TASK_COMPLETE 2
#define ENG_TASK_ACTIVE 4
#define ENG_TASK_STOPPED 5

/*
 * Task record (168 bytes). Returned by the engine with engine-allocated
 * strings; the input of Eng_CreateTask and Eng_UpdateTask with the caller's
 * own strings. The two reserved strings are always empty.
 */
typedef struct EngTaskRecord {
    uint32_t id;
    char *url;
    char *formData;
    char *reserved1;
    char *reserved2;
    char *userAgent;
    uint32_t queued;
    uint32_t retrieved;
    uint32_t depth;
    uint32_t state;
    double acceptableAge; /* days */
    double created;
    double done;
    uint32_t folder;
    char *filter;
    uint32_t lowGraphics;
    char *note;
    char *name;
    char *referer;
    uint32_t followRedirects;
    uint32_t error;
    uint32_t size;
    char *errorText;
    char *contentType;
    int32_t type;
    int32_t status;
    uint32_t errorCount;
    uint32_t transportErrorCount;
} EngTaskRecord;

/* Actions of ENG_NOTIFY_URLRES, whose payload is the action byte, an item
   record and a URL resource record. */
#define ENG_URLRES_ITEM_GOT_RESOURCE 1
#define ENG_URLRES_CHANGED 2
#define ENG_URLRES_DELETING 3

/* Option flags of EngProjectProps. */
#define ENG_OPTION_NO_OFFLINE_ENQUEUE 1u /* the browser does not enqueue new resources while offline */
#define ENG_OPTION_BROWSER_CACHE 2u      /* retrieve resources from the browser cache */

/*
 * Project properties (58 bytes), read with Eng_GetProjectProp and replaced
 * with Eng_SetProjectProp. Strings are the caller's texts on input and
 * engine-allocated copies on output. The proxies are read only when
 * proxyAccess is 3; each is "host[:port[:user[:password]]]" on input and
 * "host[:port]" on output.
 */
typedef struct EngProjectProps {
    uint32_t optionFlags;
    uint16_t timeout;        /* seconds, at most 600 */
    uint16_t pause;          /* between connections, seconds, at most 60 */
    uint16_t maxConnections; /* at most 100 */
    uint16_t maxPerServer;   /* at most 10 */
    uint16_t retries;        /* at most 100 */
    char *note;
    char *filter;
    char *userText;
    uint32_t proxyAccess;
    char *httpProxy;
    char *ftpProxy;
} EngProjectProps;

/* Figures of the open project (20 bytes), from Eng_GetProjectFigures. */
typedef struct EngProjectFigures {
    uint32_t version; /* of the project file's layout */
    uint32_t tasks;
    uint32_t urlResources; /* fetches, done or waiting: one per address, form data and time */
    uint32_t bodies;       /* stored bodies, each shared by the fetches that got it */
    uint32_t strings;      /* stored texts: addresses, form data, notes, filters, user texts */
} EngProjectFigures;

/* Link record (20 bytes) of Eng_GetStoredLinks: one link of a stored page;
 * its strings are released with Eng_FreeMem. */
typedef struct EngLinkRecord {
    uint32_t kind; /* ENG_LINK_* */
    char *url;
    char *formData; /* empty unless the link posts a form */
} EngLinkRecord;
#pragma pack(pop)

/* Project lifecycle and status. */
ENG_EXPORT int32_t Eng_OpenProject(const char *path, EngWnd *owner, EngWnd *notify, EngPump pump);
ENG_EXPORT int32_t Eng_IsOpen(void);
ENG_EXPORT int32_t Eng_CloseProject(void);
ENG_EXPORT int32_t Eng_IsOnline(void);
ENG_EXPORT void Eng_FreeMem(void *address);
ENG_EXPORT char *Eng_GetVersion(char **cell);
ENG_EXPORT void Eng_SetUiHost(const EngUiHost *host);

/* Which files that failed a refresh fetches again: bits of Eng_RefreshTask's
 * mode; Eng_RefreshPrj and Eng_CountRefreshable take server errors,
 * connection errors, or both (3). */
#define ENG_REFRESH_SERVER_ERRORS 1
#define ENG_REFRESH_CONNECTION_ERRORS 2
#define ENG_REFRESH_ALL 4

/* Tasks. */
ENG_EXPORT int32_t Eng_CreateTask(const void *task);
ENG_EXPORT int32_t Eng_UpdateTask(const void *task);
ENG_EXPORT int32_t Eng_DeleteTask(uint32_t task);
ENG_EXPORT void Eng_StopTask(uint32_t task);
ENG_EXPORT void Eng_RunTask(uint32_t task);
ENG_EXPORT void Eng_GetTaskFromID(uint32_t task, void **addr, uint32_t *len);
ENG_EXPORT void Eng_GetFolderTasks(uint32_t folder, void **addr, uint32_t *len);
ENG_EXPORT void Eng_FindTasks(const char *url, const char *form, void **addr, uint32_t *len);
ENG_EXPORT int32_t Eng_RefreshTask(uint32_t task, int32_t mode);
ENG_EXPORT int32_t Eng_SerializeTask(const char *taskArchive, const char *urlResArchive, const char *bodyArchive,
                                     int32_t storing, uint32_t folder, const uint32_t *tasks, uint32_t count);

/* Crawling. */
ENG_EXPORT int32_t Eng_Run(void);
ENG_EXPORT int32_t Eng_Stop(void);
ENG_EXPORT void Eng_AbortConnection(uint32_t urlRes);
ENG_EXPORT void Eng_ResetProgress(void);
ENG_EXPORT int32_t Eng_RefreshPrj(int32_t errorKind);
ENG_EXPORT int32_t Eng_CountRefreshable(int32_t errorKind);
ENG_EXPORT int32_t Eng_CountNotAcceptedResources(uint32_t task);

/* Project properties and statistics. */
ENG_EXPORT int32_t Eng_GetProjectProp(void **addr, uint32_t *len);
ENG_EXPORT int32_t Eng_SetProjectProp(const void *buffer, uint32_t length);
ENG_EXPORT void Eng_GetStatistics(void **addr, uint32_t *len);
/* Answers with one EngProjectFigures record. */
ENG_EXPORT void Eng_GetProjectFigures(void **addr, uint32_t *len);

/* Folders. */
ENG_EXPORT int32_t Eng_SetActiveFolder(uint32_t folder);
ENG_EXPORT int32_t Eng_CreateFolder(uint32_t parent, const char *name);
ENG_EXPORT int32_t Eng_RenameFolder(uint32_t folder, const char *name);
ENG_EXPORT int32_t Eng_DeleteFolder(uint32_t folder);
ENG_EXPORT int32_t Eng_MoveFolder(uint32_t folder, uint32_t parent);
ENG_EXPORT void Eng_GetSubFolders(uint32_t folder, void **addr, uint32_t *len);
ENG_EXPORT void Eng_GetFolder(uint32_t folder, void **addr, uint32_t *len);

/* URL resources and items. */
ENG_EXPORT int32_t Eng_RefreshUrlRes(uint32_t urlRes);
ENG_EXPORT int32_t Eng_DeleteUrlRes(uint32_t urlRes);
ENG_EXPORT int32_t Eng_CreateUrlRes(const char *url, const char *form, uint32_t task);
ENG_EXPORT int32_t Eng_SerializeUrlres(const char *urlResArchive, const char *bodyArchive, int32_t storing,
                                       const uint32_t *urlRes, uint32_t count);
ENG_EXPORT void Eng_GetTaskItems(uint32_t task, void **addr, uint32_t *len);
ENG_EXPORT void Eng_FindTaskItem(uint32_t task, uint32_t item, void **addr, uint32_t *len);
ENG_EXPORT void Eng_GetRelItems(uint32_t urlRes, int16_t group, void **addr, uint32_t *len);
/*
 * The links stored for the latest fetch of an address (canonicalised) with
 * its form data that has a body: one EngLinkRecord per link, in the order
 * the page holds them. Returns 1 when the project has such a fetch (its
 * page may hold no links), 0 when it has none, ENG_NOT_OPEN with no project
 * open.
 */
ENG_EXPORT int32_t Eng_GetStoredLinks(const char *url, const char *form, void **addr, uint32_t *len);

/*
 * Browser requests. Eng_GetBody answers with a reply record: UInt32 status
 * kind, UInt32 main-page flag, then for a status kind the UInt32 URL resource
 * id (that of the queued page for ENG_BODY_QUEUED, else 0); for a page
 * (ENG_BODY_PAGE) the counted texts final address (empty unless stored
 * redirects were followed), content type and body, and a UInt32 wait token:
 * not 0 while the page is being fetched, when the texts are empty. The token
 * is a descriptor the caller owns: it becomes readable when the download has
 * been processed, and the caller closes it.
 */
#define ENG_BODY_PAGE 0u
#define ENG_BODY_INVALID_URL 1u           /* the address is empty once canonical */
#define ENG_BODY_TOO_MANY_REDIRECTS 2u    /* more than 10 stored redirects in a row */
#define ENG_BODY_NO_CONNECTION 3u         /* queued, and the connection is known to be down */
#define ENG_BODY_QUEUED 4u                /* queued while the project is offline */
#define ENG_BODY_NOT_ACCEPTED 5u          /* not stored and not enqueued, or stored as not acceptable */
#define ENG_BODY_NOT_AVAILABLE_OFFLINE 7u /* not stored, and not enqueued while offline */
#define ENG_BODY_NO_DATA 8u               /* stored without a body */
ENG_EXPORT void Eng_GetBody(const char *url, const char *form, uint32_t referrerHash, uint32_t task, double date,
                            void **addr, uint32_t *len);
ENG_EXPORT void Eng_GetItemFromUrl(const char *url, const char *form, uint32_t task, double date, void **addr,
                                   uint32_t *len);
ENG_EXPORT void Eng_GetItemFromUrlResID(uint32_t urlRes, void **addr, uint32_t *len);
ENG_EXPORT void Eng_GetSource(uint32_t urlRes, void **addr, uint32_t *len);
ENG_EXPORT int32_t Eng_KivAbortWaiting(uint32_t token);
ENG_EXPORT int32_t Eng_RefreshUrlRes2(uint32_t task, const char *url, const char *form, double date);
ENG_EXPORT void Eng_BeforeNavigate(const char *url, const char *unused);

/* Word index, search and filters. */
ENG_EXPORT int32_t Eng_IndexDatabase(void);
ENG_EXPORT void Eng_CountNotIndexedResources(uint32_t *count, uint32_t *size);
/*
 * Eng_SearchItems finds stored URL resources: by a query over the words of
 * their bodies (indexed bodies only), by a query over the words of their
 * titles, and by their address pattern, sizes, completion and modification
 * dates, type and crawl states (states: bits 1 queued, 2 with errors, 4
 * without errors; 0 selects nothing). Queries: words, "phrases" (or
 * 'phrases'), and, or, not, ( ), implied AND between words, patterns with
 * * ? # [ ] [! ], letter case ignored. Answers 1 with item and resource
 * pairs (items all zero), -1 when a query does not parse, 0 on failure.
 * ENG_NOTIFY_SEARCH is posted when it starts and when it fails.
 */
ENG_EXPORT int32_t Eng_SearchItems(int32_t maxResults, const char *bodyQuery, int16_t states, const char *urlPattern,
                                   const char *titleQuery, int32_t minSize, int32_t maxSize, double doneFrom,
                                   double doneTo, double modifiedFrom, double modifiedTo, int32_t type, void **addr,
                                   uint32_t *len);
/*
 * Eng_ValidateQuery checks a text as a search query (ENG_QUERY_SEARCH) or as
 * a filter expression (ENG_QUERY_FILTER): 0 when it parses, else a negative
 * error code: -2 a "(" without its ")", -3 a quote without its closing
 * quote, -4 an operator without its operands, -5 an empty expression or
 * group or a ")" where none is open, -6 two operands without an operator,
 * -7 a search query too long to search (more than 64 words or 256 tokens).
 */
#define ENG_QUERY_SEARCH 1
#define ENG_QUERY_FILTER 2
ENG_EXPORT int32_t Eng_ValidateQuery(const char *text, int32_t kind);
/*
 * Eng_ValidateQuery that also tells where the text fails: the byte offset in
 * the text of the token at which parsing stopped, placed in *position (when
 * it is not null); -1 when the text parses.
 */
ENG_EXPORT int32_t Eng_ValidateQueryAt(const char *text, int32_t kind, int32_t *position);
ENG_EXPORT int32_t Eng_TestFilter(const char *filter, const char *url, int32_t linkKind, char **report);

/* Export to disk. */
ENG_EXPORT int32_t Eng_ExportDatabase(const char *path, uint32_t flags, uint32_t nameLength);
ENG_EXPORT int32_t Eng_ExportTask(const char *path, uint32_t task, uint32_t flags, uint32_t nameLength);
ENG_EXPORT int32_t Eng_ExportRes(const char *path, uint32_t urlRes, uint32_t flags, uint32_t nameLength);

/* Online detection. */
ENG_EXPORT int32_t Eng_PingHosts(const char *hosts);
ENG_EXPORT void Eng_GetPingSocketsState(void **addr, uint32_t *len);

/* Database maintenance. */
ENG_EXPORT int32_t Eng_CompactDatabase(const char *path);
ENG_EXPORT int32_t Eng_RepairDatabase(const char *path);
/*
 * Eng_RepairDatabase that also answers with its report: for a sound file a
 * line saying so; for a damaged one where the damaged file was kept and, per
 * table, the rows saved and those that could not be ("at most N" where only
 * a bound is known); on failure (result 0) the reason. The text is placed in
 * *report (when report is not null) and released with Eng_FreeMem.
 */
ENG_EXPORT int32_t Eng_RepairDatabaseReport(const char *path, char **report);

/*
 * Ordinal binding: ELF has no ordinals, so the library exports this table,
 * ended by an entry whose ordinal is 0.
 */
typedef struct EngOrdinal {
    uint32_t ordinal;
    void (*function)(void);
} EngOrdinal;
ENG_EXPORT extern const EngOrdinal Eng_Ordinals[];

#ifdef __cplusplus
}
#endif

#endif
