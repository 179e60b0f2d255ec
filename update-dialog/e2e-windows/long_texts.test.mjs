// Texts far longer than a dialog can show, on a 1024 x 768 screen, at 96 and
// 144 DPI: the window stays within the work area, every control within the
// window, a detail too long to show scrolls, the layout scales with the DPI,
// and the buttons answer as always.
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import { after, describe, test } from "node:test";
import { setTimeout as sleep } from "node:timers/promises";

import { waitFor } from "../e2e/lib/dialog.mjs";
import { controlIds } from "./lib/dialog.mjs";
import { setDpi } from "./lib/dpi.mjs";
import { installRequest, useWineSession } from "./lib/session.mjs";

const screen = { width: 1024, height: 768 };
const session = useWineSession();
after(() => setDpi(96, session.display));

const kib = 1024;
function stackTrace(length) {
  const lines = ["Error: ENOSPC: no space left on device, write"];
  for (let frame = 0; lines.join("\n").length < length; frame++)
    lines.push(`    at stage${frame} (C:\\Program Files\\Tessary\\resources\\app.asar\\updater\\stage.js:${frame}:17)`);
  return lines.join("\n").slice(0, length);
}
const longLine = (length) => "lorem ipsum dolor sit amet ".repeat(Math.ceil(length / 27)).slice(0, length);

const inside = (inner, outer) =>
  inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right && inner.bottom <= outer.bottom;

// The window manager's frame around the dialog's X window: all of it must fit.
function xFrameOf(dialog, xWindow) {
  const shell = dialog.xdotool("getwindowgeometry", "--shell", xWindow);
  const value = (name) => Number(shell.match(new RegExp(`^${name}=(-?\\d+)$`, "m"))[1]);
  const extents = execFileSync("xprop", ["-id", String(xWindow), "_NET_FRAME_EXTENTS"], {
    env: { ...process.env, DISPLAY: dialog.display },
    encoding: "utf8",
  }).match(/=\s*(\d+),\s*(\d+),\s*(\d+),\s*(\d+)/);
  const [left, right, top, bottom] = extents ? extents.slice(1).map(Number) : [0, 0, 0, 0];
  const x = value("X") - left;
  const y = value("Y") - top;
  return { left: x, top: y, right: x + value("WIDTH") + left + right, bottom: y + value("HEIGHT") + top + bottom };
}

async function assertLaidOutOnScreen(dialog) {
  const window = await dialog.window();
  assert.ok(inside(window.rect, window.monitor.workArea), `the window ${JSON.stringify(window.rect)} lies outside the work area`);
  // What is on the X screen. When the dialog moves itself (SetWindowPos),
  // Wine under openbox has the frame put where the Win32 client area begins,
  // one caption lower than Windows would: that much is Wine's, not the dialog's.
  const frame = xFrameOf(dialog, await dialog.xWindow());
  const wineShift = window.clientRect.top - window.rect.top;
  assert.ok(
    inside(frame, { left: 0, top: 0, right: screen.width, bottom: screen.height + wineShift }),
    `the frame ${JSON.stringify(frame)} leaves the screen (Win32: ${JSON.stringify({ rect: window.rect, client: window.clientRect })})`,
  );
  const client = { left: 0, top: 0, right: window.clientRect.width, bottom: window.clientRect.height };
  for (const control of window.children.filter((child) => child.visible)) {
    assert.ok(inside(control.rect, client), `control ${control.id} (${JSON.stringify(control.rect)}) is cut off by the window`);
  }
  return window;
}

// A detail that does not fit scrolls: the mouse wheel over it moves its first visible line.
async function assertDetailScrollsWhenLong(dialog, window) {
  const detail = window.children.find((child) => child.id === controlIds.detail);
  if (!detail.class.toLowerCase().startsWith("edit") || !detail.verticalScrollBar) return false;
  const x = window.clientRect.left + detail.rect.left + (detail.rect.width >> 1);
  const y = window.clientRect.top + detail.rect.top + (detail.rect.height >> 1);
  dialog.xdotool("mousemove", x, y);
  for (let i = 0; i < 3; i++) dialog.xdotool("click", 5);
  await waitFor("the detail scrolled", async () => {
    const now = (await dialog.window()).children.find((child) => child.id === controlIds.detail);
    return now.firstVisibleLine > 0;
  });
  return true;
}

// The first button's height at 96 DPI, the yardstick of the layout at 144.
// (GetDpiForWindow, asked from another process, answers what Wine knew when
// that process started, so the sizes tell the scale instead.)
let buttonHeightAt96;
function assertScaled(window, dpi) {
  const height = window.children.find((child) => child.id === 1000).rect.height;
  if (dpi === 96) {
    buttonHeightAt96 ??= height;
    return;
  }
  if (buttonHeightAt96 === undefined) return;
  const scale = height / buttonHeightAt96;
  assert.ok(Math.abs(scale - dpi / 96) < 0.2, `the button is ${height} pixels high at ${dpi} DPI, ${buttonHeightAt96} at 96`);
}

for (const dpi of [96, 144]) {
  describe(`long texts at ${dpi} DPI`, () => {
    const cases = [
      { name: "a 100 KB stack trace in the error state", status: { state: "error", message: stackTrace(100 * kib) }, press: 1000, output: "" },
      { name: "a message of almost 1 MiB on one line", status: { state: "verifying", message: longLine(1024 * kib - 256) }, press: 1000, output: "" },
      { name: "a 100 KB latest in an offer: Install & Relaunch", status: { state: "available", latest: "9".repeat(100 * kib) }, press: 1000, output: installRequest },
      { name: "a 100 KB latest in an offer: Later", status: { state: "available", latest: "9".repeat(100 * kib) }, press: "Later", output: "" },
      // Windows limits a whole command line to 32,767 characters.
      { name: "a 30,000-character installed version", installed: "7".repeat(30000), press: 1000, output: "" },
    ];
    for (const { name, status, installed, press, output } of cases) {
      test(name, async () => {
        setDpi(dpi, session.display);
        const dialog = session.start({ status, installed });
        await dialog.waitForLook("the long text", (look) => !status || look.headline !== "Checking for updates…" || status.state === "verifying");
        await sleep(300);
        const window = await assertLaidOutOnScreen(dialog);
        assertScaled(window, dpi);
        const detail = window.children.find((child) => child.id === controlIds.detail);
        assert.ok([...detail.text].length <= 1200 + 16 * 2, "the detail is cut to its bounds");
        await assertDetailScrollsWhenLong(dialog, window);
        await dialog.press(press);
        const result = await dialog.waitForExit();
        assert.deepEqual({ status: result.status, stdout: result.stdout.toString() }, { status: 0, stdout: output });
      });
    }

    test("a long message arriving while an offer is shown: still on screen, Later still answers", async () => {
      setDpi(dpi, session.display);
      const dialog = session.start({ status: { state: "available", latest: "2.0.0" } });
      await dialog.waitForLook("the offer", (look) => look.buttons.length === 2);
      const before = await dialog.window();
      dialog.writeStatus({ state: "error", message: stackTrace(100 * kib) });
      await dialog.waitForLook("the long message", (look) => look.headline === "Tessary couldn’t update");
      await sleep(500); // the window manager may still be moving it
      const window = await assertLaidOutOnScreen(dialog);
      assert.ok(window.rect.height >= before.rect.height, "the dialog grew for the longer text");
      await dialog.press("Later");
      assert.equal((await dialog.waitForExit()).status, 0);
    });
  });
}
