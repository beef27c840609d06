/* A stand-in ODBC driver manager and installer, built by the tests in variants that lack one
 * function or another. Exports every name the binding resolves with its real signature; the ones
 * the tests call behave like a tiny driver manager that tells environments, connections and
 * statements apart, serves a scripted one-column result, and records what it was given. Tests can
 * also script answers per statement text (columns, rows, return codes, diagnostics, further
 * results) and read back the calls in order, to stand in for a server that does not run here. */
#include <stdint.h>
#include <stdio.h>
#include <string.h>

#if defined(_WIN32)
#define FAKE_API __stdcall
#define FAKE_EXPORT __declspec(dllexport)
#else
#define FAKE_API
#define FAKE_EXPORT __attribute__((visibility("default")))
#endif

typedef short Ret;
typedef void* Handle;
typedef unsigned short Wchar;
typedef unsigned char Text;
typedef short Small;
typedef unsigned short USmall;
typedef intptr_t Len;
typedef uintptr_t ULen;

/* What the tests read back through fakeState(). */
typedef struct FakeState {
    int allocEnv;
    int freeEnv;
    int setEnvAttr;
    int installedDrivers;
    int errorCalls;
    int connectCalls;
    char lastConnectName[512];
    char lastConnectUser[64];
    char lastConnectPassword[64];
    char lastDriverConnect[4096];
    int lastDriverConnectLength;
    int driverConnectCalls;
    int statementsAllocated;
    int statementsFreed;
    int disconnects;
    int connectionsFreed;
    int invalidHandles;   /* calls given a handle of the wrong kind, or one already freed */
    int liveConnections;  /* allocated and not yet freed */
    int liveStatements;
    int failedFreeEnv;    /* SQLFreeEnv refused while connections lived */
    char lastExec[256];
    int setConnectOptions;
} FakeState;

static FakeState state;

/* Every handle points at one of these; the kind tells environments, connections and statements
 * apart, so a handle passed where another kind belongs is refused as a real manager refuses it. */
enum { KIND_ENV = 0x31564E45, KIND_DBC = 0x31434244, KIND_STMT = 0x544D5453 };
typedef struct Object {
    int kind;
    int live;
    int connected;
    int row;     /* statement: current row of the scripted result, -1 before the first fetch */
    int script;  /* statement: index of the scripted answer it runs, -1 for the plain rows */
    int extra;   /* statement: further results still to come through SQLMoreResults */
    int inFirst; /* statement: still on the first result (the one with the columns) */
    const char* message; /* statement: the diagnostic of its last failed call, until read */
    int offset;  /* statement: bytes of the current value already returned */
    int given;   /* statement: the current value was returned to its end */
    int column;  /* statement: the column `offset` and `given` belong to */
} Object;

#define MAX_CONNECTIONS 8
#define MAX_STATEMENTS 16
static Object environmentObject;
static Object connections[MAX_CONNECTIONS];
static Object statements[MAX_STATEMENTS];

/* The scripted one-column result every statement returns: NULL entries are SQL NULLs. */
#define MAX_ROWS 16
static const char* rows[MAX_ROWS];
static int rowCount;
static int noTotal; /* report SQL_NO_TOTAL instead of the remaining length */

/* Scripted answers: a statement whose text starts with `prefix` returns `execRc` (and `message` as
 * its diagnostic when that is not plain success), a result with `columns` and `rows`, then `extra`
 * further results through SQLMoreResults, the last of which returns `extraRc`. */
#define MAX_SCRIPTS 24
#define MAX_COLUMNS 12
#define MAX_CELL 64
typedef struct Script {
    char prefix[160];
    int execRc;
    char message[160];
    int columnCount;
    char columns[MAX_COLUMNS][MAX_CELL];
    int rowCount;
    char cells[MAX_ROWS][MAX_COLUMNS][MAX_CELL];
    int extra;
    int extraRc;
} Script;
static Script scripts[MAX_SCRIPTS];
static int scriptCount;
static char dbmsName[64] = "Fake";
/* Every SQLExecDirect, SQLSetStmtOption, SQLMoreResults and statement free, one per line. */
static char calls[32768];

FAKE_EXPORT FakeState* fakeState(void) {
    return &state;
}

FAKE_EXPORT void fakeReset(void) {
    memset(&state, 0, sizeof state);
    memset(&environmentObject, 0, sizeof environmentObject);
    memset(connections, 0, sizeof connections);
    memset(statements, 0, sizeof statements);
    rowCount = 0;
    noTotal = 0;
    scriptCount = 0;
    strcpy(dbmsName, "Fake");
    calls[0] = 0;
}

static void record(const char* call, const char* detail) {
    size_t used = strlen(calls), room = sizeof calls - used;
    size_t need = strlen(call) + (detail ? strlen(detail) + 1 : 0) + 2;
    if (need >= room)
        return;
    strcat(calls, call);
    if (detail) {
        strcat(calls, " ");
        strcat(calls, detail);
    }
    strcat(calls, "\n");
}

FAKE_EXPORT const char* fakeCalls(void) {
    return calls;
}

/* Forgets the scripts and the recorded calls; handles stay as they are. */
FAKE_EXPORT void fakeClearScripts(void) {
    scriptCount = 0;
    calls[0] = 0;
}

FAKE_EXPORT void fakeSetDbmsName(const char* name) {
    strncpy(dbmsName, name, sizeof dbmsName - 1);
    dbmsName[sizeof dbmsName - 1] = 0;
}

/* Splits `text` at `separator` into at most `count` cells of `Script` width. */
static int split(const char* text, char separator, char (*cells)[MAX_CELL], int count) {
    int n = 0;
    while (text && *text && n < count) {
        const char* end = strchr(text, separator);
        size_t length = end ? (size_t)(end - text) : strlen(text);
        if (length >= MAX_CELL)
            length = MAX_CELL - 1;
        memcpy(cells[n], text, length);
        cells[n][length] = 0;
        ++n;
        text = end ? end + 1 : 0;
    }
    return n;
}

/* `columns`: names separated by tabs (empty: no result set); `rows`: rows separated by newlines,
 * their cells by tabs. */
FAKE_EXPORT void fakeScript(const char* prefix,
                            int execRc,
                            const char* message,
                            const char* columns,
                            const char* rowText,
                            int extra,
                            int extraRc) {
    Script* script;
    char lines[MAX_ROWS][MAX_COLUMNS * MAX_CELL];
    int i;
    if (scriptCount >= MAX_SCRIPTS)
        return;
    script = &scripts[scriptCount++];
    memset(script, 0, sizeof *script);
    strncpy(script->prefix, prefix, sizeof script->prefix - 1);
    strncpy(script->message, message ? message : "", sizeof script->message - 1);
    script->execRc = execRc;
    script->columnCount = split(columns, '\t', script->columns, MAX_COLUMNS);
    for (i = 0; rowText && *rowText && i < MAX_ROWS; ++i) {
        const char* end = strchr(rowText, '\n');
        size_t length = end ? (size_t)(end - rowText) : strlen(rowText);
        if (length >= sizeof lines[i])
            length = sizeof lines[i] - 1;
        memcpy(lines[i], rowText, length);
        lines[i][length] = 0;
        split(lines[i], '\t', script->cells[i], MAX_COLUMNS);
        rowText = end ? end + 1 : 0;
    }
    script->rowCount = i;
    script->extra = extra;
    script->extraRc = extraRc;
}

static int findScript(const char* text) {
    int i;
    for (i = 0; i < scriptCount; ++i)
        if (strncmp(text, scripts[i].prefix, strlen(scripts[i].prefix)) == 0)
            return i;
    return -1;
}

/* Values are kept by pointer: the caller's strings must outlive the statement. */
FAKE_EXPORT void fakeSetRows(const char* const* values, int count, int reportNoTotal) {
    int i;
    rowCount = count < MAX_ROWS ? count : MAX_ROWS;
    for (i = 0; i < rowCount; ++i)
        rows[i] = values[i];
    noTotal = reportNoTotal;
}

static Object* find(Object* pool, int size, Handle handle, int kind) {
    int i;
    for (i = 0; i < size; ++i) {
        if (handle == &pool[i] && pool[i].live && pool[i].kind == kind)
            return &pool[i];
    }
    ++state.invalidHandles;
    return 0;
}

static Object* environmentOf(Handle handle) {
    return find(&environmentObject, 1, handle, KIND_ENV);
}
static Object* connectionOf(Handle handle) {
    return find(connections, MAX_CONNECTIONS, handle, KIND_DBC);
}
static Object* statementOf(Handle handle) {
    return find(statements, MAX_STATEMENTS, handle, KIND_STMT);
}

static Object* allocate(Object* pool, int size, int kind) {
    int i;
    for (i = 0; i < size; ++i) {
        if (!pool[i].live) {
            memset(&pool[i], 0, sizeof pool[i]);
            pool[i].kind = kind;
            pool[i].live = 1;
            pool[i].row = -1;
            pool[i].script = -1;
            return &pool[i];
        }
    }
    return 0;
}

static Ret newConnection(Handle env, Handle* output) {
    Object* connection;
    *output = 0;
    if (!environmentOf(env))
        return -2;
    connection = allocate(connections, MAX_CONNECTIONS, KIND_DBC);
    if (!connection)
        return -1;
    ++state.liveConnections;
    *output = connection;
    return 0;
}

static Ret newStatement(Handle dbc, Handle* output) {
    Object* statement;
    *output = 0;
    if (!connectionOf(dbc))
        return -2;
    statement = allocate(statements, MAX_STATEMENTS, KIND_STMT);
    if (!statement)
        return -1;
    ++state.statementsAllocated;
    ++state.liveStatements;
    *output = statement;
    return 0;
}

static Ret freeStatement(Handle stmt) {
    Object* statement = statementOf(stmt);
    if (!statement)
        return -2;
    statement->live = 0;
    record("SQLFreeHandle", 0);
    ++state.statementsFreed;
    --state.liveStatements;
    return 0;
}

/* Names resolved but never called by the tests, each with its real signature: under 32-bit
 * __stdcall the callee pops the arguments, so a wrong signature corrupts the caller's stack. */
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-parameter"
#define S Text*
#define L Small
#define STUB(name, parameters) \
    FAKE_EXPORT Ret FAKE_API name parameters { return -1; }

STUB(SQLBindCol, (Handle s, USmall c, Small t, void* v, Len n, Len* i))
STUB(SQLCancel, (Handle s))
STUB(SQLColAttributes, (Handle s, USmall c, USmall f, void* v, Small n, Small* l, Len* d))
STUB(SQLColumns, (Handle s, S a, L b, S c, L d, S e, L f, S g, L h))
STUB(SQLExecute, (Handle s))
STUB(SQLGetCursorName, (Handle s, Text* n, Small z, Small* l))
STUB(SQLPrepare, (Handle s, Text* t, int n))
STUB(SQLRowCount, (Handle s, Len* n))
STUB(SQLSetCursorName, (Handle s, Text* n, Small z))
STUB(SQLTransact, (Handle e, Handle c, USmall t))
STUB(SQLGetConnectOption, (Handle c, USmall o, void* v))
#ifndef FAKE_OMIT_OPTIONAL
STUB(SQLPrimaryKeys, (Handle s, S a, L b, S c, L d, S e, L f))
#endif
STUB(SQLForeignKeys, (Handle s, S a, L b, S c, L d, S e, L f, S g, L h, S i, L j, S k, L m))
STUB(SQLProcedures, (Handle s, S a, L b, S c, L d, S e, L f))
STUB(SQLProcedureColumns, (Handle s, S a, L b, S c, L d, S e, L f, S g, L h))
STUB(SQLGetFunctions, (Handle c, USmall f, USmall* v))
STUB(SQLStatistics, (Handle s, S a, L b, S c, L d, S e, L f, USmall u, USmall r))
STUB(SQLBindParameter, (Handle s, USmall p, Small io, Small c, Small t, ULen z, Small d, void* v, Len n, Len* i))
STUB(SQLBrowseConnect, (Handle c, Text* i, Small n, Text* o, Small z, Small* l))
STUB(SQLTablePrivileges, (Handle s, S a, L b, S c, L d, S e, L f))
STUB(SQLColumnPrivileges, (Handle s, S a, L b, S c, L d, S e, L f, S g, L h))
STUB(SQLSetStmtAttr, (Handle s, int a, void* v, int n))

#undef S
#undef L
#pragma GCC diagnostic pop

/* Scripted statements describe their columns as text; the plain rows have no description. */
FAKE_EXPORT Ret FAKE_API SQLDescribeCol(Handle stmt,
                                        USmall column,
                                        Text* name,
                                        Small size,
                                        Small* length,
                                        Small* type,
                                        ULen* precision,
                                        Small* digits,
                                        Small* nullable) {
    Object* statement = statementOf(stmt);
    const Script* script;
    if (!statement)
        return -2;
    if (statement->script < 0)
        return -1;
    script = &scripts[statement->script];
    if (!statement->inFirst || column < 1 || column > script->columnCount || size <= 0)
        return -1;
    strncpy((char*)name, script->columns[column - 1], (size_t)size - 1);
    name[size - 1] = 0;
    *length = (Small)strlen(script->columns[column - 1]);
    *type = 12; /* SQL_VARCHAR */
    *precision = MAX_CELL;
    *digits = 0;
    *nullable = 1;
    return 0;
}

FAKE_EXPORT Ret FAKE_API SQLSetStmtOption(Handle stmt, USmall option, ULen value) {
    char detail[48];
    if (!statementOf(stmt))
        return -2;
    sprintf(detail, "%u %lu", (unsigned)option, (unsigned long)value);
    record("SQLSetStmtOption", detail);
    return 0;
}

#ifndef FAKE_OMIT_TABLES
/* The catalog as the script named "SQLTables" gives it; refused without one. */
FAKE_EXPORT Ret FAKE_API SQLTables(Handle stmt, Text* a, Small b, Text* c, Small d, Text* e, Small f, Text* g, Small h) {
    Object* statement = statementOf(stmt);
    (void)a, (void)b, (void)c, (void)d, (void)e, (void)f, (void)g, (void)h;
    if (!statement)
        return -2;
    statement->script = findScript("SQLTables");
    if (statement->script < 0)
        return -1;
    record("SQLTables", 0);
    statement->row = -1;
    statement->inFirst = 1;
    statement->extra = 0;
    return (Ret)scripts[statement->script].execRc;
}
#endif

#ifndef FAKE_OMIT_OPTIONAL
/* The further results of a scripted statement, each without columns; none for the others. */
FAKE_EXPORT Ret FAKE_API SQLMoreResults(Handle stmt) {
    Object* statement = statementOf(stmt);
    if (!statement)
        return -2;
    record("SQLMoreResults", 0);
    statement->inFirst = 0;
    if (statement->script < 0 || statement->extra <= 0)
        return 100;
    if (--statement->extra > 0)
        return 1; /* a message result: success with information */
    if (scripts[statement->script].extraRc != 0)
        statement->message = scripts[statement->script].message;
    return (Ret)scripts[statement->script].extraRc;
}

FAKE_EXPORT Ret FAKE_API SQLSetConnectOption(Handle dbc, USmall option, ULen value) {
    (void)option, (void)value;
    if (!connectionOf(dbc))
        return -2;
    ++state.setConnectOptions;
    return 0;
}
#endif

FAKE_EXPORT Ret FAKE_API SQLAllocConnect(Handle env, Handle* dbc) {
    return newConnection(env, dbc);
}

FAKE_EXPORT Ret FAKE_API SQLAllocStmt(Handle dbc, Handle* stmt) {
    return newStatement(dbc, stmt);
}

FAKE_EXPORT Ret FAKE_API SQLFreeStmt(Handle stmt, USmall option) {
    Object* statement;
    if (option == 1)
        return freeStatement(stmt);
    statement = statementOf(stmt);
    if (!statement)
        return -2;
    statement->row = -1;
    return 0;
}

/* Statements whose text starts with "fail" fail; every other one yields the scripted rows. */
FAKE_EXPORT Ret FAKE_API SQLExecDirect(Handle stmt, Text* text, int length) {
    Object* statement = statementOf(stmt);
    size_t n;
    if (!statement)
        return -2;
    n = length < 0 ? strlen((const char*)text) : (size_t)length;
    if (n >= sizeof state.lastExec)
        n = sizeof state.lastExec - 1;
    memcpy(state.lastExec, text, n);
    state.lastExec[n] = 0;
    record("SQLExecDirect", state.lastExec);
    statement->row = -1;
    statement->inFirst = 1;
    statement->message = 0;
    statement->script = findScript(state.lastExec);
    if (statement->script >= 0) {
        const Script* script = &scripts[statement->script];
        statement->extra = script->extra;
        if (script->execRc != 0)
            statement->message = script->message;
        return (Ret)script->execRc;
    }
    return strncmp(state.lastExec, "fail", 4) == 0 ? -1 : 0;
}

FAKE_EXPORT Ret FAKE_API SQLNumResultCols(Handle stmt, Small* count) {
    Object* statement = statementOf(stmt);
    if (!statement)
        return -2;
    if (statement->script < 0)
        *count = 1;
    else
        *count = statement->inFirst ? (Small)scripts[statement->script].columnCount : 0;
    return 0;
}

FAKE_EXPORT Ret FAKE_API SQLFetch(Handle stmt) {
    Object* statement = statementOf(stmt);
    if (!statement)
        return -2;
    if (statement->script >= 0 && (!statement->inFirst || statement->row + 1 >= scripts[statement->script].rowCount))
        return 100;
    if (statement->script < 0 && statement->row + 1 >= rowCount)
        return 100;
    ++statement->row;
    statement->offset = 0;
    statement->given = 0;
    statement->column = 0;
    return 0;
}

/* Pieces as a driver gives them: each full piece is success with information and the remaining
 * length (or SQL_NO_TOTAL); the last is success; a call after it is no data. A NULL leaves the
 * caller's buffer untouched, as drivers do. */
FAKE_EXPORT Ret FAKE_API SQLGetData(Handle stmt, USmall column, Small type, void* buffer, Len size, Len* indicator) {
    Object* statement = statementOf(stmt);
    const char* value;
    int remaining;
    char* out = (char*)buffer;
    if (!statement)
        return -2;
    if (statement->script >= 0) {
        const Script* script = &scripts[statement->script];
        if (column < 1 || column > script->columnCount || type != 1 || statement->row < 0 || size <= 0)
            return -1;
        value = script->cells[statement->row][column - 1];
        if (statement->column != column) {
            statement->column = column;
            statement->offset = 0;
            statement->given = 0;
        }
    } else {
        if (column != 1 || type != 1 || statement->row < 0 || statement->row >= rowCount || size <= 0)
            return -1;
        value = rows[statement->row];
    }
    if (!value) {
        *indicator = -1;
        return 0;
    }
    if (statement->given)
        return 100;
    remaining = (int)strlen(value) - statement->offset;
    if (remaining > size - 1) {
        memcpy(out, value + statement->offset, (size_t)size - 1);
        out[size - 1] = 0;
        *indicator = noTotal ? -4 : remaining;
        statement->offset += (int)size - 1;
        return 1;
    }
    memcpy(out, value + statement->offset, (size_t)remaining);
    out[remaining] = 0;
    *indicator = remaining;
    statement->given = 1;
    return 0;
}

FAKE_EXPORT Ret FAKE_API SQLGetInfo(Handle dbc, USmall item, void* value, Small size, Small* length) {
    const char* text = item == 17 ? dbmsName : "";
    if (!connectionOf(dbc))
        return -2;
    strncpy((char*)value, text, (size_t)size - 1);
    ((char*)value)[size - 1] = 0;
    *length = (Small)strlen(text);
    return 0;
}

FAKE_EXPORT Ret FAKE_API SQLSetEnvAttr(Handle env, int attribute, void* value, int length) {
    (void)attribute, (void)value, (void)length;
    if (!environmentOf(env))
        return -2;
    ++state.setEnvAttr;
    return 0;
}

FAKE_EXPORT Ret FAKE_API SQLAllocEnv(Handle* env) {
    ++state.allocEnv;
    *env = 0;
#ifdef FAKE_NO_ENVIRONMENT
    return -1;
#else
    memset(&environmentObject, 0, sizeof environmentObject);
    environmentObject.kind = KIND_ENV;
    environmentObject.live = 1;
    *env = &environmentObject;
    return 0;
#endif
}

/* Refused while a connection lives on the environment, as unixODBC refuses it. */
FAKE_EXPORT Ret FAKE_API SQLFreeEnv(Handle env) {
    Object* environment = environmentOf(env);
    if (!environment)
        return -2;
    if (state.liveConnections > 0) {
        ++state.failedFreeEnv;
        return -1;
    }
    ++state.freeEnv;
    environment->live = 0;
    return 0;
}

FAKE_EXPORT Ret FAKE_API SQLAllocHandle(Small type, Handle input, Handle* output) {
    *output = 0;
    if (type == 2)
        return newConnection(input, output);
    if (type == 3)
        return newStatement(input, output);
    return -1;
}

FAKE_EXPORT Ret FAKE_API SQLDisconnect(Handle dbc) {
    Object* connection = connectionOf(dbc);
    if (!connection)
        return -2;
    ++state.disconnects;
    if (!connection->connected)
        return -1; /* 08003: not connected */
    connection->connected = 0;
    return 0;
}

/* Refused while still connected. */
FAKE_EXPORT Ret FAKE_API SQLFreeConnect(Handle dbc) {
    Object* connection = connectionOf(dbc);
    int i;
    if (!connection)
        return -2;
    if (connection->connected)
        return -1;
    for (i = 0; i < MAX_STATEMENTS; ++i)
        statements[i].live = 0;
    connection->live = 0;
    ++state.connectionsFreed;
    --state.liveConnections;
    return 0;
}

FAKE_EXPORT Ret FAKE_API SQLFreeHandle(Small type, Handle handle) {
    if (type == 3)
        return freeStatement(handle);
    if (type == 2)
        return SQLFreeConnect(handle);
    return -1;
}

/* Two queued diagnostics; a caller that shows only the first never asks for the second. */
FAKE_EXPORT Ret FAKE_API SQLError(Handle env,
                                  Handle connection,
                                  Handle statement,
                                  unsigned char* sqlState,
                                  int* nativeError,
                                  unsigned char* text,
                                  short size,
                                  short* length) {
    static const char* const messages[] = {"[Fake] first diagnostic", "[Fake] second diagnostic"};
    Object* scripted = 0;
    int i;
    (void)env, (void)connection;
    /* A scripted statement's own diagnostic, once. */
    for (i = 0; statement && i < MAX_STATEMENTS; ++i)
        if (statement == &statements[i] && statements[i].live && statements[i].message)
            scripted = &statements[i];
    if (scripted) {
        ++state.errorCalls;
        memcpy(sqlState, "42000", 6);
        *nativeError = 3013;
        strncpy((char*)text, scripted->message, (size_t)size - 1);
        text[size - 1] = 0;
        *length = (short)strlen(scripted->message);
        scripted->message = 0;
        return 0;
    }
    if (state.errorCalls >= 2)
        return 100;
    const char* message = messages[state.errorCalls++];
    memcpy(sqlState, "42000", 6);
    *nativeError = 7;
    strncpy((char*)text, message, (size_t)size - 1);
    text[size - 1] = 0;
    *length = (short)strlen(message);
    return 0;
}

static void copyCounted(char* target, size_t size, const unsigned char* text, short length) {
    size_t n;
    if (!text)
        length = 0, text = (const unsigned char*)"";
    n = length < 0 ? strlen((const char*)text) : (size_t)length;
    if (n >= size)
        n = size - 1;
    memcpy(target, text, n);
    target[n] = 0;
}

/* Accepts any data source with the password "secret", and "open" with any password. */
FAKE_EXPORT Ret FAKE_API SQLConnect(Handle connection,
                                    unsigned char* name,
                                    short nameLength,
                                    unsigned char* user,
                                    short userLength,
                                    unsigned char* password,
                                    short passwordLength) {
    Object* dbc = connectionOf(connection);
    Ret result = -1;
    if (!dbc)
        return -2;
    ++state.connectCalls;
    copyCounted(state.lastConnectName, sizeof state.lastConnectName, name, nameLength);
    copyCounted(state.lastConnectUser, sizeof state.lastConnectUser, user, userLength);
    copyCounted(state.lastConnectPassword, sizeof state.lastConnectPassword, password, passwordLength);
    if (strcmp(state.lastConnectName, "open") == 0)
        result = 0;
    else if (strcmp(state.lastConnectPassword, "secret") == 0)
        result = 1; /* success with information */
    if (result != -1)
        dbc->connected = 1;
    return result;
}

FAKE_EXPORT Ret FAKE_API SQLDriverConnect(Handle connection,
                                          Handle window,
                                          unsigned char* text,
                                          short length,
                                          unsigned char* completed,
                                          short completedSize,
                                          short* completedLength,
                                          unsigned short completion) {
    Object* dbc = connectionOf(connection);
    (void)window, (void)completion;
    if (!dbc)
        return -2;
    dbc->connected = 1;
    ++state.driverConnectCalls;
    state.lastDriverConnectLength = length;
    copyCounted(state.lastDriverConnect, sizeof state.lastDriverConnect, text, length);
    if (completed && completedSize > 0)
        completed[0] = 0;
    *completedLength = 0;
    return 0;
}

/* Data sources: a plain one; one with U+00E9, the Hungarian U+0151 U+0171 U+0150 U+0170 and
 * U+008A (the byte 0x8A widened as Latin-1, as unixODBC widens file bytes); and one whose name is
 * cut to the caller's buffer. */
FAKE_EXPORT Ret FAKE_API SQLDataSourcesW(Handle env,
                                         unsigned short direction,
                                         Wchar* name,
                                         short nameSize,
                                         short* nameLength,
                                         Wchar* description,
                                         short descriptionSize,
                                         short* descriptionLength) {
    static int next;
    static const Wchar accented[] = {'C', 'a', 'f', 0xE9, '-', 0x151, 0x171, 0x150, 0x170, '-', 0x8A, 0};
    if (!environmentOf(env))
        return -2;
    if (direction == 2)
        next = 0;
    else if (direction != 1)
        return -1;
#ifdef FAKE_NO_DATA_SOURCES
    return 100;
#endif
    Ret rc = 0;
    int i;
    switch (next++) {
        case 0:
            name[0] = 'p', name[1] = 'l', name[2] = 'a', name[3] = 'i', name[4] = 'n', name[5] = 0;
            *nameLength = 5;
            break;
        case 1:
            for (i = 0; accented[i]; ++i)
                name[i] = accented[i];
            name[i] = 0;
            *nameLength = (short)i;
            break;
        case 2:
            /* 300 characters do not fit: cut, success with information. */
            for (i = 0; i < nameSize - 1; ++i)
                name[i] = (Wchar)('a' + i % 26);
            name[nameSize - 1] = 0;
            *nameLength = 300;
            rc = 1;
            break;
        default:
            return 100;
    }
    description[0] = 'd', description[1] = (Wchar)('0' + next), description[2] = 0;
    (void)descriptionSize;
    *descriptionLength = 2;
    return rc;
}

/* The installer half. */
FAKE_EXPORT int FAKE_API SQLGetInstalledDrivers(char* buffer, unsigned short size, unsigned short* length) {
    ++state.installedDrivers;
#ifdef FAKE_NO_DRIVERS
    (void)buffer, (void)size, (void)length;
    return 0;
#else
    if (size < 7)
        return 0;
    memcpy(buffer, "Fake\0\0", 6);
    *length = 5;
    return 1;
#endif
}

FAKE_EXPORT int FAKE_API SQLConfigDataSource(Handle window, unsigned short request, const char* driver, const char* attributes) {
    (void)window, (void)request, (void)driver, (void)attributes;
    return 0;
}
