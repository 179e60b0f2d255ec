// The focus signal (SIGUSR1) brings the dialog to the front, however often it
// comes, and never ends it.
import assert from "node:assert/strict";
import { execFileSync, spawn } from "node:child_process";
import { readFileSync } from "node:fs";
import { describe, test } from "node:test";
import { setTimeout as sleep } from "node:timers/promises";

import { waitFor } from "./lib/dialog.mjs";
import { offer, useSession } from "./lib/session.mjs";

const x11 = (display, command, ...args) =>
  execFileSync(command, args.map(String), { env: { ...process.env, DISPLAY: display }, encoding: "utf8" });

// Top-level windows in stacking order, the frontmost first, with their names.
const stackingOrder = (display) =>
  x11(display, "xwininfo", "-root", "-children")
    .split("\n")
    .map((line) => line.match(/^\s+(0x[0-9a-f]+) "([^"]*)"/))
    .filter(Boolean)
    .map(([, id, name]) => ({ id: Number.parseInt(id, 16), name }));

const frontmost = (display, ids) => {
  const order = stackingOrder(display).filter(({ id }) => ids.includes(id));
  return order[0]?.id;
};

const focusedWindow = (display) => Number(x11(display, "xdotool", "getwindowfocus").trim());

const sigusr1Blocked = (pid) => {
  const mask = readFileSync(`/proc/${pid}/status`, "utf8").match(/^SigBlk:\s*([0-9a-f]+)/m)?.[1];
  return mask !== undefined && (BigInt(`0x${mask}`) & (1n << 9n)) !== 0n;
};

describe("without a window manager", () => {
  const session = useSession();

  test("500 signals in a burst bring the dialog in front of another window and leave it open", async () => {
    const dialog = session.start({ status: offer });
    const dialogWindow = Number(await dialog.window());
    await waitFor("the offer", async () => (await dialog.buttons()).length === 2);

    const cover = spawn("xmessage", ["-geometry", "1000x700+100+50", "a window in front"], {
      env: { ...process.env, DISPLAY: session.server.display },
      stdio: "ignore",
    });
    try {
      const coverWindow = await waitFor("the covering window", () =>
        stackingOrder(session.server.display).find(({ name }) => name === "xmessage")?.id,
      );
      x11(session.server.display, "xdotool", "windowfocus", "--sync", coverWindow);
      assert.equal(frontmost(session.server.display, [dialogWindow, coverWindow]), coverWindow);

      for (let i = 0; i < 500; i++) dialog.process.kill("SIGUSR1");

      await waitFor("the dialog in front and focused", () => {
        return (
          frontmost(session.server.display, [dialogWindow, coverWindow]) === dialogWindow &&
          focusedWindow(session.server.display) === dialogWindow
        );
      });
      await sleep(500);
      assert.ok(dialog.running, "the signals must not end the dialog");
      assert.equal((await dialog.buttons()).length, 2, "the dialog keeps its contents, visible in front");
      await dialog.clickButton(1);
      const result = await dialog.waitForExit();
      assert.equal(result.status, 0);
      assert.equal(result.stdout.toString(), "");
    } finally {
      cover.kill();
    }
  });

  test("signals during start-up neither end the dialog nor are lost", async () => {
    const dialog = session.start();
    await waitFor("the focus signal blocked", () => !dialog.running || sigusr1Blocked(dialog.process.pid), {
      intervalMs: 1,
    });
    for (let i = 0; i < 20; i++) dialog.process.kill("SIGUSR1");
    await dialog.window();
    await sleep(500);
    assert.ok(dialog.running);
    await dialog.key("Return");
    assert.equal((await dialog.waitForExit()).status, 0);
  });
});

describe("with a window manager", () => {
  const session = useSession({ windowManager: true });

  const mapState = (window) =>
    x11(session.server.display, "xwininfo", "-id", window).match(/Map State:\s*(\w+)/)?.[1];

  test("a minimized dialog comes back on a signal", async () => {
    const dialog = session.start({ status: offer });
    const window = await dialog.window();
    x11(session.server.display, "xdotool", "windowminimize", "--sync", window);
    await waitFor("the dialog minimized", () => mapState(window) !== "IsViewable");
    dialog.process.kill("SIGUSR1");
    await waitFor("the dialog restored", () => mapState(window) === "IsViewable");
    await waitFor("the offer visible", async () => (await dialog.buttons()).length === 2);
    await dialog.clickButton(1);
    assert.equal((await dialog.waitForExit()).stdout.toString(), "");
  });

  test("the dialog stays out of the taskbar, and closing it there is no confirmation", async () => {
    const dialog = session.start({ status: offer });
    const window = await dialog.window();
    await waitFor("the offer", async () => (await dialog.buttons()).length === 2);
    const states = x11(session.server.display, "xprop", "-id", window, "_NET_WM_STATE");
    assert.match(states, /_NET_WM_STATE_SKIP_TASKBAR/);

    x11(session.server.display, "xdotool", "windowactivate", "--sync", window);
    await waitFor("the dialog active", () => x11(session.server.display, "xdotool", "getactivewindow").trim() === window);
    // openbox closes the active window on Alt+F4. The key now and then reaches
    // it while it is still busy with the activation; a person presses again.
    await waitFor("the dialog closed", () => {
      if (dialog.running) x11(session.server.display, "xdotool", "key", "alt+F4");
      return !dialog.running;
    }, { intervalMs: 2000 });
    const result = await dialog.waitForExit();
    assert.equal(result.status, 0);
    assert.equal(result.stdout.toString(), "");
  });
});
