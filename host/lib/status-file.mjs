// The status file on disk: where it lives, and how each version reaches it
// whole. Every version is written to a new file in the same folder and renamed
// over the status file, so a reader finds either the old version or the new one,
// never a part of either.
import { randomBytes } from "node:crypto";
import { mkdtempSync, unlinkSync } from "node:fs";
import { rename, rm, unlink, writeFile } from "node:fs/promises";
import { tmpdir } from "node:os";
import { basename, dirname, join, resolve } from "node:path";

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

  /** @param {string} path absolute path of the status file */
  constructor(path) {
    this.#path = path;
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
      await rename(this.#temporaryPath, this.#path);
    } catch (error) {
      // A failed write leaves nothing behind, so the next one starts clean.
      await unlink(this.#temporaryPath).catch(() => {});
      throw new Error(`cannot write the status file ${this.#path}`, { cause: error });
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
