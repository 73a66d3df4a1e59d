#pragma once
// Standard output of the commands. Every command writes its results through stdio; a write
// that fails (a full disk, /dev/full, a closed pipe) must not end in exit code 0 with the
// results lost. main() hands every command's exit code through finishOutput(); commands that
// flush as they go use flushOutput() and stop writing once it fails.
namespace tx::cli {

// Flushes stdout; false when anything written to it so far has failed.
bool flushOutput();

// The exit code of a command once its output is flushed: `code` when every write succeeded,
// otherwise "tesserix-cli COMMAND: write error" on stderr and exit code 2.
int finishOutput(const char* command, int code);

}  // namespace tx::cli
