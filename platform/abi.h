// Calling convention and export marking of the deliverables' entry points.
#pragma once

#if defined(_WIN32)
#define VEXT_STDCALL __stdcall
#define VEXT_CDECL __cdecl
// The module-definition file decides what the DLL exports.
#define VEXT_EXPORT
#else
#define VEXT_STDCALL
#define VEXT_CDECL
#define VEXT_EXPORT __attribute__((visibility("default")))
#endif
