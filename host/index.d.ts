// Types of @tessary/update-dialog-host: drives Tessary Update, the native
// update dialog, from a Node.js or Electron host.

import type { EventEmitter } from "node:events";

/** One version of the status file: what the dialog shows. */
export interface UpdateStatus {
  /**
   * The update's state. The dialog knows "checking", "up-to-date", "available",
   * "waiting-for-agents", "downloading", "verifying", "extracting", "installing",
   * "updated", "error", "release-unavailable" and "recovery-required"; any other
   * text shows "Checking for updates…" without a bar. "available" and
   * "waiting-for-agents" offer an install.
   */
  state: string;
  /** The version offered or being downloaded. */
  latest?: string;
  /** A line of detail, shown in most states (not in "up-to-date", the offers or "downloading"). */
  message?: string;
  /** Bytes downloaded so far: a whole, non-negative number. */
  downloaded?: number;
  /** Bytes to download in all: a whole, non-negative number. */
  total?: number;
  /** Completion in percent; the dialog shows 0 to 100 and clamps the rest. */
  progress?: number;
}

/** The dialog's answer: the user confirmed an install, or the dialog closed without one. */
export type UpdateDialogResult = "install" | "closed";

export interface OpenUpdateDialogOptions {
  /** Path of the Tessary Update program. */
  executable: string;
  /** The installed version, shown as it stands. */
  installed: string;
  /** Path of the dialog's icon (an image file); a missing one leaves the default icon. */
  icon: string;
  /**
   * Path of the status file. Defaults to a file in a new private temporary
   * folder that is removed when the dialog ends. A file already at this path
   * (left by an earlier run) is removed before the dialog starts; the file is
   * left in place when the dialog ends.
   */
  statusPath?: string;
  /** The dialog's whole environment, as for `child_process.spawn`; defaults to `process.env`. */
  env?: NodeJS.ProcessEnv;
  /**
   * Whose way the dialog is driven in; defaults to `process.platform`. On
   * "win32" the dialog's standard input is a pipe that carries the focus
   * request (a line "focus") and whose end closes the dialog, with no signal
   * and no watchdog. Give "win32" elsewhere to drive a Windows dialog, say
   * under Wine in tests.
   */
  platform?: NodeJS.Platform;
}

/**
 * A running Tessary Update, made by {@link openUpdateDialog}.
 *
 * The dialog never outlives its host: a small watchdog process ends it when
 * the host process ends, also when the host is killed with SIGKILL. On
 * Windows the dialog ends by itself when its standard input, a pipe from the
 * host, reaches its end, however the host ended.
 */
export declare class UpdateDialog {
  private constructor();

  /**
   * Resolves "install" when the user confirmed the offered release (the
   * dialog wrote exactly `{"action":"install"}` and a line feed, then exited 0),
   * or "closed" when the dialog was closed without an install (exit 0 and no
   * output, or ended by {@link UpdateDialog.close}). Anything else rejects with
   * an {@link UpdateDialogError}: the program could not be started, it exited
   * with another status (2 means it was not given its four arguments, a
   * programming error; 1 with nothing on standard error, an
   * {@link InstallRequestUndeliveredError}, that the user confirmed but the
   * request could not be written), wrote something unexpected, or was ended by
   * a signal the host did not ask for.
   */
  readonly result: Promise<UpdateDialogResult>;

  /** The threshold the dialog was started with (its fourth argument): seconds since the epoch at the call. */
  readonly threshold: number;

  /** Absolute path of the status file (empty when no private folder could be made for it). */
  readonly statusPath: string;

  /** The dialog's process id, or undefined when it could not be started. */
  readonly pid: number | undefined;

  /** Whether the dialog has ended. */
  readonly ended: boolean;

  /**
   * Shows one version of the update's status. Every field is checked first: a
   * value of the wrong type (or an unknown key) throws a `TypeError` naming the
   * field, a negative byte count a `RangeError`, and nothing is written.
   *
   * Each version is written whole to a new file in the status file's folder
   * and renamed into place, with a `checkedAt` at or above the dialog's
   * threshold. Writes are coalesced: at most one every 50 ms, the newest
   * version always written last. After the dialog has ended, nothing is written.
   */
  show(status: UpdateStatus): void;

  /**
   * Resolves once the newest version given to {@link UpdateDialog.show} is in
   * the status file; rejects with the error of a write that failed (the next
   * `show` tries again).
   */
  flush(): Promise<void>;

  /**
   * Brings the dialog to the front and makes it the key window, by sending it
   * SIGUSR1. While the dialog is still starting, that signal would end it, so
   * the request is held until the dialog shows SIGUSR1 as blocked, ignored or
   * caught (read from `/proc/<pid>/status` on Linux, from `ps` elsewhere); the
   * requests held meanwhile are then sent as one signal. On Windows it writes
   * a line "focus" to the dialog's standard input at once: the line waits in
   * the pipe while the dialog starts.
   *
   * @returns true once the signal has been sent, false when the dialog ended first
   */
  focus(): Promise<boolean>;

  /**
   * Ends the dialog without an install (with SIGTERM; on Windows by ending its
   * standard input, which the dialog takes as "Close", and ending the process
   * if it is still there 2 s later); the result then resolves "closed",
   * unless the dialog had already ended with another answer.
   *
   * @returns resolves once the dialog has ended and the module's files are removed; never rejects
   */
  close(): Promise<void>;
}

/** Why a dialog ended without an answer. */
export declare class UpdateDialogError extends Error {
  /** The dialog's exit status, or null when it did not exit by itself. */
  readonly exitCode: number | null;
  /** The signal that ended the dialog, or null. */
  readonly signal: NodeJS.Signals | null;
  /** What the dialog wrote on standard error (at most its last 64 KiB). */
  readonly stderr: string;
}

/**
 * The user confirmed the install, but the dialog could not deliver its install
 * request whole: it exited with status 1 and wrote nothing on standard error.
 */
export declare class InstallRequestUndeliveredError extends UpdateDialogError {
  readonly exitCode: 1;
}

/**
 * Starts Tessary Update and returns at once.
 *
 * The dialog's freshness threshold is the time of this call; every version
 * the module writes is at or above it, even if the wall clock steps back, and
 * a status file left over from an earlier run is never shown.
 *
 * @throws TypeError when an option has the wrong type
 */
export declare function openUpdateDialog(options: OpenUpdateDialogOptions): UpdateDialog;

/**
 * What {@link followElectronUpdater} needs of an updater: electron-updater's
 * `autoUpdater` and Electron's own `autoUpdater` both fit.
 */
export interface ElectronUpdater extends Pick<EventEmitter, "on" | "removeListener" | "emit"> {
  quitAndInstall(...args: never[]): void;
  /**
   * electron-updater's switch: when false, `update-available` starts no
   * download, and none is shown until the host's `downloadUpdate()` reports
   * progress. Electron's own updater has none and always downloads.
   */
  autoDownload?: boolean;
}

/**
 * Shows an Electron updater's progress in the dialog:
 *
 * - `checking-for-update`: "checking", unless an update is offered or downloading (then nothing
 *   changes: a check never takes an offer or a download off the screen, not even for a moment)
 * - `update-available`: "downloading", with `latest` from the `UpdateInfo`'s `version`; nothing
 *   new while a download runs, when the version offered is found again, or with `autoDownload` off
 * - `download-progress`: "downloading", with `downloaded` and `total` (whole bytes, from
 *   `transferred` and `total`) and `progress` (from `percent`)
 * - `update-downloaded`: "available", with `latest` from the `UpdateInfo`'s `version`, or from
 *   the release name (Electron's `autoUpdater`), or the version seen before
 * - `update-not-available`: "up-to-date", unless an update is offered or downloading
 * - `update-cancelled`: "error", with "The download was cancelled."
 * - `error`: "error", with a short sentence of the failure's kind (the server cannot be reached,
 *   has no release for this app, the download was interrupted, the update was damaged, no disk
 *   space or permission, …), never the library's message. A failed check changes nothing while an
 *   update is offered or downloading. The error itself reaches the host's own `error` listeners.
 *
 * When the dialog's result is "install", calls `autoUpdater.quitAndInstall()`;
 * an exception from it is emitted as the updater's own `error` event.
 *
 * @returns a function that detaches the updater from the dialog (done by itself once the dialog ends)
 * @throws TypeError when `autoUpdater` is no EventEmitter with `quitAndInstall`, or `dialog` no UpdateDialog
 */
export declare function followElectronUpdater(
  autoUpdater: ElectronUpdater,
  dialog: Pick<UpdateDialog, "show" | "result">,
): () => void;

/**
 * An updater error as one line, for a host's log (the dialog never shows it):
 * the message without stack frames, its lines joined, white space collapsed,
 * at most 200 characters. Undefined when empty.
 */
export declare function oneLineMessage(error: unknown): string | undefined;
