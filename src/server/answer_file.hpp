#pragma once
// The answer file "webserv_ans.txt": each facelet result replaces its contents. It lies in a
// folder clients can reach, so it is opened with care: a symbolic link is not followed (the
// answer would land outside the folder), only a regular file with no other name is written
// (a FIFO or device is refused, never waited on: the server thread must not block), and one
// lock serialises the writers of the process.
#include <filesystem>
#include <string>
#include <string_view>

namespace tx {

// Replaces the contents of the answer file in `folder` with `text`. Empty on success, else
// why not ("webserv_ans.txt is not a regular file", "... (Permission denied)").
std::string writeAnswerFile(const std::filesystem::path& folder, std::string_view text);

}  // namespace tx
