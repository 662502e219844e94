#pragma once
// What /proc says about a running process: its peak resident memory and, per thread, how often
// the thread gave up the processor of its own accord (each of which is one wake-up later).

#include <map>
#include <string>
#include <sys/types.h>

namespace kovantis::bench {

// VmHWM in KiB; -1 when the process or the line is gone.
long PeakResidentKiB(pid_t pid);

struct ThreadSample {
    std::string name;      // /proc/<pid>/task/<tid>/comm
    long voluntary = 0;    // voluntary_ctxt_switches
    long involuntary = 0;  // nonvoluntary_ctxt_switches
};

// Every thread of the process, by thread id; empty when the process is gone.
std::map<pid_t, ThreadSample> SampleThreads(pid_t pid);

} // namespace kovantis::bench
