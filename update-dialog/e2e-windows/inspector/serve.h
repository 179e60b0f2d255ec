// The inspector as a process that a test keeps for its whole run: each line
// of standard input is one request, a JSON array of the words of a command
// line (["windows", "--command-line", "status-3.json"]); each answer is one
// JSON line. Starting a Wine process per look would cost 0.1-0.5 s each.
#pragma once

namespace tessary::update::inspector {

// Answers requests until standard input ends; returns the exit status.
int serveRequests();

}  // namespace tessary::update::inspector
