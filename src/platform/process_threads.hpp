#pragma once
// The number of threads of the running process, every thread counted (the main thread, search
// threads, listener and capture threads, threads the libraries started for themselves).
#include <string_view>

namespace tx {

// From the "Threads:" line of /proc/self/status, else the entries of /proc/self/task;
// -1 when neither can be read.
int processThreadCount();

// The value of the "Threads:" line of a status text, -1 when it has none.
int threadsFromStatus(std::string_view status);

}  // namespace tx
