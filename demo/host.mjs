// A small stand-in for the host application: it plays a whole update against
// the real `Tessary Update` through the host module and reports the answer.
//
//   node demo/host.mjs --dialog <path to Tessary Update> [--screenshots <folder>]
//
// On a desktop (DISPLAY set) you watch the dialog and press a button yourself.
// Without a display the host starts a virtual one, saves a screenshot of every
// state, and presses "Install & Relaunch" itself.
import { mkdirSync } from "node:fs";
import { dirname, join, resolve } from "node:path";
import { fileURLToPath } from "node:url";
import { parseArgs } from "node:util";
import { setTimeout as sleep } from "node:timers/promises";

import { openUpdateDialog } from "../host/index.mjs";
import { clickButton, dialogWindow, waitForButtons } from "../host/test/support/desktop.mjs";
import { savePng } from "../update-dialog/e2e/lib/screen.mjs";
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

// The update as the host application lives it: each step is a status to
// show and how long it stays before the next one.
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
const screenshots = resolve(options.screenshots ?? join(here, "..", "build", "demo", "screenshots"));
const server = headless ? await startXvfb() : undefined;
const display = server?.display ?? process.env.DISPLAY;

let dialog;
try {
  console.log(`Starting Tessary Update ${installed} ${headless ? `on the virtual display ${display}` : "on your desktop"}`);
  dialog = openUpdateDialog({
    executable: resolve(options.dialog),
    installed,
    icon: join(here, "icon.png"),
    env: { ...process.env, DISPLAY: display },
  });
  const answer = dialog.result.then(
    (result) => ({ result }),
    (error) => ({ error }),
  );
  dialog.focus();
  // Only the virtual display is looked at; a desktop (perhaps Wayland) is left
  // to the person in front of it.
  const window = headless ? await dialogWindow(display, dialog) : undefined;
  if (headless) mkdirSync(screenshots, { recursive: true });

  let shot = 0;
  for (const step of updateSteps()) {
    if (dialog.ended) break;
    dialog.show(step.status);
    if (step.screenshot !== false) console.log(`  status: ${step.name}`);
    if (headless && step.screenshot !== false) {
      await sleep(700); // a few of the dialog's quarter-second readings
      savePng(display, window, join(screenshots, `${String(++shot).padStart(2, "0")}-${step.name}.png`));
    }
    await sleep(step.seconds * 1000);
  }

  if (headless && !dialog.ended) {
    await waitForButtons(display, dialog, 2);
    console.log('  pressing "Install & Relaunch"');
    await clickButton(display, dialog, 0);
  } else if (!dialog.ended) {
    console.log('The dialog offers the update: press "Install & Relaunch" or "Later".');
  }

  const { result, error } = await answer;
  if (error) throw error;
  console.log(result === "install" ? 'Install request: {"action":"install"}' : "Install request: none");
  console.log("Exit status: 0");
  if (headless) console.log(`Screenshots: ${screenshots}`);
} catch (error) {
  console.error(`The demo failed: ${error.message}`);
  process.exitCode = 1;
} finally {
  await dialog?.close();
  await server?.stop();
}
