// The dialog's standard input on Windows, its one channel from the host.
// Windows has no signals (Node.js can only end a process there), so the host
// keeps the dialog's standard input a pipe: each line "focus" brings the
// dialog to the front, and the end of input tells it that the host has gone,
// which it takes as "Close". The host needs no watchdog then: however the
// host ends, even killed, the system closes its end of the pipe.

/** The one line the dialog answers with its focus action. */
export const focusLine = "focus\n";

/** How long `close()` lets the dialog end by itself after its input has ended. */
export const closeGraceMs = 2000;

/**
 * Hands one focus line to the dialog's standard input. No readiness wait is
 * needed: a line written while the dialog is starting waits in the pipe.
 *
 * @param {import("node:stream").Writable | null} stdin
 * @returns {Promise<boolean>} true once the line is in the pipe, false when
 *   the dialog's input has already ended or the dialog has gone
 */
export function writeFocusLine(stdin) {
  return new Promise((resolve) => {
    if (stdin === null || stdin.destroyed || stdin.writableEnded) {
      resolve(false);
      return;
    }
    stdin.write(focusLine, (error) => resolve(!error));
  });
}

/**
 * Ends the dialog's standard input, and then the process if it is still
 * there after `graceMs` (a dialog that hangs, or a program that never reads).
 *
 * @param {import("node:child_process").ChildProcess} child
 * @param {{ graceMs?: number, signal?: NodeJS.Signals }} [options]
 * @returns {{ readonly ended: boolean }} `ended`: whether the process had to
 *   be ended (Windows reports such an end as exit status 1, not as a signal)
 */
export function endInputThenProcess(child, { graceMs = closeGraceMs, signal = "SIGTERM" } = {}) {
  const outcome = { ended: false };
  child.stdin?.end();
  const timer = setTimeout(() => {
    if (child.exitCode === null && child.signalCode === null) outcome.ended = child.kill(signal);
  }, graceMs);
  child.once("exit", () => clearTimeout(timer));
  return outcome;
}
