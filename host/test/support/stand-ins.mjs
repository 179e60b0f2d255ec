// Small programs that stand in for Tessary Update where a test needs one that
// fails, answers or starts in a particular way.
import { chmodSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";

export function standIns() {
  const folder = mkdtempSync(join(tmpdir(), "tessary-host-test-"));
  let count = 0;
  return {
    folder,
    /** Writes an executable shell script with the given body and returns its path. */
    script(body) {
      const path = join(folder, `stand-in-${++count}`);
      writeFileSync(path, `#!/bin/sh\n${body}\n`);
      chmodSync(path, 0o755);
      return path;
    },
    remove: () => rmSync(folder, { recursive: true, force: true }),
  };
}

/** Whether a process has ended (gone, or a zombie no one has reaped yet). */
export function processEnded(pid) {
  try {
    process.kill(pid, 0);
  } catch (error) {
    if (error.code === "ESRCH") return true;
    throw error;
  }
  try {
    return /^State:\s+Z/m.test(readFileSync(`/proc/${pid}/status`, "utf8"));
  } catch {
    return true;
  }
}
