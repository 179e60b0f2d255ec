// The module against the real Tessary Update on a virtual display: whole
// updates through both updater shapes, a stale file, and failures.
import assert from "node:assert/strict";
import { EventEmitter } from "node:events";
import { writeFileSync } from "node:fs";
import { join } from "node:path";
import { after, describe, test } from "node:test";
import { setTimeout as sleep } from "node:timers/promises";

import { captureWindow, filledBarWidth } from "../../update-dialog/e2e/lib/screen.mjs";
import { followElectronUpdater, openUpdateDialog } from "../index.mjs";
import { clickButton, dialogButtons, dialogWindow, waitFor, waitForButtons } from "./support/desktop.mjs";
import { dialogProgram, skipWithoutDialog, useDisplay } from "./support/display.mjs";
import { standIns } from "./support/stand-ins.mjs";
import * as recorded from "./fixtures/updater-events.mjs";

const skip = skipWithoutDialog;

describe("against the real dialog", { skip }, () => {
  const desktop = useDisplay();
  const programs = standIns();
  after(() => programs.remove());
  const open = (options = {}) =>
    openUpdateDialog({ executable: dialogProgram, installed: "1.4.2", icon: "/nonexistent/icon.png", env: desktop.env, ...options });

  class FakeUpdater extends EventEmitter {
    installs = 0;
    quitAndInstall() {
      this.installs++;
    }
  }

  const updates = [
    { shape: "electron-updater", events: recorded.electronUpdaterUpdate },
    { shape: "Electron's autoUpdater", events: recorded.electronBuiltInUpdate },
  ];
  const buttons = [
    { press: "Install & Relaunch", index: 0, result: "install", installs: 1 },
    { press: "Later", index: 1, result: "closed", installs: 0 },
  ];
  for (const { shape, events } of updates) {
    for (const { press, index, result, installs } of buttons) {
      test(`a whole update through ${shape}, then "${press}"`, async () => {
        const dialog = open();
        const updater = new FakeUpdater();
        followElectronUpdater(updater, dialog);
        const window = await dialogWindow(desktop.display, dialog);
        for (const [name, ...args] of events) {
          updater.emit(name, ...args);
          await sleep(150);
          // The bar fills as the download goes (280 pixels when full).
          if (name === "download-progress") {
            const width = (args[0].percent / 100) * 280;
            await waitFor(`a bar ${Math.round(args[0].percent)}% full`, () => Math.abs(filledBarWidth(captureWindow(desktop.display, window)) - width) < 20);
          }
        }
        await waitForButtons(desktop.display, dialog, 2);
        await clickButton(desktop.display, dialog, index);
        assert.equal(await dialog.result, result);
        await sleep(10);
        assert.equal(updater.installs, installs);
      });
    }
  }

  test("a status file left by an earlier run is never shown", async () => {
    const statusPath = join(programs.folder, "status.json");
    // From a run whose wall clock was far ahead: its time stamp alone would pass.
    writeFileSync(statusPath, JSON.stringify({ checkedAt: 9e15, state: "available", latest: "0.9.0" }));
    const dialog = open({ statusPath });
    await dialogWindow(desktop.display, dialog);
    await sleep(800); // a few of the dialog's quarter-second readings
    assert.equal((await dialogButtons(desktop.display, dialog)).length, 1, "no offer shown");
    dialog.show({ state: "available", latest: "1.5.0" });
    await waitForButtons(desktop.display, dialog, 2);
    await dialog.close();
    assert.equal(await dialog.result, "closed");
  });

  const failures = [
    {
      name: "a missing program",
      executable: () => "/nonexistent/Tessary Update",
      failure: { exitCode: null, signal: null, message: /could not be started.*ENOENT/ },
    },
    {
      name: "a short command line (exit 2)",
      executable: () => programs.script(`exec "${dialogProgram}" "$1"`),
      failure: { exitCode: 2, signal: null, message: /exit status 2.*programming error/ },
    },
    {
      name: "a kill the host did not ask for",
      end: (dialog) => process.kill(dialog.pid, "SIGKILL"),
      failure: { exitCode: null, signal: "SIGKILL", message: /ended by SIGKILL/ },
    },
  ];
  for (const { name, executable, end, failure } of failures) {
    test(`the result rejects on ${name}`, async () => {
      const dialog = open(executable ? { executable: executable() } : {});
      if (end) {
        await dialogWindow(desktop.display, dialog);
        end(dialog);
      }
      const error = await dialog.result.then(() => assert.fail("resolved"), (reason) => reason);
      assert.equal(error.exitCode, failure.exitCode);
      assert.equal(error.signal, failure.signal);
      assert.match(error.message, failure.message);
    });
  }
});
