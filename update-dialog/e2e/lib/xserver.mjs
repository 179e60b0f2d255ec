// A virtual display of the test's own: Xvfb picks a free display number and
// reports it through -displayfd, so tests can run side by side. -noreset keeps
// it from resetting (and refusing connections) whenever its last client leaves.
import { spawn } from "node:child_process";

export async function startXvfb({ windowManager = false } = {}) {
  const server = spawn("Xvfb", ["-displayfd", "3", "-screen", "0", "1280x800x24", "-nolisten", "tcp", "-noreset"], {
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
