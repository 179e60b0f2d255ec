// Knowing when the dialog can take the focus signal. Until the dialog has set
// SIGUSR1 up, the signal's default action ends it. On Linux the dialog blocks
// the signal in its main thread before it starts any thread (a signal sent
// then stays pending and is handled once the main loop runs) and installs a
// handler later; on macOS it sets the signal to be ignored and watches it
// through a dispatch source. In every case the kernel's view of the process
// shows SIGUSR1 as blocked, ignored or caught from that moment on, and a
// signal sent after it can no longer end the process.
import { execFile } from "node:child_process";
import { readFile } from "node:fs/promises";
import { constants } from "node:os";
import { setTimeout as sleep } from "node:timers/promises";

/** The bit of SIGUSR1 in the kernel's signal masks on this platform. */
export const focusSignalBit = 1n << BigInt(constants.signals.SIGUSR1 - 1);

const hexMask = (text) => {
  const digits = text.trim().replace(/^0x/i, "");
  return /^[0-9a-f]+$/i.test(digits) ? BigInt(`0x${digits}`) : undefined;
};

/**
 * Reads the signal masks from the text of `/proc/<pid>/status` (Linux):
 * `SigBlk` of the main thread, `SigIgn` and `SigCgt` of the process.
 *
 * @param {string} text
 * @param {bigint} [bit]
 * @returns {boolean} whether the signal can no longer end the process
 */
export function procStatusShowsSignalSafe(text, bit = focusSignalBit) {
  const masks = ["SigBlk", "SigIgn", "SigCgt"].map((name) => {
    const field = text.match(new RegExp(`^${name}:\\s*(\\S+)\\s*$`, "m"));
    return field ? hexMask(field[1]) : undefined;
  });
  return masks.some((mask) => mask !== undefined && (mask & bit) !== 0n);
}

/** Arguments of `ps` for the three masks of one process, without a header line. */
export const psArguments = (pid) => ["-o", "ignored=", "-o", "caught=", "-o", "blocked=", "-p", String(pid)];

/**
 * Reads the masks from the output of `ps -o ignored= -o caught= -o blocked=`,
 * as BSD `ps` on macOS prints them (hexadecimal, right-aligned, no prefix)
 * and as procps prints them on Linux (sixteen hexadecimal digits). Output
 * without such a line (the process has gone) means not safe.
 *
 * @param {string} output
 * @param {bigint} [bit]
 * @returns {boolean}
 */
export function psOutputShowsSignalSafe(output, bit = focusSignalBit) {
  const line = output.split("\n").find((candidate) => candidate.trim() !== "");
  if (line === undefined) return false;
  const fields = line.trim().split(/\s+/);
  if (fields.length !== 3) return false;
  const masks = fields.map(hexMask);
  if (masks.includes(undefined)) return false;
  return masks.some((mask) => (mask & bit) !== 0n);
}

/**
 * One look at a running process. Failures (the process has gone, `ps` is
 * missing) count as not safe yet.
 *
 * @param {number} pid
 * @param {NodeJS.Platform} [platform]
 * @returns {Promise<boolean>}
 */
export async function focusSignalIsSafe(pid, platform = process.platform) {
  if (platform === "linux") {
    try {
      return procStatusShowsSignalSafe(await readFile(`/proc/${pid}/status`, "utf8"));
    } catch {
      return false;
    }
  }
  return new Promise((resolve) => {
    // By its full path: a GUI app on macOS may be started with a bare PATH.
    execFile("/bin/ps", psArguments(pid), { encoding: "utf8" }, (error, stdout) =>
      resolve(!error && psOutputShowsSignalSafe(stdout)),
    );
  });
}

/**
 * Looks at the process again and again, quickly at first and then every
 * 50 ms, until it can take the signal (true) or `stillRunning` says it has
 * ended (false). Call it only once the process has really started the program
 * (the child's 'spawn' event): before that, the forked child still shows the
 * masks of its parent.
 *
 * @param {number} pid
 * @param {() => boolean} stillRunning
 * @param {(pid: number) => Promise<boolean>} [isSafe]
 * @returns {Promise<boolean>}
 */
export async function waitUntilFocusSignalIsSafe(pid, stillRunning, isSafe = focusSignalIsSafe) {
  let delayMs = 2;
  while (stillRunning()) {
    if (await isSafe(pid)) return stillRunning();
    await sleep(delayMs);
    delayMs = Math.min(50, delayMs * 2);
  }
  return false;
}
