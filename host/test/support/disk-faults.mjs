// Disk faults for the real electron-updater: a cache folder on a file system
// too small for the update (a 64 KiB tmpfs in a mount namespace of its own),
// or one the app may not write to (mode 0555; as root, without the
// capabilities that let root write anywhere). The update runs in a process of
// its own inside the fault (disk-fault-run.mjs).
import { spawnSync } from "node:child_process";
import { chmodSync, mkdtempSync, rmSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { fileURLToPath } from "node:url";

const runner = fileURLToPath(new URL("./disk-fault-run.mjs", import.meta.url));
const isRoot = process.getuid?.() === 0;

function commandFor(fault, folder) {
  const node = [process.execPath, runner, folder];
  if (fault === "no-space") {
    // A user namespace lets a user who is not root mount it too, where the system allows it.
    const mount = 'mount -t tmpfs -o size=64k tmpfs "$0" && exec "$@"';
    return ["unshare", isRoot ? "-m" : "-rm", "sh", "-c", mount, folder, ...node];
  }
  chmodSync(folder, 0o555);
  if (!isRoot) return node;
  const dropped = "-dac_override,-dac_read_search,-fowner";
  return ["setpriv", `--bounding-set=${dropped}`, `--inh-caps=${dropped}`, ...node];
}

/**
 * Runs one update inside the fault.
 *
 * @param {"no-space" | "no-permission"} fault
 * @returns {{ unavailable: string } | { events: unknown[][], shown: object[], download: unknown }}
 */
export function runWithDiskFault(fault) {
  const folder = mkdtempSync(join(tmpdir(), `tessary-${fault}-`));
  try {
    const [command, ...args] = commandFor(fault, folder);
    const run = spawnSync(command, args, { encoding: "utf8", timeout: 60_000 });
    const line = run.stdout?.trim().split("\n").at(-1);
    if (run.status !== 0 || !line?.startsWith("{")) {
      const reason = (run.stderr || run.error?.message || `exit status ${run.status}`).trim().split("\n").at(-1);
      return { unavailable: `${command} could not set the fault up: ${reason}` };
    }
    return JSON.parse(line);
  } finally {
    rmSync(folder, { recursive: true, force: true });
  }
}
