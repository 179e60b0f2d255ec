// Texts far longer than a dialog can show, on a 1024 x 768 screen: a whole log
// as the message, a runaway version in the offer or on the command line. The
// dialog stays within the screen, its buttons can be clicked and do what they
// always do, and a pathological text is shown cut short and never stalls it.
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import { describe, test } from "node:test";
import { setTimeout as sleep } from "node:timers/promises";

import { waitFor } from "./lib/dialog.mjs";
import { installRequest, useSession } from "./lib/session.mjs";

const screen = { width: 1024, height: 768 };
const kib = 1024;

// What a careless host writes: an error followed by its stack trace, repeated
// until the text has `length` characters.
function stackTrace(length) {
  const lines = ["Error: ENOSPC: no space left on device, write"];
  for (let frame = 0; lines.join("\n").length < length; frame++)
    lines.push(`    at stage${frame} (/opt/Tessary/resources/app.asar/updater/stage.js:${frame}:17)`);
  return lines.join("\n").slice(0, length);
}

// Words of a long log on a single line, `length` characters in all.
const longLine = (length) => "lorem ipsum dolor sit amet ".repeat(Math.ceil(length / 27)).slice(0, length);

// The window on the screen, with the title bar and borders that a window
// manager puts around it: all of it must fit.
async function frameOf(dialog) {
  const window = await dialog.window();
  const shell = dialog.xdotool("getwindowgeometry", "--shell", window);
  const value = (name) => Number(shell.match(new RegExp(`^${name}=(-?\\d+)$`, "m"))[1]);
  const extents = execFileSync("xprop", ["-id", String(window), "_NET_FRAME_EXTENTS"], {
    env: { ...process.env, DISPLAY: dialog.display },
    encoding: "utf8",
  }).match(/=\s*(\d+),\s*(\d+),\s*(\d+),\s*(\d+)/);
  const [left, right, top, bottom] = extents ? extents.slice(1).map(Number) : [0, 0, 0, 0];
  return {
    x: value("X") - left,
    y: value("Y") - top,
    width: value("WIDTH") + left + right,
    height: value("HEIGHT") + top + bottom,
  };
}

function assertOnScreen(frame) {
  const inside =
    frame.x >= 0 && frame.y >= 0 && frame.x + frame.width <= screen.width && frame.y + frame.height <= screen.height;
  assert.ok(inside, `the window (${JSON.stringify(frame)}) must lie within the ${screen.width} x ${screen.height} screen`);
}

async function buttonsShown(dialog, count) {
  return waitFor(`${count} buttons`, async () => {
    const found = await dialog.buttons();
    return found.length === count ? found : undefined;
  });
}

async function clickAndExpect(dialog, button, output) {
  await dialog.clickButton(button);
  const result = await dialog.waitForExit();
  assert.equal(result.status, 0);
  assert.equal(result.stdout.toString(), output);
  assert.equal(result.stderr.toString(), "");
}

describe("long texts from the first frame", () => {
  const session = useSession({ screen: `${screen.width}x${screen.height}x24` });

  const cases = [
    {
      name: "a 100 KB message in the error state: Close",
      status: { state: "error", message: stackTrace(100 * kib) },
      buttons: 1,
      click: 0,
      output: "",
    },
    {
      name: "a message of almost 1 MiB in the error state: Close",
      status: { state: "error", message: longLine(1024 * kib - 256) },
      buttons: 1,
      click: 0,
      output: "",
    },
    {
      name: "a 100 KB latest in an offer: Install & Relaunch",
      status: { state: "available", latest: "9".repeat(100 * kib) },
      buttons: 2,
      click: 0,
      output: installRequest,
    },
    {
      name: "a 100 KB latest in an offer: Later",
      status: { state: "available", latest: "9".repeat(100 * kib) },
      buttons: 2,
      click: 1,
      output: "",
    },
    {
      name: "a 131 KB installed version: Close",
      installed: "7".repeat(131000),
      buttons: 1,
      click: 0,
      output: "",
    },
  ];
  for (const { name, status, installed, buttons, click, output } of cases) {
    test(name, async () => {
      const dialog = session.start({ status, installed });
      assertOnScreen(await frameOf(dialog));
      await buttonsShown(dialog, buttons);
      await clickAndExpect(dialog, click, output);
    });
  }

  test("a 131 KB installed version, then an offer: Install & Relaunch", async () => {
    const dialog = session.start({ installed: "7".repeat(131000) });
    assertOnScreen(await frameOf(dialog));
    dialog.writeStatus({ state: "available", latest: "2.0.0" });
    await buttonsShown(dialog, 2);
    assertOnScreen(await frameOf(dialog));
    await clickAndExpect(dialog, 0, installRequest);
  });
});

// The dialog grows when a long text arrives while it is shown; it must then
// move up rather than hang over the bottom of the screen, frame and all, even
// when the user had put it down near the bottom.
for (const windowManager of [false, true]) {
  describe(`a long message arriving while the dialog is shown${windowManager ? ", under a window manager" : ""}`, () => {
    const session = useSession({ screen: `${screen.width}x${screen.height}x24`, windowManager });

    test("the dialog stays on the screen and Later still answers", async () => {
      const dialog = session.start({ status: { state: "available", latest: "2.0.0" } });
      await buttonsShown(dialog, 2);
      const window = await dialog.window();
      dialog.xdotool("windowmove", "--sync", window, 300, screen.height - 200);
      const before = await waitFor("the dialog moved down", async () => {
        const frame = await frameOf(dialog);
        return frame.y + frame.height > screen.height - 50 ? frame : undefined;
      });
      assertOnScreen(before);
      dialog.writeStatus({ state: "error", message: stackTrace(100 * kib) });
      await waitFor("the dialog grown", async () => (await frameOf(dialog)).height > before.height + 100);
      await sleep(1000);  // a window manager may still be moving it
      assertOnScreen(await frameOf(dialog));
      await buttonsShown(dialog, 2);
      await clickAndExpect(dialog, 1, "");
    });
  });
}

// One letter carrying 50,000 combining marks costs seconds to lay out in full.
// Cut short, it shows as the accented letter followed by the ellipsis.
describe("a letter carrying 50,000 combining marks", () => {
  const session = useSession({ screen: `${screen.width}x${screen.height}x24` });
  const accented = (letter, marks) => letter + "\u0301".repeat(marks);

  // The right end of the ink on the informative text's first line: the second
  // run of rows holding ink in the text column, under the bold headline.
  function informativeInkEnd(shot) {
    const left = 20 + 64 + 20;
    const right = shot.width - 20;
    const rowHasInk = (y) => {
      for (let x = left; x < right; x++) if (shot.isDark(x, y)) return true;
      return false;
    };
    let runs = 0;
    let y = 0;
    while (y < shot.height && runs < 2) {
      while (y < shot.height && !rowHasInk(y)) y++;
      runs++;
      if (runs === 2) break;
      while (y < shot.height && rowHasInk(y)) y++;
    }
    let end = 0;
    for (let row = y; row < shot.height && rowHasInk(row); row++)
      for (let x = left; x < right; x++) if (shot.isDark(x, row)) end = Math.max(end, x);
    return end;
  }

  test("appears cut short with an ellipsis, and Return closes it while it changes every tick", async () => {
    const reference = session.start({ status: { state: "error", message: accented("a", 1) } });
    await reference.window();
    const letterEnd = informativeInkEnd(await reference.screenshot());
    await reference.key("Return");
    assert.equal((await reference.waitForExit()).status, 0);

    const dialog = session.start({ status: { state: "error", message: accented("a", 50000) } });
    await dialog.window();
    const shownEnd = informativeInkEnd(await dialog.screenshot());
    assert.ok(shownEnd >= letterEnd + 6, `an ellipsis follows the letter (ink ends at ${shownEnd}, the letter at ${letterEnd})`);

    // The host rewrites the text at every tick, each time with another letter.
    let count = 0;
    const writer = setInterval(() => {
      dialog.writeStatus({ state: "error", message: accented("ae"[++count % 2], 50000) });
    }, 250);
    try {
      await sleep(1500);
      await dialog.key("Return");
      const result = await dialog.waitForExit();
      assert.equal(result.status, 0);
      assert.equal(result.stdout.toString(), "");
    } finally {
      clearInterval(writer);
    }
  });
});
