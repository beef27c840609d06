/* A stand-in for the platform's Simple MAPI library: each call is appended as one line to the file
   named by QUARROW_MAPI_LOG. QUARROW_MAPI_REFUSE=1 refuses the logon. Built without MAPIAddress
   (QUARROW_MAPI_PARTIAL) it stands for a library that lacks a function. */
#include <windows.h>

#include <stdarg.h>
#include <stdio.h>

static void record(const char* format, ...) {
    char path[MAX_PATH];
    if (!GetEnvironmentVariableA("QUARROW_MAPI_LOG", path, sizeof path))
        return;
    FILE* log = fopen(path, "ab");
    if (!log)
        return;
    va_list args;
    va_start(args, format);
    vfprintf(log, format, args);
    va_end(args);
    fputc('\n', log);
    fclose(log);
}

ULONG WINAPI MAPILogon(ULONG_PTR ui, LPSTR profile, LPSTR password, ULONG flags, ULONG reserved, ULONG_PTR* session) {
    char refuse[8] = "";
    (void)ui;
    (void)reserved;
    record("MAPILogon %s %s %lu", profile ? profile : "(null)", password ? password : "(null)", flags);
    *session = 42;
    GetEnvironmentVariableA("QUARROW_MAPI_REFUSE", refuse, sizeof refuse);
    return refuse[0] == '1' ? 3 : 0;
}

ULONG WINAPI MAPILogoff(ULONG_PTR session, ULONG_PTR ui, ULONG flags, ULONG reserved) {
    (void)ui;
    (void)flags;
    (void)reserved;
    record("MAPILogoff %lu", (unsigned long)session);
    return 0;
}

#ifndef QUARROW_MAPI_PARTIAL
ULONG WINAPI MAPIAddress(ULONG_PTR a, ULONG_PTR b, LPSTR c, ULONG d, LPSTR e, ULONG f, void* g, ULONG h, ULONG i, ULONG* j, void** k) {
    (void)a; (void)b; (void)c; (void)d; (void)e; (void)f; (void)g; (void)h; (void)i; (void)j; (void)k;
    return 0;
}
#endif

ULONG WINAPI MAPISendMail(ULONG_PTR session, ULONG_PTR ui, void* message, ULONG flags, ULONG reserved) {
    (void)session; (void)ui; (void)message; (void)flags; (void)reserved;
    return 0;
}

ULONG WINAPI MAPISendDocuments(ULONG_PTR ui, LPSTR delimiter, LPSTR paths, LPSTR names, ULONG reserved) {
    (void)ui;
    (void)reserved;
    record("MAPISendDocuments %s|%s|%s", delimiter, paths, names);
    return 0;
}

ULONG WINAPI MAPIFreeBuffer(void* buffer) {
    (void)buffer;
    return 0;
}
