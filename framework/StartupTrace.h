#pragma once
// Start-up step timing for the start-up benchmark only. A copy of the program
// built with TALLYSCOPE_STARTUP_TRACE (bench_traced_app) notes the performance
// counter at each step and appends the steps, one line a run, to the file named
// by the environment variable TALLYSCOPE_STARTUP_TRACE when StartupTraceWrite is
// called. In the shipped program every call is empty and compiles to nothing.
#ifdef TALLYSCOPE_STARTUP_TRACE
void StartupStep(const char* name);
void StartupTraceWrite();
#else
inline void StartupStep(const char*) {}
inline void StartupTraceWrite() {}
#endif
