// How each version reaches the status file: whole, renamed into place, and
// dated as complete, so that the dialog trusts even its first reading at once.
import assert from "node:assert/strict";
import { mkdtempSync, readFileSync, readdirSync, rmSync, statSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { after, test } from "node:test";

import { StatusFile } from "../lib/status-file.mjs";

// The dialog waits for a file changed less than this long ago to settle.
const dialogSettlingMs = 75;

const folder = mkdtempSync(join(tmpdir(), "status-file-test-"));
after(() => rmSync(folder, { recursive: true, force: true }));

test("each version is renamed into place whole and dated older than the dialog's settling time", async () => {
  const path = join(folder, "status.json");
  const file = new StatusFile(path);
  for (const version of [{ checkedAt: 1, state: "checking" }, { checkedAt: 2, state: "available", latest: "2.0.0" }]) {
    const before = statSync(path, { throwIfNoEntry: false });
    await file.write(version);
    const written = statSync(path);
    assert.deepEqual(JSON.parse(readFileSync(path, "utf8")), version);
    if (before) assert.notEqual(written.ino, before.ino, "a new file, renamed into place");
    assert.ok(Date.now() - written.mtimeMs >= dialogSettlingMs, `dated ${Date.now() - written.mtimeMs} ms back`);
  }
  assert.deepEqual(readdirSync(folder), ["status.json"], "nothing left beside it");
});
