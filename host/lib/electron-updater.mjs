// Connects an Electron updater's events to a dialog. Two updaters are common:
// electron-updater's `autoUpdater` (events carry `UpdateInfo` and
// `ProgressInfo` objects) and Electron's own `autoUpdater` (no progress events,
// `update-downloaded` with positional arguments). Both are EventEmitters with
// `quitAndInstall()`.
//
// The dialog shows what is true for the user: an update that is downloaded
// stays offered while the updater checks again, and a download is shown only
// while one runs. docs/host-module.md describes the mapping event by event.
import { failureSentence, failureSentences } from "./update-errors.mjs";

/** Longest line made of an updater error, in characters. */
const messageLimit = 200;

// A stack frame line, as V8 writes them ("    at fn (file:1:2)").
const stackFrame = /^\s*at\s/;

/**
 * An updater error as one line, for a host's log: the error's message
 * without stack frames, its lines joined and its white space and control
 * characters collapsed, cut at 200 characters. Undefined when nothing is left.
 * (The dialog never shows it: it shows a sentence of the failure's kind.)
 *
 * @param {unknown} error
 * @returns {string | undefined}
 */
export function oneLineMessage(error) {
  const text = typeof error === "string" ? error : typeof error?.message === "string" ? error.message : "";
  const line = text
    .split(/\r\n|[\n\r\u0085\u2028\u2029]/)
    .filter((part) => !stackFrame.test(part))
    .join(" ")
    .replace(/[\s\u0000-\u001f\u007f-\u009f]+/g, " ")
    .trim();
  if (line === "") return undefined;
  const characters = Array.from(line);
  return characters.length <= messageLimit
    ? line
    : `${characters
        .slice(0, messageLimit - 1)
        .join("")
        .trimEnd()}…`;
}

const versionOf = (info) =>
  info !== null && typeof info === "object" && typeof info.version === "string" && info.version !== ""
    ? info.version
    : undefined;

// A whole, non-negative byte count, or undefined.
const byteCount = (value) =>
  typeof value === "number" && Number.isFinite(value) && value >= 0 && value <= Number.MAX_SAFE_INTEGER
    ? Math.round(value)
    : undefined;

const percent = (value) => (typeof value === "number" && Number.isFinite(value) ? value : undefined);

// Drops the keys whose value is undefined, so the status holds only what is known.
const known = (status) => Object.fromEntries(Object.entries(status).filter(([, value]) => value !== undefined));

/**
 * Shows an updater's progress in a dialog, and installs when the user confirms.
 * See index.d.ts and docs/host-module.md for the mapping.
 *
 * @param {import("../index.js").ElectronUpdater} autoUpdater
 * @param {Pick<import("./update-dialog.mjs").UpdateDialog, "show" | "result">} dialog
 * @returns {() => void} detaches the updater from the dialog
 */
export function followElectronUpdater(autoUpdater, dialog) {
  if (typeof autoUpdater?.on !== "function" || typeof autoUpdater.removeListener !== "function") {
    throw new TypeError("autoUpdater must be an EventEmitter (electron-updater's or Electron's autoUpdater)");
  }
  if (typeof autoUpdater.quitAndInstall !== "function") {
    throw new TypeError("autoUpdater must have a quitAndInstall() method");
  }
  if (typeof dialog?.show !== "function" || !(dialog.result instanceof Promise)) {
    throw new TypeError("dialog must be an UpdateDialog from openUpdateDialog()");
  }

  // What the updater is doing, as far as its events tell.
  /** @type {string | undefined} the version the last check found */
  let found;
  /** @type {{ latest: string | undefined } | undefined} the downloaded update on offer */
  let offer;
  /** @type {{ latest: string | undefined } | undefined} the download under way */
  let download;
  /** Whether a check is under way: its failure is then a failed check. */
  let checking = false;

  const show = (status) => dialog.show(known(status));
  const showFailure = (message) => show({ state: "error", message });
  // The library clears an earlier download once it downloads another.
  const startDownload = () => {
    offer = undefined;
    download = { latest: found };
  };

  const handlers = {
    "checking-for-update": () => {
      checking = true;
      // A check changes nothing on screen while an update is offered or
      // downloading: it ends within milliseconds in the same offer or the
      // same download, and showing "checking" in between makes the offer
      // flicker (and its first button read "Close").
      if (offer === undefined && download === undefined) show({ state: "checking" });
    },
    "update-available": (info) => {
      checking = false;
      const version = versionOf(info);
      found = version ?? found;
      // The library goes on with the download in flight whatever the check found.
      if (download !== undefined) return;
      // The same update again: the library finds it downloaded and says so at once.
      if (offer !== undefined && (version === undefined || version === offer.latest)) return;
      // Without autoDownload nothing is downloaded until the host asks (its
      // first download-progress shows it); Electron's own updater has no such
      // switch and always downloads.
      if (autoUpdater.autoDownload === false) return;
      startDownload();
      show({ state: "downloading", latest: download.latest });
    },
    "download-progress": (progress) => {
      if (download === undefined) startDownload();
      show({
        state: "downloading",
        latest: download.latest,
        downloaded: byteCount(progress?.transferred),
        total: byteCount(progress?.total),
        progress: percent(progress?.percent),
      });
    },
    // electron-updater: (info). Electron: (event, releaseNotes, releaseName, releaseDate, updateURL).
    "update-downloaded": (...args) => {
      const releaseName = typeof args[2] === "string" && args[2] !== "" ? args[2] : undefined;
      checking = false;
      offer = { latest: versionOf(args[0]) ?? releaseName ?? download?.latest ?? found };
      download = undefined;
      show({ state: "available", latest: offer.latest });
    },
    "update-not-available": () => {
      checking = false;
      if (offer === undefined && download === undefined) show({ state: "up-to-date" });
    },
    // electron-updater emits only this when a download is cancelled (no
    // error), and has removed the files it had downloaded, an earlier update's too.
    "update-cancelled": () => {
      offer = undefined;
      download = undefined;
      showFailure(failureSentences.cancelled);
    },
    // A failed check keeps an offer or a download on screen: the update is
    // still downloaded and installable, or the download still runs. Any other
    // failure (a download's, above all) ends them, and is shown as a sentence
    // of its kind; the error itself reaches the host through this same event.
    error: (error) => {
      const failedCheck = checking;
      checking = false;
      if (failedCheck && (offer !== undefined || download !== undefined)) return;
      const during = download !== undefined ? "download" : failedCheck ? "check" : undefined;
      offer = undefined;
      download = undefined;
      showFailure(failureSentence(error, { during }));
    },
  };

  let attached = true;
  for (const [event, handler] of Object.entries(handlers)) autoUpdater.on(event, handler);
  const detach = () => {
    if (!attached) return;
    attached = false;
    for (const [event, handler] of Object.entries(handlers)) autoUpdater.removeListener(event, handler);
  };

  dialog.result.then(
    (answer) => {
      if (!attached) return;
      detach();
      if (answer !== "install") return;
      try {
        autoUpdater.quitAndInstall();
      } catch (error) {
        // The updater's own error channel, which hosts already listen to.
        autoUpdater.emit?.("error", error);
      }
    },
    () => detach(),
  );
  return detach;
}
