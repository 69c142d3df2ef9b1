// Calling convention of every routine that compiled application code and
// plug-ins call through the runtime entry table: cdecl, caller pops.
#pragma once

#if defined(__i386__)
#define RUNTIME_CALL __attribute__((__cdecl__))  // spelled so that a "cdecl" macro cannot change it
#else
#define RUNTIME_CALL
#endif

// A routine of the runtime entry table: C linkage, cdecl.
#define RUNTIME_ENTRY extern "C" RUNTIME_CALL
