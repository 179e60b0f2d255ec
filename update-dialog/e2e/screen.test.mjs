// What the dialog shows, checked in screenshots: the bar's fill follows the
// reported percentage and the bar leaves with the busy states; the icon is
// the image given on the command line, or the default one.
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import { writeFileSync } from "node:fs";
import { join } from "node:path";
import { describe, test } from "node:test";

import { waitFor } from "./lib/dialog.mjs";
import { filledBarWidth } from "./lib/screen.mjs";
import { useSession } from "./lib/session.mjs";

const session = useSession();
const barWidth = 280;
const tolerance = 6;

describe("the progress bar", () => {
  test("fills with the percentage and goes away when no longer busy", async () => {
    const dialog = session.start({ status: { state: "downloading", progress: 0 } });
    await dialog.window();
    const fills = [
      [0, 0],
      [25, 70],
      [62.5, 175],
      [100, barWidth],
      [250, barWidth],
      [-10, 0],
    ];
    for (const [progress, expected] of fills) {
      dialog.writeStatus({ state: "downloading", progress, downloaded: 1, total: 2 });
      await waitFor(`a fill of ${expected} pixels for ${progress} %`, async () => {
        const width = filledBarWidth(await dialog.screenshot());
        return Math.abs(width - expected) <= tolerance;
      });
    }
    dialog.writeStatus({ state: "up-to-date", progress: 100 });
    await waitFor("the bar gone", async () => filledBarWidth(await dialog.screenshot()) < 3);

    dialog.writeStatus({ state: "verifying", progress: 100 });
    await waitFor("the bar back, full", async () => {
      return Math.abs(filledBarWidth(await dialog.screenshot()) - barWidth) <= tolerance;
    });
    await dialog.key("Return");
    assert.equal((await dialog.waitForExit()).status, 0);
  });
});

describe("the icon", () => {
  const iconRegion = { x: 20, y: 20, size: 64 };
  const redPixelsInIcon = (shot) => {
    let count = 0;
    for (let y = iconRegion.y; y < iconRegion.y + iconRegion.size; y++)
      for (let x = iconRegion.x; x < iconRegion.x + iconRegion.size; x++) {
        const [r, g, b] = shot.rgb(x, y);
        if (r > 200 && g < 60 && b < 60) count++;
      }
    return count;
  };

  const darkPixelsInIcon = (shot) => {
    let count = 0;
    for (let y = iconRegion.y; y < iconRegion.y + iconRegion.size; y++)
      for (let x = iconRegion.x; x < iconRegion.x + iconRegion.size; x++) if (shot.isDark(x, y)) count++;
    return count;
  };

  test("an image file is shown at the left; a text file leaves the default icon", async () => {
    const red = join(session.folder.path, "red.png");
    execFileSync("convert", ["-size", "128x128", "xc:#ff0000", red]);
    const text = join(session.folder.path, "notes.txt");
    writeFileSync(text, "not an image\n");

    const withImage = session.start({ icon: red });
    await withImage.window();
    const shot = await waitFor("the icon drawn", async () => {
      const s = await withImage.screenshot();
      return redPixelsInIcon(s) > 0 ? s : undefined;
    });
    assert.ok(redPixelsInIcon(shot) >= 64 * 64 * 0.95, "the image fills the 64-pixel icon");

    await withImage.key("Return");
    assert.equal((await withImage.waitForExit()).status, 0);

    const withText = session.start({ icon: text });
    await withText.window();
    const fallback = await waitFor("the default icon drawn", async () => {
      const s = await withText.screenshot();
      return darkPixelsInIcon(s) > 0 ? s : undefined;
    });
    assert.equal(redPixelsInIcon(fallback), 0);
    await withText.key("Return");
    assert.equal((await withText.waitForExit()).status, 0);
  });
});

describe("the texts", () => {
  // A text cut off at the edge of the text column (20 pixels inside the
  // window's right edge) leaves ink in the column's very last pixel, which a
  // whole glyph, ending with its side bearing, does not.
  const textCutAtRightEdge = (shot) => {
    const buttonsTop = shot.height - 20 - 40;
    const lastColumn = shot.width - 21;
    for (let y = 0; y < buttonsTop; y++) if (shot.isDark(lastColumn, y)) return true;
    return false;
  };

  const longTexts = [
    ["a long version in the offer", { state: "available", latest: "1.5.0-beta.20261209+build.abcdef0123456789abcdef0123456789" }],
    [
      "a checksum in an error",
      { state: "error", message: "Checksum 9f86d081884c7d659a2feaa0c55ad015a3bf4f1b2b0b822cd15d6c15b0f00a08 did not match." },
    ],
  ];
  for (const [name, status] of longTexts) {
    test(`${name} wraps instead of being cut off`, async () => {
      const dialog = session.start({ status });
      await dialog.window();  // a file present at the start shows from the first frame
      assert.equal(textCutAtRightEdge(await dialog.screenshot()), false);
      await dialog.key("Escape");
      assert.equal((await dialog.waitForExit()).status, 0);
    });
  }
});
