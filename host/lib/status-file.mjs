// The status file on disk: where it lives, and how each version reaches it
// whole. Every version is written to a new file in the same folder and renamed
// over the status file, so a reader finds either the old version or the new one,
// never a part of either. Each is dated a second back before it is renamed:
// that tells the dialog the version is complete, so that even its first
// reading, which cannot tell a file renamed into place from one still being
// rewritten in place, shows it at once instead of waiting for it to settle.
// On Windows a rename over a file that the dialog is reading at that moment is
// refused, so there it is tried again shortly after.
import { randomBytes } from "node:crypto";
import { mkdtempSync, unlinkSync } from "node:fs";
import { rename as renameFile, rm, unlink, utimes, writeFile } from "node:fs/promises";
import { tmpdir } from "node:os";
import { basename, dirname, join, resolve } from "node:path";
import { setTimeout as sleep } from "node:timers/promises";

/**
 * The errors with which Windows refuses to rename a file over one that a
 * reader holds open at that moment (the dialog reads the status file four
 * times a second, briefly each time). Another attempt a moment later succeeds.
 */
export const busyRenameCodes = new Set(["EPERM", "EACCES", "EBUSY"]);

/** The pauses between attempts at a rename refused as busy: about 0.15 s in all. */
export const busyRenameDelaysMs = [2, 5, 10, 20, 40, 80];

/**
 * How far back each complete version is dated: beyond the 75 ms for which the
 * dialog waits on a file that changed a moment ago.
 */
export const completeVersionAgeMs = 1000;

/**
 * Decides where the status file lives and clears what an earlier run left
 * there, synchronously, before the dialog starts.
 *
 * Without a path, the file lies in a new private folder (mode 0700) that the
 * module removes when the dialog ends. With a path, any file already there is
 * removed: a version left by an earlier run must never be shown, and its time
 * stamp alone cannot prove it stale if the wall clock was ahead back then.
 *
 * @param {string | undefined} statusPath
 * @returns {{ path: string, ownFolder: string | undefined }}
 */
export function prepareStatusLocation(statusPath) {
  if (statusPath === undefined) {
    const ownFolder = mkdtempSync(join(tmpdir(), "tessary-update-"));
    return { path: join(ownFolder, "status.json"), ownFolder };
  }
  const path = resolve(statusPath);
  try {
    unlinkSync(path);
  } catch (error) {
    if (error.code !== "ENOENT") {
      throw new Error(`cannot clear the status file ${path} left by an earlier run`, { cause: error });
    }
  }
  return { path, ownFolder: undefined };
}

/**
 * Writes versions of one status file, each whole: to a new file beside it,
 * then renamed into place. Calls must not overlap (the caller serialises them).
 */
export class StatusFile {
  #path;
  #temporaryPath;
  #rename;
  #retryDelaysMs;

  /**
   * @param {string} path absolute path of the status file
   * @param {{ retryBusyRename?: boolean, rename?: (from: string, to: string) => Promise<void>,
   *           retryDelaysMs?: number[] }} [options]
   *   `retryBusyRename`: try a rename refused as busy again (Windows); the
   *   rename function and the pauses are replaceable for tests
   */
  constructor(path, { retryBusyRename = false, rename = renameFile, retryDelaysMs = busyRenameDelaysMs } = {}) {
    this.#path = path;
    this.#rename = rename;
    this.#retryDelaysMs = retryBusyRename ? retryDelaysMs : [];
    // A name no one else can guess or hold, in the same folder (a rename across
    // file systems would not be atomic).
    this.#temporaryPath = join(
      dirname(path),
      `.${basename(path)}.${process.pid}-${randomBytes(6).toString("hex")}.tmp`,
    );
  }

  get path() {
    return this.#path;
  }

  /**
   * @param {object} version the JSON object to write
   * @returns {Promise<void>}
   */
  async write(version) {
    try {
      // "wx": never follow or reuse something that is already at that name.
      await writeFile(this.#temporaryPath, JSON.stringify(version), { flag: "wx" });
      const now = Date.now();
      await utimes(this.#temporaryPath, new Date(now), new Date(now - completeVersionAgeMs));
      await this.#renameIntoPlace();
    } catch (error) {
      // A failed write leaves nothing behind, so the next one starts clean.
      await unlink(this.#temporaryPath).catch(() => {});
      throw new Error(`cannot write the status file ${this.#path}`, { cause: error });
    }
  }

  async #renameIntoPlace() {
    for (let attempt = 0; ; attempt++) {
      try {
        return await this.#rename(this.#temporaryPath, this.#path);
      } catch (error) {
        if (!busyRenameCodes.has(error?.code) || attempt >= this.#retryDelaysMs.length) throw error;
        await sleep(this.#retryDelaysMs[attempt]);
      }
    }
  }
}

/**
 * Removes a folder the module made, with all it holds.
 *
 * @param {string} folder
 * @returns {Promise<void>}
 */
export const removeFolder = (folder) => rm(folder, { recursive: true, force: true });
