// Measures, on a headless sway of its own, how long the focus signal takes to
// give the dialog the keyboard focus (policy `focus`), and how long the
// compositor takes to answer each activation-token request (read from
// libwayland's WAYLAND_DEBUG trace of the dialog).
//
//   node update-dialog/e2e/measure/wayland_focus.mjs "build/default/update-dialog/backends/qt/Tessary Update" [rounds]
import { spawn } from "node:child_process";
import { mkdtempSync, rmSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { setTimeout as sleep } from "node:timers/promises";

import { startSway } from "../lib/sway.mjs";

const [binary, roundsText = "20"] = process.argv.slice(2);
if (!binary) throw new Error("usage: wayland_focus.mjs <Tessary Update> [rounds]");
const rounds = Number(roundsText);

const until = async (done) => {
  const deadline = Date.now() + 10000;
  while (!done()) {
    if (Date.now() > deadline) throw new Error("timed out");
    await sleep(2);
  }
};

const summary = (values) => {
  const sorted = [...values].sort((a, b) => a - b);
  const at = (q) => sorted[Math.min(sorted.length - 1, Math.floor(q * sorted.length))];
  const [min, median, max] = [sorted[0], at(0.5), sorted.at(-1)].map((value) => value.toFixed(2));
  return `n ${sorted.length}, min ${min}, median ${median}, max ${max} ms`;
};

const folder = mkdtempSync(join(tmpdir(), "tessary-measure-"));
const sway = await startSway();
try {
  sway.swaymsg("focus_on_window_activation", "focus");
  const status = join(folder, "status.json");
  writeFileSync(status, JSON.stringify({ checkedAt: 1e12, state: "available", latest: "2.0.0" }));
  const env = { ...process.env, ...sway.clientEnv, WAYLAND_DEBUG: "client" };
  delete env.QT_QPA_PLATFORM;
  const start = (args) => {
    const child = spawn(binary, args, { env, stdio: ["ignore", "ignore", "pipe"] });
    child.trace = "";
    child.stderr.setEncoding("utf8").on("data", (chunk) => (child.trace += chunk));
    return child;
  };
  const focused = (child) => sway.viewOf(child.pid)?.focused === true;

  const dialog = start([status, "1.2.3", "/nonexistent", "0"]);
  await until(() => focused(dialog));
  const other = start([join(folder, "missing.json"), "other", "/nonexistent", "0"]);
  await until(() => focused(other));

  const signalToFocus = [];
  for (let i = 0; i < rounds; i++) {
    sway.swaymsg(`[pid=${other.pid}]`, "focus");
    await until(() => !focused(dialog));
    const sent = process.hrtime.bigint();
    dialog.kill("SIGUSR1");
    await until(() => focused(dialog));
    signalToFocus.push(Number(process.hrtime.bigint() - sent) / 1e6);
  }
  await sleep(500);  // the rest of the trace
  const tokenRoundTrips = [];
  let asked;
  for (const line of dialog.trace.split("\n")) {
    const time = Number(line.match(/^\[\s*([\d.]+)\]/)?.[1]);
    if (line.includes(".get_activation_token(")) asked = time;
    else if (asked !== undefined && /xdg_activation_token_v1@\d+\.done\(/.test(line)) {
      tokenRoundTrips.push(time - asked);
      asked = undefined;
    }
  }
  console.log(`focus signal to keyboard focus: ${summary(signalToFocus)}`);
  console.log(`token request to the compositor's answer: ${summary(tokenRoundTrips)}`);
  dialog.kill();
  other.kill();
} finally {
  await sway.stop();
  rmSync(folder, { recursive: true, force: true });
}
