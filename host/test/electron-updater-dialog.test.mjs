// The real electron-updater (through the stand-ins for Electron's app and net)
// followed into the real Tessary Update on a virtual display: a whole update
// to "Install & Relaunch" while the status file is read as fast as it can be
// read during checks made on the offer, and each failure's sentence as the
// dialog lays it out.
import assert from "node:assert/strict";
import { Worker } from "node:worker_threads";
import { afterEach, describe, test } from "node:test";
import { setTimeout as sleep } from "node:timers/promises";

import { captureWindow, findButtons } from "../../update-dialog/e2e/lib/screen.mjs";
import { followElectronUpdater, openUpdateDialog } from "../index.mjs";
import { failureSentences } from "../lib/update-errors.mjs";
import { clickButton, dialogWindow, waitForButtons } from "./support/desktop.mjs";
import { dialogProgram, skipWithoutDialog, useDisplay } from "./support/display.mjs";
import { updaterBench } from "./support/updater-bench.mjs";

describe("electron-updater into the real dialog", { skip: skipWithoutDialog }, () => {
  const desktop = useDisplay();
  let bench;
  const dialogs = [];
  afterEach(async () => {
    await Promise.all(dialogs.splice(0).map((dialog) => dialog.close()));
    await bench?.stop();
  });
  const open = () => {
    const dialog = openUpdateDialog({
      executable: dialogProgram,
      installed: "1.4.2",
      icon: "/nonexistent/icon.png",
      env: desktop.env,
    });
    dialogs.push(dialog);
    return dialog;
  };

  // Reads the status file in a worker, as fast as it can, until stopped; resolves with the states it read.
  function readStatesOf(dialog) {
    const stop = new SharedArrayBuffer(4);
    const reader = new Worker(new URL("./support/status-reader.mjs", import.meta.url), {
      workerData: { path: dialog.statusPath, stop },
    });
    const report = new Promise((resolve, reject) => {
      reader.once("message", resolve);
      reader.once("error", reject);
    });
    return async () => {
      Atomics.store(new Int32Array(stop), 0, 1);
      return report;
    };
  }

  test('a whole update, twelve checks on the offer with only the offer in the file, then "Install & Relaunch"', async () => {
    bench = await updaterBench();
    bench.server.publish("2.0.0", { size: 512 * 1024 });
    bench.server.bytesPerSecond = 256 * 1024;
    const dialog = open();
    followElectronUpdater(bench.updater, dialog);
    await dialogWindow(desktop.display, dialog);
    await bench.check();
    await waitForButtons(desktop.display, dialog, 2);
    await dialog.flush();

    const stopReading = readStatesOf(dialog);
    for (let i = 0; i < 12; i++) {
      await bench.check();
      await sleep(100);
    }
    await dialog.flush();
    const report = await stopReading();
    assert.ok(report.readings > 100, `${report.readings} readings`);
    assert.deepEqual(report.unparsable, []);
    assert.deepEqual(report.states, ["available"], "the file held nothing but the offer");

    await clickButton(desktop.display, dialog, 0);
    assert.equal(await dialog.result, "install");
    await sleep(10);
    assert.equal(bench.updater.installs, 1);
  });

  // The height of the details, in rows: from the first to the last row that
  // holds dark pixels right of the icon, below the headline and above the buttons.
  function detailsHeight(shot) {
    const buttons = findButtons(shot);
    assert.ok(buttons.length > 0, "the dialog's buttons are in the screenshot");
    const buttonsTop = Math.min(...buttons.map(({ y }) => y)) - 12;
    const dark = [];
    for (let y = 0; y < buttonsTop; y++) {
      let found = false;
      for (let x = 95; x < shot.width - 10 && !found; x++) found = shot.isDark(x, y);
      dark.push(found);
    }
    const headlineEnd = dark.indexOf(false, dark.indexOf(true));
    const top = dark.indexOf(true, headlineEnd);
    return dark.lastIndexOf(true) - top + 1;
  }

  async function detailsHeightOf(message) {
    const dialog = open();
    dialog.show({ state: "error", message });
    await dialog.flush();
    const window = await dialogWindow(desktop.display, dialog);
    await sleep(300);
    const height = detailsHeight(captureWindow(desktop.display, window));
    await dialog.close();
    return height;
  }

  test("each failure's sentence takes at most two lines", async () => {
    // One line, and three, of letters that reach as high and as low as any.
    const oneLine = await detailsHeightOf("Xy");
    const lineStep = ((await detailsHeightOf("Xy\nXy\nXy")) - oneLine) / 2;
    assert.ok(lineStep > 5, `a line every ${lineStep} rows`);
    for (const [kind, sentence] of Object.entries(failureSentences)) {
      const lines = 1 + Math.round(((await detailsHeightOf(sentence)) - oneLine) / lineStep);
      assert.ok(lines <= 2, `${kind}: "${sentence}" takes ${lines} lines`);
    }
  });
});
