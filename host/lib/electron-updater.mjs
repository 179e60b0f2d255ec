// Connects an Electron updater's events to a dialog. Two updaters are common:
// electron-updater's `autoUpdater` (events carry `UpdateInfo` and
// `ProgressInfo` objects) and Electron's own `autoUpdater` (no progress events,
// `update-downloaded` with positional arguments). Both are EventEmitters with
// `quitAndInstall()`.

/** Longest `message` written for an updater error, in characters. */
const messageLimit = 200;

// A stack frame line, as V8 writes them ("    at fn (file:1:2)").
const stackFrame = /^\s*at\s/;

/**
 * An updater error as one line for the dialog: the error's message without
 * stack frames, its lines joined and its white space and control characters
 * collapsed, cut at 200 characters. Undefined when nothing is left.
 *
 * @param {unknown} error
 * @returns {string | undefined}
 */
export function oneLineMessage(error) {
  const text =
    typeof error === "string"
      ? error
      : typeof error?.message === "string"
        ? error.message
        : "";
  const line = text
    .split(/\r\n|[\n\r\u0085\u2028\u2029]/)
    .filter((part) => !stackFrame.test(part))
    .join(" ")
    .replace(/[\s\u0000-\u001f\u007f-\u009f]+/g, " ")
    .trim();
  if (line === "") return undefined;
  const characters = Array.from(line);
  return characters.length <= messageLimit ? line : `${characters.slice(0, messageLimit - 1).join("").trimEnd()}…`;
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
 * See index.d.ts for the mapping.
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

  let latest;
  const handlers = {
    "checking-for-update": () => dialog.show({ state: "checking" }),
    "update-available": (info) => {
      latest = versionOf(info) ?? latest;
      dialog.show(known({ state: "downloading", latest }));
    },
    "download-progress": (progress) => {
      const downloaded = byteCount(progress?.transferred);
      const total = byteCount(progress?.total);
      dialog.show(known({ state: "downloading", latest, downloaded, total, progress: percent(progress?.percent) }));
    },
    // electron-updater: (info). Electron: (event, releaseNotes, releaseName, releaseDate, updateURL).
    "update-downloaded": (...args) => {
      const releaseName = typeof args[2] === "string" && args[2] !== "" ? args[2] : undefined;
      latest = versionOf(args[0]) ?? releaseName ?? latest;
      dialog.show(known({ state: "available", latest }));
    },
    "update-not-available": () => dialog.show({ state: "up-to-date" }),
    error: (error) => dialog.show(known({ state: "error", message: oneLineMessage(error) })),
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
