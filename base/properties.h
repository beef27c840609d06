// Named properties: the process-wide list of (name, pointer) pairs through which the shell
// publishes handles and buffers ("HINSTANCE", "HWND", "OS", "SOURCE_PATH", ...).
#pragma once

constexpr int kPropertyNameLength = 10;  // longer names are cut to this many characters when stored

// Stores `pointer` under `name`; returns the previous pointer of that name, or null when the name
// is new. An empty name destroys the whole list and returns a pointer to an empty string.
void* setProperty(const char* name, void* pointer);

// The pointer stored under the first 10 characters of `name`, or a pointer to a shared empty
// string (read-only) when nothing matches.
void* property(const char* name);

// Removes the entry whose stored name equals `name` exactly. Kind 'C' frees the value as a
// new[]-allocated array, 'P' leaves it alone, 'O' deletes it as a GDI object (Windows build only).
// An empty name destroys the whole list.
void removeProperty(const char* name, char kind);
