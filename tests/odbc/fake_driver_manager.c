/* A stand-in ODBC driver manager and installer, built by the tests in variants that lack one
 * function or another. Exports every name the binding resolves; the few the tests call behave
 * like a tiny driver manager and record what they were given. */
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
} FakeState;

static FakeState state;
static int environment;
static int connectionObject;
static int statementObject;

FAKE_EXPORT FakeState* fakeState(void) {
    return &state;
}

FAKE_EXPORT void fakeReset(void) {
    memset(&state, 0, sizeof state);
}

/* Names resolved but never called by the tests. */
#define STUB(name) \
    FAKE_EXPORT Ret FAKE_API name(void) { return -1; }

STUB(SQLAllocConnect)
STUB(SQLAllocStmt)
STUB(SQLBindCol)
STUB(SQLCancel)
STUB(SQLColAttributes)
STUB(SQLColumns)
STUB(SQLDescribeCol)
STUB(SQLExecDirect)
STUB(SQLExecute)
STUB(SQLFetch)
STUB(SQLFreeStmt)
STUB(SQLGetCursorName)
STUB(SQLNumResultCols)
STUB(SQLPrepare)
STUB(SQLRowCount)
STUB(SQLSetCursorName)
STUB(SQLTransact)
STUB(SQLGetInfo)
STUB(SQLGetConnectOption)
STUB(SQLGetData)
#ifndef FAKE_OMIT_TABLES
STUB(SQLTables)
#endif
#ifndef FAKE_OMIT_PRIMARY_KEYS
STUB(SQLPrimaryKeys)
#endif
STUB(SQLForeignKeys)
STUB(SQLProcedures)
STUB(SQLProcedureColumns)
STUB(SQLGetFunctions)
STUB(SQLStatistics)
STUB(SQLBindParameter)
STUB(SQLBrowseConnect)
STUB(SQLTablePrivileges)
STUB(SQLColumnPrivileges)
STUB(SQLSetStmtAttr)
STUB(SQLSetStmtOption)

FAKE_EXPORT Ret FAKE_API SQLSetEnvAttr(Handle env, int attribute, void* value, int length) {
    (void)env, (void)attribute, (void)value, (void)length;
    ++state.setEnvAttr;
    return 0;
}

FAKE_EXPORT Ret FAKE_API SQLAllocEnv(Handle* env) {
    ++state.allocEnv;
#ifdef FAKE_NO_ENVIRONMENT
    *env = 0;
    return environment ? 0 : -1;
#else
    *env = &environment;
    return 0;
#endif
}

FAKE_EXPORT Ret FAKE_API SQLFreeEnv(Handle env) {
    (void)env;
    ++state.freeEnv;
    return 0;
}

/* Connections always; statements only on a connection (a null one fails, as in a real manager). */
FAKE_EXPORT Ret FAKE_API SQLAllocHandle(short type, Handle input, Handle* output) {
    *output = 0;
    if (type == 2) {
        *output = &connectionObject;
        return 0;
    }
    if (type == 3 && input) {
        ++state.statementsAllocated;
        *output = &statementObject;
        return 0;
    }
    return -1;
}

FAKE_EXPORT Ret FAKE_API SQLFreeHandle(short type, Handle handle) {
    (void)handle;
    if (type == 3)
        ++state.statementsFreed;
    return 0;
}

FAKE_EXPORT Ret FAKE_API SQLDisconnect(Handle connection) {
    (void)connection;
    ++state.disconnects;
    return 0;
}

FAKE_EXPORT Ret FAKE_API SQLFreeConnect(Handle connection) {
    (void)connection;
    ++state.connectionsFreed;
    return 0;
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
    (void)env, (void)connection, (void)statement;
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
    size_t n = length < 0 ? strlen((const char*)text) : (size_t)length;
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
    (void)connection;
    ++state.connectCalls;
    copyCounted(state.lastConnectName, sizeof state.lastConnectName, name, nameLength);
    copyCounted(state.lastConnectUser, sizeof state.lastConnectUser, user, userLength);
    copyCounted(state.lastConnectPassword, sizeof state.lastConnectPassword, password, passwordLength);
    if (strcmp(state.lastConnectName, "open") == 0)
        return 0;
    return strcmp(state.lastConnectPassword, "secret") == 0 ? 1 : -1;
}

FAKE_EXPORT Ret FAKE_API SQLDriverConnect(Handle connection,
                                          Handle window,
                                          unsigned char* text,
                                          short length,
                                          unsigned char* completed,
                                          short completedSize,
                                          short* completedLength,
                                          unsigned short completion) {
    (void)connection, (void)window, (void)completion;
    ++state.driverConnectCalls;
    state.lastDriverConnectLength = length;
    copyCounted(state.lastDriverConnect, sizeof state.lastDriverConnect, text, length);
    if (completed && completedSize > 0)
        completed[0] = 0;
    *completedLength = 0;
    return 0;
}

/* Data sources: a plain one, one with U+00E9 and U+0151 (kept as their low bytes), and one whose
 * name is cut to the caller's buffer. */
FAKE_EXPORT Ret FAKE_API SQLDataSourcesW(Handle env,
                                         unsigned short direction,
                                         Wchar* name,
                                         short nameSize,
                                         short* nameLength,
                                         Wchar* description,
                                         short descriptionSize,
                                         short* descriptionLength) {
    static int next;
    static const Wchar accented[] = {'C', 'a', 'f', 0xE9, '-', 0x151, 0};
    (void)env;
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
