// Starts Tessary Service with a command line and environment that together come
// within a few hundred bytes of what the system lets a program receive (ARG_MAX),
// in three shapes: nearly all environment, nearly all arguments, half of each.
// Each time the runtime must receive exactly that command line and environment
// (less ELECTRON_RUN_AS_NODE), and nothing may be printed.
//
// Usage: node launcher_large_command_line.mjs <Tessary Service>
import assert from "node:assert/strict";
import { execFileSync, spawnSync } from "node:child_process";
import { createHash } from "node:crypto";
import { fileURLToPath } from "node:url";

const launcher = process.argv[2];
const probe = fileURLToPath(new URL("./launcher_probe.js", import.meta.url));
const argMax = execFileSync("getconf", ["ARG_MAX"]).toString().trim();
const longest = 100000; // below the kernel's limit for one string (128 KiB)

// Strings of varied letters filling `bytes` (each counted with its NUL).
function strings(bytes, prefix) {
  const out = [];
  let seed = bytes;
  while (bytes > 1) {
    const size = Math.min(longest, bytes - 1);
    let text = prefix + out.length + "=";
    while (text.length < size) text += String.fromCharCode(97 + ((seed = (seed * 1103515245 + 12345) & 0x7fffffff) % 26));
    out.push(text.slice(0, size));
    bytes -= size + 1;
  }
  return out;
}

// An environment (ELECTRON_RUN_AS_NODE first) and arguments of `total` bytes, `argumentShare` of them arguments.
function commandLine(total, argumentShare) {
  const argumentBytes = Math.floor(total * argumentShare);
  const env = { ELECTRON_RUN_AS_NODE: "1" };
  for (const entry of strings(total - argumentBytes, "STRESS_VARIABLE_")) {
    const cut = entry.indexOf("=");
    env[entry.slice(0, cut)] = entry.slice(cut + 1);
  }
  return { env, args: strings(argumentBytes, "argument-") };
}

const execs = (program, total, share) => {
  const { env, args } = commandLine(total, share);
  return !spawnSync(program, args, { env, stdio: "ignore" }).error;
};

// The largest total that /bin/true still receives, by bisection.
function limitFor(share) {
  let low = 0;
  let high = 4 * 1024 * 1024;
  while (high - low > 16) {
    const middle = Math.floor((low + high) / 2);
    if (execs("/bin/true", middle, share)) low = middle;
    else high = middle;
  }
  return low;
}

const sha = (text) => createHash("sha256").update(text).digest("hex");

for (const [name, share] of [["environment", 0.02], ["arguments", 0.98], ["half of each", 0.5]]) {
  // The launcher's own path is longer than /bin/true's, and the kernel counts it too.
  const total = limitFor(share) - (Buffer.byteLength(launcher) - "/bin/true".length) - 256;
  const { env, args } = commandLine(total, share);
  const result = spawnSync(launcher, [probe, "digest", ...args], {
    env,
    stdio: ["ignore", "pipe", "pipe", "pipe"],
    maxBuffer: 1 << 20,
  });
  assert.ifError(result.error);
  assert.equal(result.status, 0, `${name}: exit status`);
  assert.equal(result.stdout.length + result.stderr.length, 0, `${name}: printed ${result.stdout}${result.stderr}`);
  const received = JSON.parse(result.output[3].toString());
  const wantedCmdline = [launcher, probe, "digest", ...args].map((a) => a + "\0").join("");
  const wantedEnviron = Object.entries(env)
    .filter(([key]) => key !== "ELECTRON_RUN_AS_NODE")
    .map(([key, value]) => `${key}=${value}\0`)
    .join("");
  assert.equal(received.cmdline, sha(wantedCmdline), `${name}: the command line changed`);
  assert.equal(received.environ, sha(wantedEnviron), `${name}: the environment changed`);
  const bytes = Buffer.byteLength(wantedCmdline) + Buffer.byteLength(wantedEnviron) + "ELECTRON_RUN_AS_NODE=1".length + 1;
  console.log(
    `launcher, large command line (${name}): ${bytes} bytes in ${args.length + 2} arguments and ` +
      `${Object.keys(env).length} variables (ARG_MAX ${argMax}), received unchanged, nothing printed`,
  );
}
