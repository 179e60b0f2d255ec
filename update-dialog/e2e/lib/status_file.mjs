// Writes the status file the way the host application does: a temporary file
// in the same folder, then a rename, so that no reading meets half a file.
import { mkdtempSync, renameSync, rmSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";

export function temporaryFolder() {
  const path = mkdtempSync(join(tmpdir(), "tessary-e2e-"));
  return { path, remove: () => rmSync(path, { recursive: true, force: true }) };
}

export function writeStatus(path, status) {
  const temporary = `${path}.${process.pid}.tmp`;
  writeFileSync(temporary, JSON.stringify(status));
  renameSync(temporary, path);
}

export const secondsNow = () => Math.floor(Date.now() / 1000);
