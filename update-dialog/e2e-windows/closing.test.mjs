// How the dialog ends and what it answers: the install request, exactly its
// 21 bytes, only for "Install & Relaunch" on an offer; every other way out
// exits 0 in silence; a short command line exits 2 with no window; a request
// nobody can read exits 1.
import assert from "node:assert/strict";
import { describe, test } from "node:test";
import { setTimeout as sleep } from "node:timers/promises";

import { installRequest, offer, useWineSession } from "./lib/session.mjs";

const session = useWineSession();

const offerShown = (dialog) => dialog.waitForLook("the offer", (look) => look.buttons.length === 2);

describe("closing the dialog", () => {
  const cases = [
    { name: "Install & Relaunch on an offer", status: offer, act: (dialog) => dialog.press(1000), output: installRequest },
    { name: "Install & Relaunch pressed by its label", status: offer, act: (dialog) => dialog.press("Install & Relaunch"), output: installRequest },
    { name: "Later on an offer", status: offer, act: (dialog) => dialog.press("Later"), output: "" },
    { name: "Close on the first look", act: (dialog) => dialog.press("Close"), output: "" },
    { name: "Return on the first look presses Close", act: (dialog) => dialog.key("Return"), output: "" },
    { name: "Escape on an offer", status: offer, act: (dialog) => dialog.key("Escape"), output: "" },
    { name: "the close box (Alt+F4) on an offer", status: offer, act: (dialog) => dialog.key("alt+F4"), output: "" },
    {
      name: "Close after the offer was withdrawn",
      status: offer,
      act: async (dialog) => {
        dialog.writeStatus({ state: "installing" });
        await dialog.waitForLook("the offer withdrawn", (look) => look.buttons[0] === "Close");
        await dialog.press(1000);
      },
      output: "",
    },
  ];
  for (const { name, status, act, output } of cases) {
    test(name, async () => {
      const dialog = session.start({ status });
      if (status) await offerShown(dialog);
      else await dialog.waitForLook("the dialog");
      await act(dialog);
      const result = await dialog.waitForExit();
      assert.deepEqual(
        { status: result.status, stdout: result.stdout.toString("latin1"), stderr: result.stderr.toString() },
        { status: 0, stdout: output, stderr: "" },
      );
      if (output) assert.equal(result.stdout.length, 21, "exactly 21 bytes: no carriage return");
    });
  }

  test("Return on an offer presses nothing; the offer stays", async () => {
    const dialog = session.start({ status: offer });
    await offerShown(dialog);
    await dialog.key("Return");
    await dialog.key("KP_Enter");
    await sleep(1000);
    assert.ok(dialog.running, "Return must not end the dialog while an install is offered");
    assert.deepEqual((await dialog.waitForLook("the offer")).buttons, ["Install & Relaunch", "Later"]);
    await dialog.press(1000);
    assert.equal((await dialog.waitForExit()).stdout.toString("latin1"), installRequest);
  });

  // On Windows the keyboard focus always sits on a control, and Space presses
  // a focused button: an offer must not come up with the focus on
  // "Install & Relaunch", whether it appears in a running dialog (the first
  // button retitled from "Close") or is there from the first frame, or a stray
  // Space quits the app to install. It goes to "Later" instead. A user who
  // Tabs to "Install & Relaunch" keeps the focus there through the passes that
  // follow, four a second, and confirms with Space.
  const spaceCases = [
    {
      name: "Space right after an offer appears does not confirm the install",
      offerFromTheStart: false,
      keys: ["space"],
      output: "",
    },
    {
      name: "Space on an offer shown from the first frame does not confirm the install",
      offerFromTheStart: true,
      keys: ["space"],
      output: "",
    },
    {
      name: "Tab to Install & Relaunch, then Space a second later, confirms the install",
      offerFromTheStart: false,
      keys: ["Tab", "space"],
      output: installRequest,
    },
  ];
  for (const { name, offerFromTheStart, keys, output } of spaceCases) {
    test(name, async () => {
      const dialog = session.start({ status: offerFromTheStart ? offer : undefined });
      if (!offerFromTheStart) {
        await dialog.waitForLook("the first look", (look) => look.buttons[0] === "Close");
        dialog.writeStatus(offer);
      }
      await offerShown(dialog);
      for (const key of keys) {
        await dialog.key(key);
        if (key === "Tab") {
          await sleep(1000); // later passes of the same offer
          assert.equal((await dialog.window()).focusedControl, 1000, "the focus the user chose stays");
        }
      }
      const result = await dialog.waitForExit();
      assert.deepEqual(
        { status: result.status, stdout: result.stdout.toString("latin1") },
        { status: 0, stdout: output },
        output ? "Space on the focused Install & Relaunch confirms" : "Space must press Later, not confirm",
      );
    });
  }

  test("an offer followed by stale and broken files stays, and is confirmed", async () => {
    const dialog = session.start({ status: offer });
    await offerShown(dialog);
    dialog.writeStatus({ state: "checking", checkedAt: 1 }); // below the threshold
    await sleep(600);
    assert.deepEqual((await dialog.waitForLook("the offer")).buttons, ["Install & Relaunch", "Later"]);
    await dialog.press(1000);
    assert.equal((await dialog.waitForExit()).stdout.toString("latin1"), installRequest);
  });
});

describe("exit statuses", () => {
  test("fewer than four arguments: exit 2, no window, nothing written", async () => {
    for (const args of [[], ["/tmp/status.json", "1.2.3", "/tmp/icon.png"]]) {
      const dialog = session.start({ args });
      const result = await dialog.waitForExit();
      assert.deepEqual({ status: result.status, stdout: result.stdout.length }, { status: 2, stdout: 0 });
    }
  });

  test("an install request nobody can read: exit 1, nothing on standard error", async () => {
    const dialog = session.start({ status: offer });
    await offerShown(dialog);
    dialog.process.stdout.destroy(); // the host has gone
    await dialog.press(1000);
    const result = await dialog.waitForExit();
    assert.deepEqual({ status: result.status, signal: result.signal }, { status: 1, signal: null });
    assert.equal(result.stderr.toString(), "");
  });
});
