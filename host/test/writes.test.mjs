// Status writes under load, with the real dialog reading too: a reader that
// reads as fast as it can never meets a partly written file.
import assert from "node:assert/strict";
import { once } from "node:events";
import { describe, test } from "node:test";
import { Worker } from "node:worker_threads";

import { StatusFile } from "../lib/status-file.mjs";
import { openUpdateDialog } from "../index.mjs";
import { waitForButtons } from "./support/desktop.mjs";
import { dialogProgram, skipWithoutDialog, useDisplay } from "./support/display.mjs";

const skip = skipWithoutDialog;
const yieldToIo = () => new Promise((resolve) => setImmediate(resolve));

// Runs `work` while a worker reads `path` in a loop; returns the worker's findings.
async function whileReading(path, work) {
  const stop = new SharedArrayBuffer(4);
  const reader = new Worker(new URL("./support/status-reader.mjs", import.meta.url), { workerData: { path, stop } });
  const report = once(reader, "message");
  await once(reader, "online");
  try {
    await work();
  } finally {
    Atomics.store(new Int32Array(stop), 0, 1);
  }
  return (await report)[0];
}

describe("writes under load", { skip }, () => {
  const desktop = useDisplay();

  test("10,000 show() calls: every reading parses, fresh, and the newest version is shown last", async () => {
    const dialog = openUpdateDialog({ executable: dialogProgram, installed: "1.4.2", icon: "/nonexistent/icon.png", env: desktop.env });
    dialog.show({ state: "checking" });
    await dialog.flush();
    const startedAt = performance.now();
    const report = await whileReading(dialog.statusPath, async () => {
      for (let i = 1; i <= 10_000; i++) {
        dialog.show({ state: "downloading", latest: "1.5.0", downloaded: i, total: 10_000, progress: i / 100 });
        await yieldToIo();
      }
      dialog.show({ state: "available", latest: "1.5.0" });
      await dialog.flush();
    });
    const seconds = (performance.now() - startedAt) / 1000;
    assert.deepEqual(report.unparsable, []);
    assert.equal(report.missing, 0);
    assert.ok(report.readings > 100, `read ${report.readings} times`);
    assert.ok(report.lowestCheckedAt >= dialog.threshold, "every version is fresh");
    assert.ok(report.checkedAt <= seconds * 20 + 2, `${report.checkedAt} versions seen in ${seconds.toFixed(2)} s: coalesced`);
    await waitForButtons(desktop.display, dialog, 2);
    await dialog.close();
    assert.equal(await dialog.result, "closed");
  });

  test("2,000 versions written back to back, up to 4 kB each: every reading parses", async () => {
    const dialog = openUpdateDialog({ executable: dialogProgram, installed: "1.4.2", icon: "/nonexistent/icon.png", env: desktop.env });
    const file = new StatusFile(dialog.statusPath);
    await file.write({ checkedAt: dialog.threshold, state: "checking" });
    const report = await whileReading(dialog.statusPath, async () => {
      for (let i = 0; i < 2_000; i++) {
        await file.write({ checkedAt: dialog.threshold + i, state: "downloading", message: "x".repeat(i % 4000) });
      }
    });
    assert.deepEqual(report.unparsable, []);
    assert.equal(report.missing, 0);
    assert.ok(report.checkedAt > 100, `${report.checkedAt} different versions read`);
    await dialog.close();
    assert.equal(await dialog.result, "closed");
  });
});
