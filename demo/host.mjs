// A small stand-in for the host application: it plays a whole update against
// the real `Tessary Update` and reports what comes back.
//
//   node demo/host.mjs --dialog <path to Tessary Update> [--screenshots <folder>]
//
// On a desktop (DISPLAY set) you watch the dialog and press a button yourself.
// Without a display the host starts a virtual one, saves a screenshot of every
// state, and presses "Install & Relaunch" itself.
import { mkdirSync, mkdtempSync, rmSync } from "node:fs";
import { tmpdir } from "node:os";
import { dirname, join, resolve } from "node:path";
import { fileURLToPath } from "node:url";
import { parseArgs } from "node:util";
import { setTimeout as sleep } from "node:timers/promises";

import { RunningDialog, waitFor } from "../update-dialog/e2e/lib/dialog.mjs";
import { savePng } from "../update-dialog/e2e/lib/screen.mjs";
import { writeStatus } from "../update-dialog/e2e/lib/status_file.mjs";
import { startXvfb } from "../update-dialog/e2e/lib/xserver.mjs";

const here = dirname(fileURLToPath(import.meta.url));
const { values: options } = parseArgs({
  options: { dialog: { type: "string" }, screenshots: { type: "string" } },
});
if (!options.dialog) {
  console.error("usage: node demo/host.mjs --dialog <path to Tessary Update> [--screenshots <folder>]");
  process.exit(64);
}

const installed = "1.4.2";
const latest = "1.5.0";
const downloadSize = 48_318_382;
const secondsSinceEpoch = () => Date.now() / 1000;

// The update as the host application lives it: each step is a status to
// write and how long it stays before the next one.
function* updateSteps() {
  yield { name: "checking", status: { state: "checking" }, seconds: 1.5 };
  for (let percent = 0; percent <= 100; percent += 5) {
    const downloaded = Math.round((downloadSize * percent) / 100);
    yield {
      name: `downloading-${String(percent).padStart(3, "0")}`,
      status: { state: "downloading", latest, downloaded, total: downloadSize, progress: percent },
      seconds: 0.3,
      screenshot: percent % 50 === 0,
    };
  }
  yield { name: "verifying", status: { state: "verifying", latest }, seconds: 1.2 };
  yield { name: "extracting", status: { state: "extracting", latest }, seconds: 1.2 };
  yield { name: "available", status: { state: "available", latest }, seconds: 0 };
}

const headless = !process.env.DISPLAY;
const folder = mkdtempSync(join(tmpdir(), "tessary-demo-"));
const statusPath = join(folder, "update-status.json");
const screenshots = resolve(options.screenshots ?? join(here, "..", "build", "demo", "screenshots"));
const server = headless ? await startXvfb() : undefined;
const display = server?.display ?? process.env.DISPLAY;
process.env.TESSARY_UPDATE = resolve(options.dialog);

let dialog;
try {
  const startedAt = secondsSinceEpoch();
  const write = (status) => writeStatus(statusPath, { checkedAt: secondsSinceEpoch(), ...status });
  write({ state: "checking" });

  console.log(`Starting Tessary Update ${installed} ${headless ? `on the virtual display ${display}` : "on your desktop"}`);
  dialog = new RunningDialog(display, [statusPath, installed, join(here, "icon.png"), String(startedAt)]);
  // Only the virtual display is looked at; a desktop (perhaps Wayland) is left
  // to the person in front of it.
  const window = headless ? await dialog.window() : undefined;
  if (headless) mkdirSync(screenshots, { recursive: true });

  let shot = 0;
  for (const step of updateSteps()) {
    if (!dialog.running) break;
    write(step.status);
    if (step.screenshot !== false) console.log(`  status: ${step.name}`);
    if (headless && step.screenshot !== false) {
      await sleep(700);  // a few of the dialog's quarter-second ticks
      const path = join(screenshots, `${String(++shot).padStart(2, "0")}-${step.name}.png`);
      savePng(display, window, path);
    }
    await sleep(step.seconds * 1000);
  }

  if (headless && dialog.running) {
    await waitFor("the offer", async () => (await dialog.buttons()).length === 2);
    console.log('  pressing "Install & Relaunch"');
    await dialog.clickButton(0);
  } else if (dialog.running) {
    console.log('The dialog offers the update: press "Install & Relaunch" or "Later".');
  }

  const result = await dialog.waitForExit(headless ? 10_000 : 24 * 3600 * 1000);
  const line = result.stdout.toString();
  console.log(line ? `Install request: ${line.trimEnd()}` : "Install request: none");
  console.log(`Exit status: ${result.status ?? `signal ${result.signal}`}`);
  if (headless) console.log(`Screenshots: ${screenshots}`);
  process.exitCode = result.status === 0 ? 0 : 1;
} finally {
  await dialog?.stop();
  await server?.stop();
  rmSync(folder, { recursive: true, force: true });
}
