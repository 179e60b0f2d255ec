// Focus-signal storms against the real Tessary Update on a virtual display:
//   1. 10,000 SIGUSR1 within a few seconds while the dialog runs its modal loop;
//   2. a storm through start-up, from the moment the program has armed itself
//      against the signal (blocked or caught, as /proc shows) until two seconds
//      after its window is mapped.
// Each time the process must stay alive, its window must look exactly as a
// dialog that had no signal at all (pixel for pixel), and the offer on screen
// must still lead to the install request when its first button is clicked.
//
// Usage: node signal_storm.mjs <Tessary Update>
import assert from "node:assert/strict";
import { readFileSync } from "node:fs";
import { join } from "node:path";
import { setTimeout as sleep } from "node:timers/promises";

import { RunningDialog, waitFor } from "../update-dialog/e2e/lib/dialog.mjs";
import { secondsNow, temporaryFolder, writeStatus } from "../update-dialog/e2e/lib/status_file.mjs";
import { startXvfb } from "../update-dialog/e2e/lib/xserver.mjs";

process.env.TESSARY_UPDATE = process.argv[2];
const installRequest = '{"action":"install"}\n';
const sigusr1 = 1n << 9n; // bit of signal 10 in the masks of /proc/<pid>/status

// Whether the process blocks, ignores or catches SIGUSR1, so that it no longer dies of it.
function armed(pid) {
  let status;
  try {
    status = readFileSync(`/proc/${pid}/status`, "latin1");
  } catch {
    return false;
  }
  return ["SigBlk", "SigIgn", "SigCgt"].some((field) => {
    const mask = status.match(new RegExp(`^${field}:\\s*([0-9a-f]+)`, "m"));
    return mask && (BigInt(`0x${mask[1]}`) & sigusr1) !== 0n;
  });
}

const samePixels = (a, b) => a.width === b.width && a.height === b.height && a.pixels.equals(b.pixels);

// The pointer is parked in a corner of the screen, away from any button it could highlight.
async function settledLook(dialog) {
  await waitFor("the offer", async () => (await dialog.buttons()).length === 2);
  dialog.xdotool("mousemove", 1279, 799);
  await sleep(500);
  return dialog.screenshot();
}

async function takeOffer(dialog, what) {
  assert.ok(dialog.running, `${what}: Tessary Update died: ${JSON.stringify(dialog.exitStatus)}`);
  await dialog.clickButton(0);
  const result = await dialog.waitForExit();
  assert.equal(result.status, 0, `${what}: exit status`);
  assert.equal(result.stdout.toString(), installRequest, `${what}: install request`);
}

const server = await startXvfb();
const folder = temporaryFolder();
try {
  const status = join(folder.path, "status.json");
  // An offer: no bar, so nothing on screen moves by itself.
  writeStatus(status, { checkedAt: secondsNow(), state: "available", latest: "2.0.0" });
  const args = [status, "1.2.3", "/nonexistent/icon.png", String(secondsNow() - 60)];

  // 1. In the modal loop.
  const calm = new RunningDialog(server.display, args);
  await calm.window();
  const reference = await settledLook(calm);
  const started = Date.now();
  for (let sent = 0; sent < 10000; sent++) {
    calm.process.kill("SIGUSR1");
    if (sent % 500 === 499) await sleep(100);
  }
  const stormSeconds = (Date.now() - started) / 1000;
  await sleep(1000);
  assert.ok(calm.running, "Tessary Update died in the storm");
  assert.ok(samePixels(reference, await settledLook(calm)), "the dialog changed during the storm");
  await takeOffer(calm, "modal-loop storm");
  console.log(`signal storm: 10,000 SIGUSR1 in ${stormSeconds.toFixed(1)} s during the modal loop: alive, unchanged, offer taken`);

  // 2. Through start-up.
  const early = new RunningDialog(server.display, args);
  await waitFor("SIGUSR1 to be blocked or caught", () => armed(early.process.pid) || !early.running, {
    intervalMs: 1,
  });
  let stormed = 0;
  let mapped = false;
  const storm = (async () => {
    let until = Infinity;
    while (Date.now() < until && early.running) {
      for (let i = 0; i < 50; i++) early.process.kill("SIGUSR1");
      stormed += 50;
      if (mapped && until === Infinity) until = Date.now() + 2000;
      await sleep(1);
    }
  })();
  await early.window();
  mapped = true;
  await storm;
  assert.ok(early.running, `Tessary Update died in the start-up storm: ${JSON.stringify(early.exitStatus)}`);
  assert.ok(samePixels(reference, await settledLook(early)), "the dialog after the start-up storm differs");
  await takeOffer(early, "start-up storm");
  console.log(`signal storm: ${stormed} SIGUSR1 from start-up until 2 s after the window came up: alive, unchanged, offer taken`);
} finally {
  await server.stop();
  folder.remove();
}
