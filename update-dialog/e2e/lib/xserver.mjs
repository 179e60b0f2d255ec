// A virtual display of the test's own: Xvfb picks a free display number and
// reports it through -displayfd, so tests can run side by side. -noreset keeps
// it from resetting (and refusing connections) whenever its last client leaves.
import { spawn } from "node:child_process";

// Xvfb under a small watchdog: it ends the server when asked to (SIGTERM) and
// also when the test process is gone without asking, say killed at a time-out,
// so no server is left behind; the dialogs on it then end with it.
// The screen's size and depth come as the second argument (WIDTHxHEIGHTxDEPTH).
const watchdog = `
  Xvfb -displayfd 3 -screen 0 "$2" -nolisten tcp -noreset &
  server=$!
  trap 'kill $server 2>/dev/null; wait $server; exit 0' TERM
  while kill -0 "$1" 2>/dev/null && kill -0 $server 2>/dev/null; do sleep 0.5 & wait $!; done
  kill $server 2>/dev/null
  wait $server
`;

export async function startXvfb({ windowManager = false, screen = "1280x800x24" } = {}) {
  const server = spawn("sh", ["-c", watchdog, "xvfb-watchdog", String(process.pid), screen], {
    stdio: ["ignore", "ignore", "ignore", "pipe"],
  });
  const display = await new Promise((resolve, reject) => {
    let text = "";
    server.stdio[3].on("data", (chunk) => {
      text += chunk;
      if (text.includes("\n")) resolve(`:${text.trim()}`);
    });
    server.on("exit", (code) => reject(new Error(`Xvfb ended with status ${code}`)));
    server.on("error", reject);
  });
  const children = [server];
  if (windowManager) {
    const openbox = spawn("openbox", ["--sm-disable"], { env: { ...process.env, DISPLAY: display }, stdio: "ignore" });
    children.unshift(openbox);
    await new Promise((resolve) => setTimeout(resolve, 500));
  }
  return {
    display,
    async stop() {
      for (const child of children) {
        if (child.exitCode !== null || child.signalCode !== null) continue;
        const ended = new Promise((resolve) => child.once("exit", resolve));
        child.kill("SIGTERM");
        await ended;
      }
    },
  };
}
