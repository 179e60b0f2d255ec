// Tessary Update.exe against a bare Win32 dialog of the same controls, under
// Wine with a warm wineserver, on a display of its own with openbox: the time
// from the start to the window on screen (the window manager's MapNotify),
// memory once it has settled, and idle CPU with a determinate bar and with a
// marquee. Prints a Markdown table. Run by scripts/bench-windows, which sets
// up Wine and names the programs.
//
//   node update-dialog/e2e-windows/bench/measure.mjs [starts per program]
import { spawn } from "node:child_process";
import { once } from "node:events";
import { readFileSync, readdirSync } from "node:fs";
import { join } from "node:path";
import { setTimeout as sleep } from "node:timers/promises";

import { secondsNow, temporaryFolder, writeStatus } from "../../e2e/lib/status_file.mjs";
import { startXvfb } from "../../e2e/lib/xserver.mjs";
import { programs, requireWineEnvironment, spawnWine } from "../lib/wine.mjs";

const starts = Number(process.argv[2] ?? 20);
const clockTicks = 100; // USER_HZ on Linux: /proc/<pid>/stat counts in hundredths of a second

requireWineEnvironment();
// The size of scripts/wine-env's display, which Wine takes the monitor's from.
const server = await startXvfb({ windowManager: true, screen: "1024x768x24" });
const folder = temporaryFolder();

// Every window that the window manager maps on the root, with the time it was seen.
const mapped = [];
const watcher = spawn("stdbuf", ["-oL", "xev", "-root", "-event", "substructure"], {
  env: { ...process.env, DISPLAY: server.display },
  stdio: ["ignore", "pipe", "ignore"],
});
watcher.stdout.setEncoding("utf8");
let pendingMap = false;
let partial = "";
watcher.stdout.on("data", (chunk) => {
  const now = performance.now();
  partial += chunk;
  const lines = partial.split("\n");
  partial = lines.pop();
  for (const line of lines) {
    if (line.startsWith("MapNotify")) pendingMap = true;
    else if (pendingMap && /override NO/.test(line)) {
      mapped.push(now);
      pendingMap = false;
    } else if (pendingMap && /override YES/.test(line)) pendingMap = false;
  }
});
await sleep(500);

// The status files, written well before the starts: the dialog's first
// reading waits up to 75 ms for a file written a moment ago to settle, a wait
// of the reading rule's, not of the start.
const threshold = secondsNow() - 1;
const statusFiles = {};
for (const mode of ["determinate", "marquee"]) {
  statusFiles[mode] = join(folder.path, `status-${mode}.json`);
  writeStatus(statusFiles[mode], { checkedAt: threshold + 1, state: "downloading", latest: "2.0.0", ...(mode === "determinate" ? { progress: 42 } : {}) });
}
await sleep(200);

// The two programs, each in a given bar mode.
const kinds = {
  dialog: (mode) => {
    const statusPath = statusFiles[mode];
    return spawnWine(programs.dialog, [statusPath, "1.2.3", "/nonexistent/icon.png", String(threshold)], {
      display: server.display,
    });
  },
  bare: (mode) => spawnWine(programs.bareDialog, [mode], { display: server.display }),
};

async function end(child) {
  const exited = once(child, "exit");
  child.stdin?.end(); // the dialog takes the end of its input as Close
  const timer = setTimeout(() => child.kill(), 3000);
  await exited;
  clearTimeout(timer);
}

async function startToWindow(kind) {
  const seen = mapped.length;
  const started = performance.now();
  const child = kinds[kind]("determinate");
  child.stdout.resume();
  child.stderr.resume();
  while (mapped.length === seen) {
    if (child.exitCode !== null) throw new Error(`${kind} ended before its window was mapped`);
    await sleep(2);
  }
  const ms = mapped[seen] - started;
  await sleep(300);
  await end(child);
  await sleep(200);
  return ms;
}

const median = (values) => {
  const sorted = [...values].sort((a, b) => a - b);
  const middle = sorted.length >> 1;
  return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
};

const cpuTicks = (pid) => {
  const fields = readFileSync(`/proc/${pid}/stat`, "utf8").replace(/^.*\) /s, "").split(" ");
  return Number(fields[11]) + Number(fields[12]); // utime + stime
};

// The wineserver of this run's prefix.
function wineserverPid() {
  for (const entry of readdirSync("/proc")) {
    if (!/^\d+$/.test(entry)) continue;
    try {
      if (!readFileSync(`/proc/${entry}/cmdline`, "utf8").includes("wineserver")) continue;
      if (readFileSync(`/proc/${entry}/environ`, "utf8").split("\0").includes(`WINEPREFIX=${process.env.WINEPREFIX}`)) {
        return Number(entry);
      }
    } catch {
      // a process that ended meanwhile, or not ours to read
    }
  }
  return undefined;
}

const memoryOf = (pid) => {
  const field = (text, name) => Number(text.match(new RegExp(`^${name}:\\s+(\\d+) kB`, "m"))[1]);
  return {
    rss: field(readFileSync(`/proc/${pid}/status`, "utf8"), "VmRSS"),
    pss: field(readFileSync(`/proc/${pid}/smaps_rollup`, "utf8"), "Pss"),
  };
};

async function idle(kind, mode, seconds = 10) {
  const child = kinds[kind](mode);
  child.stdout.resume();
  child.stderr.resume();
  await sleep(3000); // up and settled
  const server = wineserverPid();
  const memory = memoryOf(child.pid);
  const before = [cpuTicks(child.pid), server ? cpuTicks(server) : 0];
  await sleep(seconds * 1000);
  const after = [cpuTicks(child.pid), server ? cpuTicks(server) : 0];
  await end(child);
  const percent = (i) => ((after[i] - before[i]) / clockTicks / seconds) * 100;
  return { memory, own: percent(0), wineserver: percent(1) };
}

try {
  // Warm the wineserver's caches and the disk for both programs first.
  for (let i = 0; i < 2; i++) for (const kind of ["dialog", "bare"]) await startToWindow(kind);
  const times = { dialog: [], bare: [] };
  for (let i = 0; i < starts; i++) for (const kind of ["dialog", "bare"]) times[kind].push(await startToWindow(kind));
  const idles = {};
  for (const kind of ["dialog", "bare"]) for (const mode of ["determinate", "marquee"]) idles[`${kind} ${mode}`] = await idle(kind, mode);

  const ms = (value) => `${Math.round(value)} ms`;
  const row = (cells) => `| ${cells.join(" | ")} |`;
  const names = { dialog: "Tessary Update.exe", bare: "bare Win32 dialog" };
  console.log(`Start to window on screen under Wine (warm wineserver, openbox), ${starts} starts each, interleaved:\n`);
  console.log(row(["Program", "median", "min", "max"]));
  console.log(row(["---", "---", "---", "---"]));
  for (const kind of ["dialog", "bare"]) {
    console.log(row([names[kind], ms(median(times[kind])), ms(Math.min(...times[kind])), ms(Math.max(...times[kind]))]));
  }
  console.log(`\nRatio of the medians: ${(median(times.dialog) / median(times.bare)).toFixed(2)}x (target at most 1.10x)\n`);
  console.log(row(["Program, bar", "resident", "proportional (PSS)", "idle CPU, own", "idle CPU, wineserver"]));
  console.log(row(["---", "---", "---", "---", "---"]));
  for (const [name, { memory, own, wineserver }] of Object.entries(idles)) {
    const [kind, mode] = name.split(" ");
    console.log(
      row([`${names[kind]}, ${mode}`, `${(memory.rss / 1024).toFixed(1)} MiB`, `${(memory.pss / 1024).toFixed(1)} MiB`, `${own.toFixed(1)} %`, `${wineserver.toFixed(1)} %`]),
    );
  }
} finally {
  watcher.kill();
  await server.stop();
  folder.remove();
}
