// Screenshots of every state of Tessary Update.exe under Wine, at 96 and 144
// DPI, into docs/screenshots/windows/ (or the folder given). Each DPI runs one
// dialog through every state in turn, as a host does, so that each picture
// also shows what the relayout left behind (ghost text from stale bits, a
// clipped button); the first look is taken from a dialog of its own. Run by
// scripts/windows-screenshots, which sets up Wine and names the programs.
//
//   node update-dialog/e2e-windows/screenshots.mjs [folder]
import { execFileSync } from "node:child_process";
import { mkdirSync } from "node:fs";
import { join, resolve } from "node:path";
import { fileURLToPath } from "node:url";
import { setTimeout as sleep } from "node:timers/promises";

import { secondsNow, temporaryFolder, writeStatus } from "../e2e/lib/status_file.mjs";
import { startXvfb } from "../e2e/lib/xserver.mjs";
import { WindowsDialog } from "./lib/dialog.mjs";
import { setDpi } from "./lib/dpi.mjs";
import { Inspector } from "./lib/inspector.mjs";
import { requireWineEnvironment } from "./lib/wine.mjs";

const repository = fileURLToPath(new URL("../..", import.meta.url));
const out = resolve(process.argv[2] ?? join(repository, "docs/screenshots/windows"));

const longError = [
  "Error: EACCES: permission denied, rename 'C:\\Users\\Ada\\AppData\\Local\\tessary-updater\\pending\\update.exe'",
  ...Array.from({ length: 14 }, (_, i) => `    at stage${i} (C:\\Program Files\\Tessary\\resources\\app.asar\\updater\\stage.js:${i}:17)`),
].join("\n");

// In the order a host shows them; the name is the picture's.
const states = [
  ["checking", { state: "checking" }],
  ["downloading", { state: "downloading", latest: "2.0.0", downloaded: 44_040_192, total: 104_857_600, progress: 42 }],
  ["verifying", { state: "verifying", message: "Checking the signature of Tessary 2.0.0" }],
  ["extracting", { state: "extracting", progress: 80 }],
  ["available", { state: "available", latest: "2.0.0" }],
  ["waiting-for-agents", { state: "waiting-for-agents", latest: "2.0.0" }],
  ["installing", { state: "installing" }],
  ["updated", { state: "updated", message: "Tessary 2.0.0 is installed." }],
  ["up-to-date", { state: "up-to-date" }],
  ["error", { state: "error", message: "The download was interrupted. Tessary will try again later." }],
  ["release-unavailable", { state: "release-unavailable", message: "Release 2.0.0 is no longer offered." }],
  ["recovery-required", { state: "recovery-required", message: "Reinstall Tessary from tessary.example to recover." }],
  ["error-long-message", { state: "error", message: longError }],
  ["unknown-state", { state: "paused", message: "A state the dialog does not know" }],
  ["scripts", { state: "error", message: "Ελληνικά · Русский · עברית · العربية · हिन्दी · ไทย · 中文 · 日本語 · 한국어" }],
];

requireWineEnvironment();
mkdirSync(out, { recursive: true });
// The size of scripts/wine-env's display, which Wine takes the monitor's from.
const server = await startXvfb({ windowManager: true, screen: "1024x768x24" });
const inspector = new Inspector(server.display);
const folder = temporaryFolder();
const icon = join(folder.path, "icon.png");
// A plain icon of the tests' own: a blue disc on transparency.
execFileSync("convert", ["-size", "64x64", "xc:none", "-fill", "#2f6fd6", "-draw", "circle 32,32 32,4", `png:${icon}`]);

let count = 0;
function start(status) {
  const match = `status-${++count}`;
  const statusPath = join(folder.path, `${match}.json`);
  if (status) writeStatus(statusPath, { checkedAt: secondsNow(), ...status });
  const dialog = new WindowsDialog({
    display: server.display,
    inspector,
    args: [statusPath, "1.2.3", icon, String(secondsNow() - 1)],
    match,
  });
  dialog.writeStatus = (next) => writeStatus(statusPath, { checkedAt: secondsNow(), ...next });
  return dialog;
}

const expectedHeadline = (status) => ({
  checking: "Checking for updates…",
  downloading: `Downloading Tessary ${status.latest ?? ""}…`,
  verifying: "Verifying the update…",
  extracting: "Preparing the update…",
  available: `Tessary ${status.latest} is available`,
  "waiting-for-agents": `Tessary ${status.latest} is available`,
  installing: "Installing and relaunching Tessary…",
  updated: "Tessary is updated",
  "up-to-date": "Tessary is up to date",
  error: "Tessary couldn’t update",
  "release-unavailable": "Tessary couldn’t update",
  "recovery-required": "Tessary couldn’t update",
})[status.state] ?? "Checking for updates…";

try {
  for (const dpi of [96, 144]) {
    setDpi(dpi, server.display);
    const first = start();
    await first.waitForLook("the first look");
    await sleep(700);
    await first.savePng(join(out, `first-look-${dpi}dpi.png`));
    first.endInput();
    await first.waitForExit();

    const dialog = start({ state: "checking" });
    for (const [name, status] of states) {
      dialog.writeStatus(status);
      await dialog.waitForLook(name, (look) => look.headline === expectedHeadline(status) && (status.message === undefined || look.detail?.startsWith(status.message.slice(0, 20)) || ["up-to-date", "available", "waiting-for-agents", "downloading"].includes(status.state)));
      await sleep(700); // a tick and a paint later
      const path = join(out, `${name}-${dpi}dpi.png`);
      await dialog.savePng(path);
      console.log(path);
    }
    dialog.endInput();
    await dialog.waitForExit();
  }
} finally {
  setDpi(96, server.display);
  await inspector.stop();
  execFileSync("xdotool", ["keyup", "Return", "Escape", "space", "Tab"], { env: { ...process.env, DISPLAY: server.display } });
  await server.stop();
  folder.remove();
}
