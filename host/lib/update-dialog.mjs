// One running Tessary Update, as the host sees it: a status to show, a focus
// request, a way to close it, and the answer it ends with.
//
// On macOS and Linux the focus request is SIGUSR1 (held until the dialog can
// take it), close() is SIGTERM, and a watchdog ends the dialog with its host.
// On Windows, which has no signals, both travel through the dialog's standard
// input, a pipe: a line "focus", and the end of input (see
// windows-dialog-input.mjs), which also ends the dialog with its host.
import { spawn } from "node:child_process";
import { rmSync } from "node:fs";
import { resolve as resolvePath } from "node:path";

import { CoalescingWriter } from "./coalescing-writer.mjs";
import { UpdateDialogError, collectTail, installRequest, interpretDialogEnd, stderrLimit } from "./dialog-end.mjs";
import { waitUntilFocusSignalIsSafe } from "./signal-readiness.mjs";
import { createStatusClock, thresholdArgument } from "./status-clock.mjs";
import { StatusFile, prepareStatusLocation, removeFolder } from "./status-file.mjs";
import { normalizeStatus } from "./status.mjs";
import { startWatchdog } from "./watchdog.mjs";
import { endInputThenProcess, writeFocusLine } from "./windows-dialog-input.mjs";

/** The signal with which `close()` ends the dialog (it never handles it). */
const closeSignal = "SIGTERM";
/** How long the dialog's output may stay open after its exit. */
const stdioGraceMs = 500;
/** At most one write of the status file in this many milliseconds. */
const writeIntervalMs = 50;

function requireArgument(options, key, { optional = false } = {}) {
  const value = options[key];
  if (optional && value === undefined) return undefined;
  if (typeof value !== "string" || value === "" || value.includes("\0")) {
    throw new TypeError(`options.${key} must be a non-empty string without NUL characters`);
  }
  return value;
}

function checkOptions(options) {
  if (options === null || typeof options !== "object") throw new TypeError("options must be an object");
  const executable = requireArgument(options, "executable");
  const icon = requireArgument(options, "icon");
  const statusPath = requireArgument(options, "statusPath", { optional: true });
  // Any text is a version the dialog can show, the empty one included.
  if (typeof options.installed !== "string" || options.installed.includes("\0")) {
    throw new TypeError("options.installed must be a string without NUL characters");
  }
  if (options.env !== undefined && (options.env === null || typeof options.env !== "object")) {
    throw new TypeError("options.env must be an object of environment variables");
  }
  if (options.platform !== undefined && (typeof options.platform !== "string" || options.platform === "")) {
    throw new TypeError("options.platform must be a platform name such as \"win32\"");
  }
  return {
    executable,
    installed: options.installed,
    icon,
    statusPath,
    env: options.env ?? process.env,
    windows: (options.platform ?? process.platform) === "win32",
  };
}

/**
 * A running Tessary Update. Made by {@link openUpdateDialog}; not constructed directly.
 */
export class UpdateDialog {
  /** @type {Promise<"install" | "closed">} */
  result;
  /** @type {number} the freshness threshold the dialog was started with, in seconds since the epoch */
  threshold;
  /** @type {string} the absolute path of the status file */
  statusPath;

  #child;
  #writer;
  /** Whether the dialog is driven the Windows way, through its standard input. */
  #windows;
  #ended = false;
  #closeRequested = false;
  /** @type {{ readonly ended: boolean } | undefined} whether close() had to end the process (Windows) */
  #closeOnWindows;
  #spawned = false;
  /** Whether the dialog has been seen able to take the focus signal (it stays so). */
  #signalIsSafe = false;
  /** @type {Promise<boolean> | undefined} the requests held while it starts */
  #heldFocus;
  /** @type {Promise<void>} */
  #finished;

  /** @param {{ symbol: symbol, options: unknown }} internal */
  constructor(internal) {
    if (internal?.symbol !== constructing) throw new TypeError("use openUpdateDialog() to start a dialog");
    const { executable, installed, icon, statusPath, env, windows } = checkOptions(internal.options);
    this.#windows = windows;
    const clock = createStatusClock();
    this.threshold = clock.threshold;

    let settle;
    this.result = new Promise((resolve, reject) => {
      settle = (outcome) => (outcome instanceof Error ? reject(outcome) : resolve(outcome));
    });

    let location;
    try {
      location = prepareStatusLocation(statusPath);
    } catch (error) {
      this.statusPath = statusPath === undefined ? "" : resolvePath(statusPath);
      this.#ended = true;
      this.#finished = Promise.resolve();
      settle(new UpdateDialogError(`Tessary Update was not started: ${error.message}`, { cause: error }));
      return;
    }
    this.statusPath = location.path;
    const file = new StatusFile(location.path, { retryBusyRename: windows });
    this.#writer = new CoalescingWriter((status) => file.write({ checkedAt: clock.next(), ...status }), {
      intervalMs: writeIntervalMs,
    });

    let child;
    try {
      child = spawn(executable, [location.path, installed, icon, thresholdArgument(clock.threshold)], {
        env,
        // On Windows the dialog's standard input is its channel from the host.
        stdio: [windows ? "pipe" : "ignore", "pipe", "pipe"],
      });
    } catch (error) {
      // Node refuses some arguments at once (an environment it cannot pass):
      // a programming error, reported where it was made, with nothing left behind.
      if (location.ownFolder !== undefined) rmSync(location.ownFolder, { recursive: true, force: true });
      throw error;
    }
    this.#child = child;
    // A dialog that has gone while a line is written to it: focus() says so.
    child.stdin?.on("error", () => {});
    const stdout = collectTail(child.stdout, 4096);
    const stderr = collectTail(child.stderr, stderrLimit);
    // On Windows the end of the dialog's input ends it with its host instead.
    const watchdog =
      windows || child.pid === undefined ? undefined : startWatchdog(child.pid, location.ownFolder);

    let startError;
    child.on("spawn", () => {
      this.#spawned = true;
    });
    child.on("error", (error) => {
      // Only a failure to start matters; one of a late kill() changes nothing.
      if (!this.#spawned) startError ??= error;
    });
    // Standard output and error normally close with the dialog; a process the
    // dialog left behind could hold them open, so they are given up shortly
    // after the exit rather than waited for.
    child.on("exit", () => {
      child.stdin?.destroy();
      setTimeout(() => {
        child.stdout.destroy();
        child.stderr.destroy();
      }, stdioGraceMs).unref();
    });
    this.#finished = new Promise((resolve) => {
      child.on("close", async (exitCode, signal) => {
        this.#ended = true;
        watchdog?.release();
        await this.#writer.stop();
        if (location.ownFolder !== undefined) await removeFolder(location.ownFolder).catch(() => {});
        let outcome;
        if (startError !== undefined) {
          outcome = new UpdateDialogError(`Tessary Update could not be started from ${executable}: ${startError.message}`, {
            cause: startError,
          });
        } else if (this.#closeOnWindows?.ended && !(exitCode === 0 && stdout() === installRequest)) {
          // close() had to end the process after its grace; Windows reports
          // that as exit status 1, which must not read as an undelivered install.
          outcome = "closed";
        } else {
          outcome = interpretDialogEnd({
            exitCode,
            signal,
            stdout: stdout(),
            stderr: stderr(),
            closeRequested: this.#closeRequested,
            closeSignal,
          });
        }
        settle(outcome);
        resolve();
      });
    });
  }

  /** The dialog's process id, or undefined when it could not be started. */
  get pid() {
    return this.#child?.pid;
  }

  /** Whether the dialog has ended (its result is then settled, or about to be). */
  get ended() {
    return this.#ended;
  }

  /**
   * Shows one version of the update's status. See index.d.ts for the fields.
   * Checks every field first and throws a `TypeError` naming the first wrong
   * one, before anything is written. Versions are written at most once every
   * 50 ms, the newest last; after the dialog has ended, nothing is written.
   *
   * @param {import("../index.js").UpdateStatus} status
   */
  show(status) {
    const version = normalizeStatus(status);
    if (!this.#ended) this.#writer.offer(version);
  }

  /**
   * Resolves once the newest version given to `show` is in the status file;
   * rejects with the error of a write that failed.
   *
   * @returns {Promise<void>}
   */
  flush() {
    return this.#writer?.flush() ?? Promise.resolve();
  }

  /**
   * Brings the dialog to the front. Requests made while the dialog is still
   * starting are held until it can take the focus signal without being ended
   * by it, then sent as one. On Windows a line "focus" is written to the
   * dialog's standard input at once (it waits in the pipe while the dialog
   * starts).
   *
   * @returns {Promise<boolean>} true once the signal (the line) has been sent,
   *   false when the dialog ended first
   */
  focus() {
    if (this.#ended || this.#child?.pid === undefined) return Promise.resolve(false);
    if (this.#windows) return writeFocusLine(this.#child.stdin);
    if (this.#signalIsSafe) return Promise.resolve(this.#child.kill("SIGUSR1"));
    this.#heldFocus ??= this.#whenStarted()
      .then((started) => started && waitUntilFocusSignalIsSafe(this.#child.pid, () => !this.#ended))
      .then((safe) => {
        this.#heldFocus = undefined;
        this.#signalIsSafe = safe;
        return safe && !this.#ended && this.#child.kill("SIGUSR1");
      });
    return this.#heldFocus;
  }

  /**
   * Ends the dialog without an install; its result then resolves "closed"
   * (unless the dialog had already ended with another answer). On Windows it
   * ends the dialog's standard input, which the dialog takes as "Close", and
   * ends the process if it is still there 2 s later.
   *
   * @returns {Promise<void>} resolves once the dialog has ended and its files are removed
   */
  close() {
    if (!this.#ended && this.#child !== undefined && !this.#closeRequested) {
      this.#closeRequested = true;
      if (this.#windows) this.#closeOnWindows = endInputThenProcess(this.#child, { signal: closeSignal });
      else this.#child.kill(closeSignal);
    }
    return this.#finished;
  }

  // Resolves true once the dialog's program runs in the child process (after
  // a successful exec), false when it could not be started or has ended.
  #whenStarted() {
    if (this.#spawned) return Promise.resolve(true);
    return new Promise((resolve) => {
      this.#child.once("spawn", () => resolve(true));
      this.#finished.then(() => resolve(false));
    });
  }
}

const constructing = Symbol("openUpdateDialog");

/**
 * Starts Tessary Update and returns at once. See index.d.ts.
 *
 * @param {import("../index.js").OpenUpdateDialogOptions} options
 * @returns {UpdateDialog}
 */
export function openUpdateDialog(options) {
  return new UpdateDialog({ symbol: constructing, options });
}
