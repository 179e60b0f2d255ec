// The real electron-updater of a packaged Linux app against a loopback update
// server, with every event it emits recorded in order, and a dialog stand-in
// that records what it is shown.
import { mkdtempSync, rmSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";

import { linuxUpdater } from "./electron-stand-ins.mjs";
import { startUpdateServer } from "./update-server.mjs";

/** The events of electron-updater that followElectronUpdater listens to. */
export const updaterEvents = [
  "checking-for-update",
  "update-available",
  "update-not-available",
  "download-progress",
  "update-downloaded",
  "update-cancelled",
  "error",
];

/**
 * A folder of its own with the running "AppImage" (APPIMAGE names it, as the
 * AppImage runtime does), an update server, and the app's updater.
 *
 * @param {{ version?: string, autoDownload?: boolean }} [options]
 */
export async function updaterBench({ version = "1.4.2", autoDownload = true } = {}) {
  const folder = mkdtempSync(join(tmpdir(), "tessary-updater-test-"));
  const appImage = join(folder, `Tessary-${version}.AppImage`);
  writeFileSync(appImage, "the running release");
  process.env.APPIMAGE = appImage;
  const server = await startUpdateServer();
  const updater = linuxUpdater({ folder: join(folder, "app"), feedUrl: server.url, version, autoDownload });
  /** @type {{ at: number, name: string, args: unknown[] }[]} */
  const events = [];
  for (const name of updaterEvents) updater.on(name, (...args) => events.push({ at: performance.now(), name, args }));
  let stopped = false;
  return {
    folder,
    server,
    updater,
    events,
    /**
     * Checks for updates and waits for the download it starts, as a host does;
     * resolves with what the check and the download rejected with, if anything.
     * @returns {Promise<{ check: unknown, download: unknown, result: any }>}
     */
    async check() {
      const outcome = { check: undefined, download: undefined, result: undefined };
      try {
        outcome.result = await updater.checkForUpdates();
      } catch (error) {
        outcome.check = error;
        return outcome;
      }
      await outcome.result?.downloadPromise?.catch((error) => (outcome.download = error));
      return outcome;
    },
    async stop() {
      if (stopped) return;
      stopped = true;
      await server.close().catch(() => {});
      rmSync(folder, { recursive: true, force: true });
    },
  };
}

/** A dialog stand-in: records each status shown, with its time, and ends when told. */
export function recordingDialog() {
  let end;
  const shown = [];
  return {
    shown,
    /** The states shown, in order. */
    states: () => shown.map(({ status }) => status.state),
    show: (status) => shown.push({ at: performance.now(), status }),
    result: new Promise((resolve, reject) => (end = { resolve, reject })),
    get end() {
      return end;
    },
  };
}
