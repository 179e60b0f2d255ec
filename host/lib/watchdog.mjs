// Keeps a dialog from outliving its host, however the host ends: normally,
// by an uncaught error, or killed with SIGKILL, when no code of the host runs.
//
// A tiny shell process reads a pipe whose writing end only the host holds
// (Node opens its end close-on-exec, so no other child inherits it). When the
// dialog ends, the host writes "done" and the watchdog leaves quietly. When
// the host ends first, the kernel closes the pipe, the watchdog reads the end
// of input without "done", ends the dialog with SIGTERM and removes the
// module's private folder, if there is one.
//
// While the host lives, the dialog is its child and cannot be reaped by
// anyone else, so its process id cannot pass to another process before the
// host has seen it end and said "done".
import { spawn } from "node:child_process";

const script = `
trap '' INT HUP QUIT
IFS= read -r word
if [ "$word" != done ]; then
  kill -TERM "$1" 2>/dev/null
  if [ -n "$2" ]; then rm -rf -- "$2"; fi
fi
`;

/**
 * Starts the watchdog of one dialog.
 *
 * @param {number} dialogPid
 * @param {string | undefined} folder a folder of the module's own to remove with the dialog
 * @returns {{ release: () => void, pid: number | undefined }} `release` tells the
 *   watchdog that the dialog has ended and been taken care of
 */
export function startWatchdog(dialogPid, folder) {
  const watchdog = spawn("/bin/sh", ["-c", script, "tessary-update-watchdog", String(dialogPid), folder ?? ""], {
    stdio: ["pipe", "ignore", "ignore"],
  });
  // The watchdog must never keep the host alive, nor take it down with it:
  // a missing shell or a broken pipe only loses the guard.
  watchdog.on("error", () => {});
  watchdog.stdin.on("error", () => {});
  watchdog.unref();
  watchdog.stdin.unref?.();
  let released = false;
  return {
    pid: watchdog.pid,
    release() {
      if (released) return;
      released = true;
      watchdog.stdin.end("done\n");
    },
  };
}
