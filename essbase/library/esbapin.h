/*
 * The client library's C ABI (libesbapin.so / esbapin.dll).
 *
 * Every operation returns a signed 32-bit status, 0 = success. Texts are
 * single-byte (Latin-1) and NUL-terminated unless a field is said to be
 * fixed-width.
 *
 * Buffer sizes and ownership (the caller owns every buffer; the library never
 * keeps a pointer past the call and never writes past the size given here):
 *   EsbInit          record: ESB_INIT_RECORD_SIZE (372) bytes, read only.
 *   EsbAutoLogin     server, user: ESB_NAME_BUFFER (31) bytes in/out,
 *                    password: ESB_PASSWORD_BUFFER (101) bytes in/out,
 *                    application, database: ESB_OBJNAME_BUFFER (9) bytes out.
 *                    In: NUL-terminated, trailing blanks ignored. Out: NUL-terminated.
 *   EsbGetNextItem   buffer: the width of the item kind, fixed, NUL-padded;
 *                    a name that fills the field carries no NUL:
 *                      ESB_ITEM_APPNAME  (9)  ESB_APPNAME_WIDTH (8) bytes
 *                      ESB_ITEM_DBNAME   (7)  ESB_DBITEM_WIDTH (16) bytes:
 *                                             application 8 + database 8
 *                      ESB_ITEM_FILTERNAME (12) ESB_FILTERNAME_WIDTH (30) bytes
 *                    A server may hold longer names, and characters outside
 *                    Latin-1: such an item is not written (nothing is cut or
 *                    replaced); the call returns ESB_STS_NAME_NOT_HELD and the
 *                    listing moves on to its next item.
 *   EsbGetApplicationInfo  record: ESB_APPINFO_A_SIZE (52) bytes when the
 *                    instance was initialised with version 0x60000,
 *                    ESB_APPINFO_B_SIZE (48) bytes with 0x50200.
 *   EsbGetFilterRow  row: length bytes. The row is written with its NUL, so a
 *                    row of length or more characters does not fit: the call
 *                    returns ESB_STS_BUFFER_TOO_SMALL, writes nothing and
 *                    keeps the row pending. row[0] == NUL: no more rows.
 *   EsbGetFilter     a filter with a row holding a character outside Latin-1
 *                    is refused whole with ESB_STS_ROW_NOT_HELD: no rows open.
 *   EsbSetFilterRow  row: NUL-terminated, at most ESB_ROW_MAX characters, or
 *                    NULL to close (commit) the definition opened by
 *                    EsbSetFilter.
 * Integers in records are little-endian.
 */
#ifndef QUORVEL_ESBAPIN_H
#define QUORVEL_ESBAPIN_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(_WIN32)
#define ESB_API __declspec(dllexport)
#else
#define ESB_API __attribute__((visibility("default")))
#endif

typedef uint32_t EsbHandle;

/* Versions accepted by EsbInit. */
#define ESB_API_VERSION_6 0x60000u
#define ESB_API_VERSION_5 0x50200u

/* Item kinds of EsbGetNextItem. */
#define ESB_ITEM_DBNAME 7
#define ESB_ITEM_APPNAME 9
#define ESB_ITEM_FILTERNAME 12

/* Field widths and buffer sizes (bytes). */
#define ESB_APPNAME_WIDTH 8
#define ESB_DBNAME_WIDTH 8
#define ESB_DBITEM_WIDTH 16
#define ESB_FILTERNAME_WIDTH 30
#define ESB_NAME_WIDTH 30
#define ESB_NAME_BUFFER 31
#define ESB_PASSWORD_WIDTH 100
#define ESB_PASSWORD_BUFFER 101
#define ESB_OBJNAME_BUFFER 9
#define ESB_ROW_MAX 8192
#define ESB_INIT_RECORD_SIZE 372
#define ESB_APPINFO_A_SIZE 52
#define ESB_APPINFO_B_SIZE 48

/* Statuses. */
#define ESB_STS_OK 0
#define ESB_STS_CANCELLED 1                 /* login prompt cancelled or not available */
#define ESB_STS_LIBRARY_UNAVAILABLE 1030002 /* client library or one of its symbols missing */
#define ESB_STS_BAD_VERSION 1030012         /* EsbInit: version not served */
#define ESB_STS_BAD_INSTANCE 1030013
#define ESB_STS_BAD_CONTEXT 1030014 /* no such login context */
#define ESB_STS_NULL_ARGUMENT 1030015
#define ESB_STS_NO_ITEM_PENDING 1030020
#define ESB_STS_BAD_ITEM_KIND 1030021 /* kind differs from the pending listing */
#define ESB_STS_BUFFER_TOO_SMALL 1030022
#define ESB_STS_ROWS_NOT_OPEN 1030023  /* row call without EsbGetFilter/EsbSetFilter */
#define ESB_STS_TOO_MANY_ITEMS 1030025 /* a listing longer than a 16-bit count */
/* A name its Latin-1 field cannot hold (longer than the field, or a character
   outside Latin-1): EsbGetNextItem (the listing moves on), EsbGetApplicationInfo. */
#define ESB_STS_NAME_NOT_HELD 1030026
/* EsbGetFilter, EsbGetFilterRow: a row holds a character outside Latin-1. */
#define ESB_STS_ROW_NOT_HELD 1030027
#define ESB_STS_STORE_FAILURE 1030030 /* the server's store cannot be read or written */
#define ESB_STS_UNKNOWN_SERVER 1042006
#define ESB_STS_RELOGIN 1051021 /* login context ended: log in again */
#define ESB_STS_UNKNOWN_APPLICATION 1051030
#define ESB_STS_UNKNOWN_DATABASE 1051031
#define ESB_STS_BAD_NAME 1051041
#define ESB_STS_UNKNOWN_FILTER 1051047
#define ESB_STS_BAD_ROW 1051048 /* row empty, too long or holding CR/LF */
#define ESB_STS_BAD_LOGIN 1051293

ESB_API int32_t EsbInit(const void* record, EsbHandle* instance);
ESB_API int32_t EsbTerm(EsbHandle instance);
ESB_API int32_t EsbAutoLogin(EsbHandle instance, char* server, char* user, char* password,
                             char* application, char* database, int16_t options, int16_t* access,
                             EsbHandle* context);
ESB_API int32_t EsbLogin(EsbHandle instance, const char* server, const char* user,
                         const char* password, int16_t* count, EsbHandle* context);
ESB_API int32_t EsbLogout(EsbHandle context);
ESB_API int32_t EsbListApplications(EsbHandle context, int16_t* count);
ESB_API int32_t EsbListDatabases(EsbHandle context, const char* application, int16_t* count);
ESB_API int32_t EsbGetNextItem(EsbHandle context, int16_t kind, char* buffer);
ESB_API int32_t EsbGetApplicationInfo(EsbHandle context, const char* application, void* record,
                                      int16_t* databases);
ESB_API int32_t EsbUnloadApplication(EsbHandle context, const char* application);
ESB_API int32_t EsbSetActive(EsbHandle context, const char* application, const char* database,
                             int16_t* access);
ESB_API int32_t EsbListFilters(EsbHandle context, const char* application, const char* database,
                               int16_t* count);
ESB_API int32_t EsbGetFilter(EsbHandle context, const char* application, const char* database,
                             const char* filter, int16_t* active, int16_t* access);
ESB_API int32_t EsbGetFilterRow(EsbHandle context, char* row, int32_t length, int16_t* access);
ESB_API int32_t EsbSetFilter(EsbHandle context, const char* application, const char* database,
                             const char* filter, int16_t active, int16_t access);
ESB_API int32_t EsbSetFilterRow(EsbHandle context, const char* row, int16_t access);
ESB_API int32_t EsbDeleteFilter(EsbHandle context, const char* application, const char* database,
                                const char* filter);

/*
 * Simulated server only (a real client library has no such symbol).
 * The prompt gets the buffers of EsbAutoLogin pre-filled (server, user:
 * ESB_NAME_BUFFER bytes; password: ESB_PASSWORD_BUFFER bytes) and writes the
 * answer back NUL-terminated within those sizes. It returns 0 for OK and
 * anything else for Cancel. With no prompt registered EsbAutoLogin returns 1.
 */
typedef int32_t (*EsbSimLoginPrompt)(void* user_data, char* server, char* user, char* password);
ESB_API void EsbSimSetLoginPrompt(EsbSimLoginPrompt prompt, void* user_data);

#ifdef __cplusplus
}
#endif

#endif
