// The icon file: decoded from its bytes (a PNG is shown), and a path that
// names a FIFO, a corrupt image or nothing leaves the default icon without
// holding the window back or printing anything.
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import { readFileSync, writeFileSync } from "node:fs";
import { join } from "node:path";
import { describe, test } from "node:test";

import { controlIds } from "./lib/dialog.mjs";
import { useWineSession } from "./lib/session.mjs";

const session = useWineSession();

// A red square as a PNG of the given kind: png32 (RGBA), png24 (RGB), png8 (a palette).
const redPng = (name, kind = "png32") => {
  const path = join(session.folder.path, name);
  execFileSync("convert", ["-size", "64x64", "xc:#e00000", `${kind}:${path}`]);
  return path;
};

describe("the icon", () => {
  for (const [kind, what] of [
    ["png32", "with an alpha channel"],
    ["png24", "of RGB colours"],
    ["png8", "with a palette"],
  ]) test(`a PNG ${what} is shown in its own colours`, async () => {
    const dialog = session.start({ icon: redPng(`red-${kind}-Ünï-😀.png`, kind) });
    await dialog.waitForLook("the dialog");
    const icon = (await dialog.window()).children.find((child) => child.id === controlIds.icon);
    assert.ok(icon.visible && icon.hasIcon, "the icon control holds an icon");
    const shot = await dialog.screenshot();
    const [r, g, b] = shot.rgb(icon.rect.left + (icon.rect.width >> 1), icon.rect.top + (icon.rect.height >> 1));
    assert.ok(r > 180 && g < 80 && b < 80, `the icon's middle is rgb(${r}, ${g}, ${b}), not the red of the file`);
    await dialog.key("Return");
    assert.equal((await dialog.waitForExit()).status, 0);
  });

  const odd = [
    { name: "a FIFO", make: (path) => execFileSync("mkfifo", [path]) },
    {
      name: "a corrupt PNG",
      make: (path) => {
        const whole = readFileSync(redPng("whole.png"));
        writeFileSync(path, whole.subarray(0, 60));
      },
    },
    { name: "a text file", make: (path) => writeFileSync(path, "not an image\n") },
    { name: "nothing", make: () => {} },
  ];
  for (const { name, make } of odd) {
    test(`${name} leaves the default icon, at once and in silence`, async () => {
      const icon = join(session.folder.path, `odd-${name.replaceAll(" ", "-")}.png`);
      make(icon);
      const dialog = session.start({ icon });
      await dialog.waitForLook("the dialog");
      await dialog.key("Return");
      const result = await dialog.waitForExit();
      assert.deepEqual({ status: result.status, stderr: result.stderr.toString() }, { status: 0, stderr: "" });
    });
  }
});
