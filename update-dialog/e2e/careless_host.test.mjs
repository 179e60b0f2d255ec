// Hosts that are careless in ordinary ways: standard descriptors closed, no
// reader for the install request, an icon
// path that names a FIFO, a corrupt image or bytes that are not UTF-8, a status
// file rewritten in place half a version at a time. The dialog still comes up,
// answers and exits, never hangs, and never offers what the host did not write.
import assert from "node:assert/strict";
import { execFileSync, spawn } from "node:child_process";
import { writeFileSync } from "node:fs";
import { join } from "node:path";
import { fileURLToPath } from "node:url";
import { describe, test } from "node:test";
import { setTimeout as sleep } from "node:timers/promises";

import { waitFor } from "./lib/dialog.mjs";
import { versions } from "./lib/half_offer_writer.mjs";
import { offer, useSession } from "./lib/session.mjs";

const session = useSession();

// A PNG whose header says 64 x 64 and whose image data is cut short.
function corruptPng(path) {
  execFileSync("convert", ["-size", "64x64", "xc:red", `png:${path}`]);
  const whole = execFileSync("cat", [path]);
  writeFileSync(path, whole.subarray(0, 60));
  return path;
}

describe("standard descriptors closed at start", () => {
  for (const descriptor of [1, 2]) {
    test(`with descriptor ${descriptor} closed, Install & Relaunch ends the dialog at once`, async () => {
      const dialog = session.start({ status: offer, shell: `exec "$0" "$@" ${descriptor}>&-` });
      await waitFor("the offer", async () => (await dialog.buttons()).length === 2);
      await dialog.clickButton(0);
      const result = await dialog.waitForExit(5000);
      assert.equal(result.status, 0);
    });
  }

  test("with descriptor 2 closed, a corrupt icon still lets the window come up", async () => {
    const icon = corruptPng(join(session.folder.path, "corrupt-closed.png"));
    const dialog = session.start({ status: offer, icon, shell: 'exec "$0" "$@" 2>&-' });
    await waitFor("the offer", async () => (await dialog.buttons()).length === 2);
    await dialog.clickButton(1);
    assert.equal((await dialog.waitForExit()).status, 0);
  });
});

// A confirmed install whose request cannot be written ends with status 1, so
// that it never looks like a dialog closed without one.
describe("an install request nobody can receive", () => {
  const cases = [
    { name: "standard output a pipe whose reader has gone", options: { stdoutReaderGone: true } },
    { name: "standard output on a full disk", options: { shell: 'exec "$0" "$@" >/dev/full' } },
  ];
  for (const { name, options } of cases) {
    test(`${name}: exit status 1, not a signal, nothing on standard error`, async () => {
      const dialog = session.start({ status: offer, ...options });
      await waitFor("the offer", async () => (await dialog.buttons()).length === 2);
      await dialog.clickButton(0);
      const result = await dialog.waitForExit();
      assert.deepEqual({ status: result.status, signal: result.signal }, { status: 1, signal: null });
      assert.equal(result.stderr.toString(), "");
    });
  }
});

describe("odd icons", () => {
  test("a corrupt icon prints nothing on standard error", async () => {
    const icon = corruptPng(join(session.folder.path, "corrupt.png"));
    const dialog = session.start({ icon });
    await dialog.window();
    await dialog.key("Return");
    const result = await dialog.waitForExit();
    assert.equal(result.status, 0);
    assert.equal(result.stderr.toString(), "");
  });

  test("an icon path naming a FIFO leaves the default icon and never holds the window back", async () => {
    const fifo = join(session.folder.path, "icon.fifo");
    execFileSync("mkfifo", [fifo]);
    const dialog = session.start({ icon: fifo });
    await dialog.window();
    await dialog.key("Return");
    assert.equal((await dialog.waitForExit()).status, 0);
  });

  test("an icon at a path that is not UTF-8 is shown", async () => {
    // The shell makes the byte 0xFF that a JavaScript string cannot carry.
    const folder = session.folder.path;
    execFileSync("sh", ["-c", `convert -size 64x64 xc:red "png:$(printf '%b' "$1")"`, "sh", `${folder}/r\\0377d.png`]);
    const dialog = session.start({
      shell: 'exec "$0" "$1" "$2" "$(printf \'%b\' "$3")" "$4"',
      icon: `${folder}/r\\0377d.png`,
    });
    await dialog.window();
    const [r, g, b] = (await dialog.screenshot()).rgb(52, 52); // the middle of the 64-pixel icon
    assert.ok(r > 200 && g < 80 && b < 80, `the icon's middle is rgb(${r}, ${g}, ${b}), not the red of the file`);
    await dialog.key("Return");
    assert.equal((await dialog.waitForExit()).status, 0);
  });
});

describe("a status file rewritten in place, half a version at a time", () => {
  test("the offer that only the half-written file reads as is never shown nor confirmed", async (t) => {
    const dialog = session.start({ minimumTime: 0 });
    writeFileSync(dialog.statusPath, versions[0]);
    await dialog.window();
    const script = fileURLToPath(new URL("./lib/half_offer_writer.mjs", import.meta.url));
    const writer = spawn(process.execPath, [script, dialog.statusPath, "10"], { stdio: ["ignore", "pipe", "inherit"] });
    let report = "";
    writer.stdout.on("data", (chunk) => (report += chunk));
    const written = new Promise((resolve) => writer.on("close", resolve));
    let offers = 0;
    try {
      while (writer.exitCode === null) {
        if ((await dialog.buttons()).length > 1) offers++;
        await sleep(100);
      }
    } finally {
      writer.kill();
      await written;
    }
    await dialog.clickButton(0); // "Close", unless an offer slipped through: then "Install & Relaunch"
    const result = await dialog.waitForExit();
    const { slowestMs } = JSON.parse(report);
    if (slowestMs > 50 && (offers || result.stdout.length)) {
      // The rule covers hosts that finish a version within 50 ms; this one did not.
      t.skip(`the machine held the writer up for ${slowestMs} ms in one version`);
      return;
    }
    assert.equal(offers, 0, "an offer appeared: the dialog showed a half-written file");
    assert.equal(result.stdout.toString(), "", "an install request for an offer the host never wrote");
  });
});
