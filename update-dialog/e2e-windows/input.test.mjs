// The dialog's standard input on Windows, its one channel from the host:
// each line "focus" brings it to the front, other lines are ignored whatever
// their length, and the end of input closes it as "Close" does. Standard
// input that is no pipe (the null device, a file) is never read.
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import { writeFileSync } from "node:fs";
import { join } from "node:path";
import { describe, test } from "node:test";
import { setTimeout as sleep } from "node:timers/promises";

import { waitFor } from "../e2e/lib/dialog.mjs";
import { offer, useWineSession } from "./lib/session.mjs";

const session = useWineSession();

// Client windows in the window manager's stacking order, the frontmost first.
const stackingOrder = () =>
  execFileSync("xprop", ["-root", "_NET_CLIENT_LIST_STACKING"], {
    env: { ...process.env, DISPLAY: session.display },
    encoding: "utf8",
  })
    .replace(/^[^#]*#/, "")
    .split(",")
    .map((id) => Number.parseInt(id.trim(), 16))
    .reverse();

const xWindowOfPid = (pid) =>
  Number(
    execFileSync("xdotool", ["search", "--onlyvisible", "--pid", String(pid)], {
      env: { ...process.env, DISPLAY: session.display },
      encoding: "utf8",
    }).split("\n")[0],
  );

const stillOpenAfter = async (dialog, ms) => {
  await sleep(ms);
  assert.ok(dialog.running, `the dialog ended: ${JSON.stringify(dialog.exitStatus)}`);
};

describe("focus lines", () => {
  test("a minimized dialog is restored", async () => {
    const dialog = session.start({ status: offer });
    await dialog.waitForLook("the offer", (look) => look.buttons.length === 2);
    await dialog.minimize();
    await waitFor("the dialog minimized", async () => (await dialog.window())?.minimized);
    dialog.focus();
    await waitFor("the dialog restored", async () => {
      const window = await dialog.window();
      return window && !window.minimized && window.visible;
    });
  });

  test("the dialog comes in front of another program's window and becomes the foreground window", async () => {
    const dialog = session.start({ status: offer });
    await dialog.waitForLook("the offer", (look) => look.buttons.length === 2);
    const dialogWindow = Number(await dialog.xWindow());
    const cover = await session.inspector.cover({ width: 1000, height: 700 });
    try {
      const coverWindow = await waitFor("the cover's X window", () => xWindowOfPid(cover.pid));
      await waitFor("the cover in front", async () => {
        const order = stackingOrder();
        return order.indexOf(coverWindow) < order.indexOf(dialogWindow) && !(await dialog.window()).foreground;
      });
      dialog.focus();
      await waitFor("the dialog in front, the foreground window", async () => {
        const order = stackingOrder();
        const window = await dialog.window();
        return order.indexOf(dialogWindow) < order.indexOf(coverWindow) && window.foreground && window.active;
      });
    } finally {
      await cover.stop();
    }
  });

  test("100 focus lines in a burst, CRLF-ended too, leave it open and unchanged", async () => {
    const dialog = session.start({ status: offer });
    const before = await dialog.waitForLook("the offer", (look) => look.buttons.length === 2);
    dialog.process.stdin.write("focus\n".repeat(50) + "focus\r\n".repeat(50));
    await stillOpenAfter(dialog, 1000);
    assert.deepEqual(await dialog.waitForLook("the offer"), before);
  });

  test("other lines are ignored whatever their length; the next focus line still counts", async () => {
    const dialog = session.start({ status: offer });
    const before = await dialog.waitForLook("the offer", (look) => look.buttons.length === 2);
    await dialog.minimize();
    await waitFor("the dialog minimized", async () => (await dialog.window())?.minimized);
    for (const line of ["", "FOCUS", " focus", "focus ", "focusfocus", "close", "x".repeat(1024 * 1024), "\0focus"]) {
      dialog.writeLine(line);
    }
    await stillOpenAfter(dialog, 1500);
    assert.equal((await dialog.window()).minimized, true, "no other line runs the focus action");
    assert.deepEqual(await dialog.waitForLook("the offer"), before);
    dialog.process.stdin.write("focus\r\n");
    await waitFor("the dialog restored", async () => !(await dialog.window()).minimized);
  });
});

describe("the end of input: the host has gone", () => {
  for (const [name, status] of [
    ["on the first look", undefined],
    ["on an offer: no install request", offer],
  ]) {
    test(`${name}, the dialog ends with exit 0 and writes nothing`, async () => {
      const dialog = session.start({ status });
      await dialog.waitForLook("the dialog", (look) => !status || look.buttons.length === 2);
      dialog.endInput();
      const result = await dialog.waitForExit(5000);
      assert.deepEqual({ status: result.status, stdout: result.stdout.toString() }, { status: 0, stdout: "" });
    });
  }

  test("a focus line and the end at once, before the window is up", async () => {
    const dialog = session.start();
    dialog.process.stdin.end("focus\n");
    const result = await dialog.waitForExit(10000);
    assert.deepEqual({ status: result.status, stdout: result.stdout.toString() }, { status: 0, stdout: "" });
  });
});

describe("standard input that is no pipe is never read", () => {
  const inputs = [
    { name: "the null device", stdin: () => "null" },
    {
      name: "a file with a focus line",
      stdin: () => {
        const file = join(session.folder.path, "input.txt");
        writeFileSync(file, "focus\n");
        return { file };
      },
    },
  ];
  for (const { name, stdin } of inputs) {
    test(`${name}: the dialog stays until a button is pressed`, async () => {
      const dialog = session.start({ status: offer, stdin: stdin() });
      await dialog.waitForLook("the offer", (look) => look.buttons.length === 2);
      await stillOpenAfter(dialog, 2000);
      await dialog.press("Later");
      const result = await dialog.waitForExit();
      assert.deepEqual({ status: result.status, stdout: result.stdout.toString() }, { status: 0, stdout: "" });
    });
  }
});
