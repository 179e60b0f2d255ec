// Figures of the host module on this machine:
//   node host/bench/measure.mjs "<path to Tessary Update>"
// - how long a focus() made at once is held: from openUpdateDialog until the
//   dialog can take the signal and it is sent (the dialog's own start-up);
// - what one show() costs the host (checking and coalescing, no disk);
// - how many whole versions StatusFile writes per second, back to back.
import { mkdtempSync, rmSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";

import { openUpdateDialog } from "../index.mjs";
import { StatusFile } from "../lib/status-file.mjs";
import { startXvfb } from "../../update-dialog/e2e/lib/xserver.mjs";

const executable = process.argv[2];
if (!executable) {
  console.error('usage: node host/bench/measure.mjs "<path to Tessary Update>"');
  process.exit(64);
}
const percentile = (sorted, p) => sorted[Math.min(sorted.length - 1, Math.floor((sorted.length * p) / 100))];
const summary = (values) => {
  const sorted = [...values].sort((a, b) => a - b);
  return `median ${percentile(sorted, 50).toFixed(1)}, p95 ${percentile(sorted, 95).toFixed(1)}, max ${sorted.at(-1).toFixed(1)}`;
};

const server = await startXvfb();
const env = { ...process.env, DISPLAY: server.display };
try {
  const held = [];
  for (let i = 0; i < 30; i++) {
    const startedAt = performance.now();
    const dialog = openUpdateDialog({ executable, installed: "1.4.2", icon: "/nonexistent/icon.png", env });
    if (!(await dialog.focus())) throw new Error("the dialog ended before it could take the signal");
    held.push(performance.now() - startedAt);
    await dialog.close();
    await dialog.result;
  }
  console.log(`focus() at once is held for (ms, 30 starts): ${summary(held)}`);

  const dialog = openUpdateDialog({ executable, installed: "1.4.2", icon: "/nonexistent/icon.png", env });
  const calls = 100_000;
  const startedAt = performance.now();
  for (let i = 0; i < calls; i++) dialog.show({ state: "downloading", latest: "1.5.0", downloaded: i, total: calls, progress: i / 1000 });
  console.log(`show(): ${(((performance.now() - startedAt) * 1000) / calls).toFixed(2)} µs a call (${calls} calls)`);
  await dialog.close();
  await dialog.result;

  const folder = mkdtempSync(join(tmpdir(), "tessary-host-bench-"));
  const file = new StatusFile(join(folder, "status.json"));
  const writes = 2000;
  const writesStartedAt = performance.now();
  for (let i = 0; i < writes; i++) await file.write({ checkedAt: i, state: "downloading", downloaded: i, total: writes });
  const seconds = (performance.now() - writesStartedAt) / 1000;
  console.log(`StatusFile: ${Math.round(writes / seconds)} whole versions a second, written and renamed back to back`);
  rmSync(folder, { recursive: true, force: true });
} finally {
  await server.stop();
}
