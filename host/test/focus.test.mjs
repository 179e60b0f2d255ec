// focus() called at once after openUpdateDialog never ends the real dialog,
// although the signal it sends would end a dialog still starting up.
import assert from "node:assert/strict";
import { describe, test } from "node:test";
import { setTimeout as sleep } from "node:timers/promises";

import { openUpdateDialog } from "../index.mjs";
import { dialogWindow } from "./support/desktop.mjs";
import { dialogProgram, skipWithoutDialog, useDisplay } from "./support/display.mjs";

const skip = skipWithoutDialog;
const tries = 100;
const sideBySide = 4;

describe("focus at once", { skip }, () => {
  const desktop = useDisplay();
  const open = () =>
    openUpdateDialog({ executable: dialogProgram, installed: "1.4.2", icon: "/nonexistent/icon.png", env: desktop.env });

  test(`${tries} dialogs, each asked to come to the front the moment it starts, all live on`, async () => {
    let started = 0;
    let done = 0;
    const one = async () => {
      const dialog = open();
      assert.equal(await dialog.focus(), true, "the signal was sent");
      await sleep(50); // time for a fatal signal to take effect
      assert.equal(dialog.ended, false, "the dialog is still running");
      await dialog.close();
      assert.equal(await dialog.result, "closed");
      done++;
    };
    const lanes = Array.from({ length: sideBySide }, async () => {
      while (started < tries) {
        started++;
        await one();
      }
    });
    await Promise.all(lanes);
    assert.equal(done, tries);
  });

  test("a request held during start-up still brings the dialog up", async () => {
    const dialog = open();
    const sent = dialog.focus();
    await dialogWindow(desktop.display, dialog);
    assert.equal(await sent, true);
    await dialog.close();
    assert.equal(await dialog.result, "closed");
  });
});
